#pragma once

namespace tarvell {

// Names the application, its version and desktop entry, and gives it its icon. Called once,
// right after the QApplication exists, by the program and by anything that measures it.
void setUpApplication();

} // namespace tarvell
