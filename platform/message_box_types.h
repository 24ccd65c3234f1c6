#pragma once
// The handheld's message box styles and answers (MessageBox's type flags and
// the IDOK... commands), and the sound types of MessageBeep, which share the
// icon values.

#include <cstdint>

namespace platform::mb {

// Buttons.
inline constexpr uint32_t kOk = 0x0;
inline constexpr uint32_t kOkCancel = 0x1;
inline constexpr uint32_t kAbortRetryIgnore = 0x2;
inline constexpr uint32_t kYesNoCancel = 0x3;
inline constexpr uint32_t kYesNo = 0x4;
inline constexpr uint32_t kRetryCancel = 0x5;
inline constexpr uint32_t kTypeMask = 0xF;

// Icons, and the beeps of the same names.
inline constexpr uint32_t kIconStop = 0x10;
inline constexpr uint32_t kIconQuestion = 0x20;
inline constexpr uint32_t kIconExclamation = 0x30;
inline constexpr uint32_t kIconInformation = 0x40;
inline constexpr uint32_t kIconMask = 0xF0;
// MessageBeep's plain beep.
inline constexpr uint32_t kSimpleBeep = 0xFFFFFFFF;

// Answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

}  // namespace platform::mb
