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
// line number; nothing is guessed.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry_tree.h"

namespace platform {

struct RegistryParseError {
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
