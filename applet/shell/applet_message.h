#pragma once
// The applet's message boxes: the text is a string of the current resource
// source (the applet's resource library), "%1" in it replaced by the insert,
// and the caption is the application's name (string 65083).
//
// This is the one place the applet asks its questions from. On a device
// without a screen the box is answered from the device's answer queue
// (platform/queued_message_box.h); the window system shows it on a screen.

#include <cstdint>

#include "base/text.h"

namespace applet {

inline constexpr uint32_t kApplicationNameString = 65083;

// Returns the answer (platform::mb::kIdYes, ...); type holds the buttons
// and icon (platform::mb).
int ShowAppletMessage(uint32_t textNumber, uint32_t type, platform::WStringView insert = {});

// Replaces every "%1" of text by insert.
platform::WString InsertArgument(platform::WStringView text, platform::WStringView insert);

}  // namespace applet
