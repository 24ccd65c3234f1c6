#pragma once
// Conversion between the device's 8-bit ANSI code page and UTF-16, through
// ICU converters. Every 8-bit text of the handheld (ini-style files, 8-bit
// archive texts, the narrowed credential key) passes through here.

#include <string>
#include <string_view>

#include "base/text.h"

namespace platform {

// The ANSI code page of the current device (device.ini, default 1252).
unsigned DeviceCodePage();

// Whether ICU has a converter for the Windows code page.
bool IsCodePageSupported(unsigned codePage);

// MultiByteToWideChar: bytes without a mapping become U+FFFD.
WString MultiByteToWide(unsigned codePage, std::string_view bytes);
// WideCharToMultiByte: characters without a mapping become '?'; *lossy tells
// whether that happened.
std::string WideToMultiByte(unsigned codePage, WStringView text, bool* lossy = nullptr);

// The same in the device's code page.
WString AnsiToWide(std::string_view bytes);
std::string WideToAnsi(WStringView text, bool* lossy = nullptr);

}  // namespace platform
