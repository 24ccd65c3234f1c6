#pragma once
// MessageBeep: the handheld plays the sound of a message box type. Here the
// sound is a journal line, as nothing else would show it:
//
//   beep exclamation

#include <cstdint>

namespace platform {

// type is one of mb's icon values, or mb::kSimpleBeep. Always true.
bool MessageBeep(uint32_t type);

}  // namespace platform
