#pragma once
// One registry value: a name, a type and the bytes the handheld stores.
//
//   REG_SZ, REG_EXPAND_SZ  UTF-16LE text with its terminating zero unit
//   REG_DWORD              4 bytes, little-endian
//   REG_MULTI_SZ           each text with its zero unit, then one more zero
//   REG_BINARY, others     the bytes as they are
//
// The typed makers and readers below are the only place these byte forms
// are written or read.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"

namespace platform {

// Value types, with the handheld's numbers.
enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

struct RegistryValue {
  WString name;
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;

  static RegistryValue String(WString name, WStringView text);
  static RegistryValue Dword(WString name, uint32_t value);
  static RegistryValue MultiString(WString name, const std::vector<WString>& texts);
  static RegistryValue Binary(WString name, std::vector<uint8_t> bytes);

  // A REG_DWORD of exactly 4 bytes.
  std::optional<uint32_t> AsDword() const;
  // A REG_SZ or REG_EXPAND_SZ, up to its first zero unit.
  std::optional<WString> AsString() const;
  // A REG_MULTI_SZ.
  std::optional<std::vector<WString>> AsMultiString() const;
};

// The byte forms themselves, for callers that hold bytes without a value.
std::vector<uint8_t> EncodeRegistryString(WStringView text);
std::vector<uint8_t> EncodeRegistryMultiString(const std::vector<WString>& texts);
std::vector<uint8_t> EncodeRegistryDword(uint32_t value);
// Reads a REG_SZ: up to the first zero; a missing terminator is tolerated.
WString DecodeRegistryString(const std::vector<uint8_t>& data);
// The texts up to the closing empty one (or the end of the data).
std::vector<WString> DecodeRegistryMultiString(const std::vector<uint8_t>& data);

}  // namespace platform
