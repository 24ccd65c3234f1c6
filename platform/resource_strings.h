#pragma once
// String tables of a compiled resource file. Strings are kept in blocks of
// sixteen: string number n lies in the string resource named n / 16 + 1, as
// its (n % 16)-th entry. A block's data is sixteen entries in a row, each a
// 16-bit count of UTF-16 units followed by that many units (no terminator).
// An entry with the count 0 is a number the block does not define; the
// compiled format cannot tell it from an empty string, so both are absent.

#include <cstdint>

#include "base/text.h"
#include "platform/resource_file.h"

namespace platform {

inline constexpr uint32_t kStringsPerBlock = 16;
// String numbers are 16-bit, as resource numbers are.
inline constexpr uint32_t kMaxStringNumber = 0xFFFF;

enum class StringLookup {
  Found,
  NoStringTables,  // the file holds no string resource at all
  NotDefined,      // no block for the number, or the block leaves it out
  Malformed,       // the block's entries run past its data
};

// The block that holds a string number.
constexpr uint16_t StringBlockName(uint32_t number) {
  return static_cast<uint16_t>(number / kStringsPerBlock + 1);
}

// Finds string `number`; out holds its text when the result is Found and is
// left alone otherwise.
StringLookup FindString(const ResourceFile& file, uint32_t number, WString& out);

// Checks that every string block's entries lie within its data (trailing
// bytes after the sixteenth entry are allowed); the first bad block is
// described in *error.
bool CheckStringTables(const ResourceFile& file, ResourceFileError* error);

}  // namespace platform
