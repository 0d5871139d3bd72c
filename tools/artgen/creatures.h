#pragma once

#include "emblems.h"

namespace artgen {

// Animal emblems; same coordinate conventions as drawEmblem().
void drawWolf(QPainter &p, const EmblemColours &c);
void drawCalf(QPainter &p, const EmblemColours &c);
void drawPaw(QPainter &p, const EmblemColours &c);
void drawHornet(QPainter &p, const EmblemColours &c);
void drawClaws(QPainter &p, const EmblemColours &c);
void drawHawk(QPainter &p, const EmblemColours &c);
void drawBobcat(QPainter &p, const EmblemColours &c);
void drawBull(QPainter &p, const EmblemColours &c);
void drawAntlers(QPainter &p, const EmblemColours &c);

} // namespace artgen
