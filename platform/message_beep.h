#pragma once
// MessageBeep: the handheld plays the sound of a message box type. Here the
// sound is a journal line, as nothing else would show it:
//
//   beep exclamation

#include <cstdint>

namespace platform {

// MessageBeep's plain beep, in place of a message box icon.
inline constexpr uint32_t kSimpleBeep = 0xFFFFFFFF;

// type is a message box icon (MB_ICONEXCLAMATION, ...), or kSimpleBeep.
// Always true.
bool MessageBeep(uint32_t type);

}  // namespace platform
