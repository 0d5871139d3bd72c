#pragma once

#include <optional>

namespace tarvell {

// Answers --help, --version and bad arguments before any QApplication exists, so none of them
// needs a display. Returns the exit code when the program should stop there, or nothing when the
// window should start; Qt's own options are accepted and left in argv for QApplication to read.
std::optional<int> answerCommandLine(int argc, char *argv[]);

} // namespace tarvell
