#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace tarvell::fuzz {

// Called once from LLVMFuzzerInitialize. Starts the GUI application that decoding pictures and
// laying out text need (for fonts, as in the real program), on the offscreen platform unless
// another is set, with Qt's complaints about broken input silenced: broken input is the point,
// and the complaints only slow the run down.
void startApplication(const char *name);

// The fuzzer's input, not copied: it lives as long as the call it came with.
QByteArray inputBytes(const std::uint8_t *data, std::size_t size);

} // namespace tarvell::fuzz
