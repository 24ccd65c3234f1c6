#pragma once
// Registered window messages (RegisterWindowMessage): a name gives a message
// number from 0xC000 to 0xFFFF, the same number for the same name (letter
// case aside) in every process of the device, as the handheld keeps one
// table for the whole system. The table is the device root's
// "messages.txt", one "number name" line per message, changed under the
// lock ".messages.lock":
//
//   C000 VELMsingleInstanceMsg
//
// A device without a root keeps the table in the process.

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "platform/windows/window_messages.h"

namespace platform {

inline constexpr size_t kMaxMessageNameLength = 255;

// The message's number; 0, with the last error set, for an empty or
// over-long name or one holding a control character
// (kErrorInvalidParameter), a full table (kErrorNotEnoughMemory) or a table
// that cannot be read or written.
uint32_t RegisterDeviceMessage(WStringView name);
// The name a number was registered under.
std::optional<WString> RegisteredMessageName(uint32_t number);

}  // namespace platform
