#pragma once

#include "emblems.h"

namespace artgen {

// Emblems that are made things rather than animals or nature; same conventions as drawEmblem().
void drawRocket(QPainter &p, const EmblemColours &c);
void drawSpur(QPainter &p, const EmblemColours &c);
void drawClipper(QPainter &p, const EmblemColours &c);
void drawCanoe(QPainter &p, const EmblemColours &c);
void drawSwords(QPainter &p, const EmblemColours &c);
void drawCrown(QPainter &p, const EmblemColours &c);
void drawNet(QPainter &p, const EmblemColours &c);
void drawSkyline(QPainter &p, const EmblemColours &c);
void drawBell(QPainter &p, const EmblemColours &c);
void drawHelmet(QPainter &p, const EmblemColours &c);
void drawPiston(QPainter &p, const EmblemColours &c);
void drawFootprints(QPainter &p, const EmblemColours &c);

} // namespace artgen
