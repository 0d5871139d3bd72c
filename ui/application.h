#pragma once

namespace tarvell {

// Names the application, its version and desktop entry, gives it its icon and loads Qt's own
// translations. Called once, right after the QApplication exists, by the program and by
// anything that measures it.
void setUpApplication();

// Loads Qt's translations of its own words (a message box's buttons, for instance) for the
// default locale, replacing those loaded before; none for a locale Qt has no translation for.
void loadQtTranslations();

} // namespace tarvell
