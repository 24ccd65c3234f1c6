#include "base/registry_value.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace platform {

std::vector<uint8_t> EncodeRegistryString(WStringView text) {
  ByteWriter out;
  out.Utf16(text);
  out.U16(0);
  return out.Take();
}

std::vector<uint8_t> EncodeRegistryMultiString(const std::vector<WString>& texts) {
  ByteWriter out;
  for (const WString& text : texts) {
    out.Utf16(text);
    out.U16(0);
  }
  out.U16(0);
  return out.Take();
}

std::vector<uint8_t> EncodeRegistryDword(uint32_t value) {
  ByteWriter out;
  out.U32(value);
  return out.Take();
}

WString DecodeRegistryString(const std::vector<uint8_t>& data) {
  ByteReader in(data);
  WString text;
  if (!in.Utf16UntilZero(text)) in.Utf16(in.Left() / 2, text);
  return text;
}

std::vector<WString> DecodeRegistryMultiString(const std::vector<uint8_t>& data) {
  ByteReader in(data);
  std::vector<WString> texts;
  WString text;
  while (in.Utf16UntilZero(text)) {
    if (text.empty()) return texts;  // the closing empty text
    texts.push_back(std::move(text));
  }
  // A last text without its zero still counts.
  if (in.Utf16(in.Left() / 2, text) && !text.empty()) texts.push_back(std::move(text));
  return texts;
}

RegistryValue RegistryValue::String(WString name, WStringView text) {
  return {std::move(name), kRegSz, EncodeRegistryString(text)};
}

RegistryValue RegistryValue::Dword(WString name, uint32_t value) {
  return {std::move(name), kRegDword, EncodeRegistryDword(value)};
}

RegistryValue RegistryValue::MultiString(WString name, const std::vector<WString>& texts) {
  return {std::move(name), kRegMultiSz, EncodeRegistryMultiString(texts)};
}

RegistryValue RegistryValue::Binary(WString name, std::vector<uint8_t> bytes) {
  return {std::move(name), kRegBinary, std::move(bytes)};
}

std::optional<uint32_t> RegistryValue::AsDword() const {
  uint32_t value = 0;
  if (type != kRegDword || data.size() != 4 || !ByteReader(data).U32(value)) return std::nullopt;
  return value;
}

std::optional<WString> RegistryValue::AsString() const {
  if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
  return DecodeRegistryString(data);
}

std::optional<std::vector<WString>> RegistryValue::AsMultiString() const {
  if (type != kRegMultiSz) return std::nullopt;
  return DecodeRegistryMultiString(data);
}

}  // namespace platform
