#pragma once
// The registry's text form: the regedit export syntax, in UTF-8.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\SOFTWARE\ORLO\GSM/GPRS Settings\Settings]
//   "HardReset"="N"                      REG_SZ, '\' and '"' escaped with '\'
//   @="default value"                    the unnamed value
//   "Group"=dword:00000002               REG_DWORD, 8 lower-case hex digits
//   "DevCfg"=hex:01,02,ff                REG_BINARY
//   "List"=hex(7):41,00,00,00,00,00      REG_MULTI_SZ (UTF-16LE bytes)
//   "Odd"=hex(1):41,00                   any type as bytes: hex(N)
//
// Every key is written as its own section, parents before children, subkeys
// in the tree's order; values follow their section in their own order, and a
// blank line ends each section. Long hex data continues on the next line
// after a trailing '\', indented by two blanks. A REG_SZ value that is not
// clean text (missing or embedded terminator, odd length, control
// characters, unpaired surrogates) is written losslessly as hex(1), and so is
// a REG_DWORD whose size is not 4 as hex(4).
//
// The reader also accepts the "REGEDIT4" header, a UTF-8 byte order mark,
// CR LF line ends, comment lines starting with ';', "[-KEY]" (delete a key)
// and "name"=- (delete a value). Any other line is an error reported with its
// line number and kind; nothing is guessed. A damaged file is refused rather
// than read with changed data: a dword needs all 8 digits, a hex byte both of
// its digits, and every line must be well-formed UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/registry_tree.h"

namespace platform {

enum class RegistryParseStatus {
  Ok,
  BadHeader,        // no header line, or not one of the two headers
  InvalidUtf8,      // a line that is not well-formed UTF-8
  BadSection,       // a [key] line without ']' or with text after it
  BadKeyName,       // an empty key path, an unknown hive, a bad or too deep key name
  ValueOutsideKey,  // a value before any [key] section, or after a [-key]
  BadValueLine,     // not "name"=, @= or a section; no '='; an invalid value name
  BadQuoted,        // a missing closing quote, an unknown escape, text after the quote
  BadDword,         // dword: without exactly 8 hexadecimal digits
  BadHex,           // a hex byte without exactly 2 digits, a trailing ',', a bad hex(N)
  DataTooLarge,     // value data above kMaxValueDataSize
  Truncated,        // the file ends where a continuation line was announced
  UnknownData,      // value data of no known form
};

struct RegistryParseError {
  RegistryParseStatus status = RegistryParseStatus::Ok;
  size_t line = 0;
  std::string message;
};

inline constexpr std::string_view kRegistryHeader = "Windows Registry Editor Version 5.00";

// Parses text into tree (which is added to, as importing a file would).
bool ParseRegistryText(std::string_view text, RegistryTree& tree, RegistryParseError* error);

// The whole tree, with the header.
std::string FormatRegistryText(const RegistryTree& tree);
// One key with its subkeys, with the header; path is below the hive's root.
std::string FormatRegistryKey(const RegistryTree& tree, Hive hive,
                              const std::vector<WString>& path);

}  // namespace platform
