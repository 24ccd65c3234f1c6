#pragma once
// The applet's message boxes: the text is a string of the current resource
// source (the applet's resource library), "%1" in it replaced by the insert,
// and the caption is the application's name (string 65083).
//
// This is the one place the applet asks its questions from. On a device
// without a screen nobody answers and the box takes the device's queued
// answer (platform/windows/message_box.h).

#include <cstdint>

#include "base/text.h"

namespace applet {

inline constexpr uint32_t kApplicationNameString = 65083;

// Returns the answer (platform::IDYES, ...); type holds the buttons and
// icon (platform::MB_YESNO, MB_ICONQUESTION, ...).
int ShowAppletMessage(uint32_t textNumber, uint32_t type, platform::WStringView insert = {});

// Replaces every "%1" of text by insert.
platform::WString InsertArgument(platform::WStringView text, platform::WStringView insert);

}  // namespace applet
