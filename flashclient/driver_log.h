#pragma once
// The driver's diagnostic log. While logging is on, the first line opens a
// file in the current directory named after the local time,
// "drk<month><day><year>_<hour><minute><second>.log" (8 February 2005
// 14:03:07 gives drk282005_140307.log), truncating a file of that name, and
// starts it with a header line; each line carries the time, the text and a
// value printed as an unsigned 32-bit number (-1 reads 4294967295).
// LogClose ends the file with a footer; the next line starts a new file.
// The file is written in text mode, so on Windows every "\n" below reaches
// the file as CR LF (and the stamp's own "\r\n" as CR CR LF).
//
//   DRKClient_Driver executed 2/8/2005 14:03:07 \r\n\n
//   14:03:07 Client_Initialize called: 0\n
//   DRKClient_Driver completed 2/8/2005 14:03:09 \r\n\n
//
// With logging off both calls do nothing.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"

namespace drkclient {

void LogLine(std::string_view text, uint32_t value);
inline void LogLine(std::string_view text, int32_t value) { LogLine(text, static_cast<uint32_t>(value)); }
void LogClose();

// The pieces of the format, for tests.
std::string LogFileNameFor(const platform::SystemTime& t);
std::string LogDateStamp(const platform::SystemTime& t);

}  // namespace drkclient
