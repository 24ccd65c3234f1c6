#pragma once
// Builds compiled resource files byte by byte for the resource tests, so
// each test states exactly the records it feeds the parser.

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_writer.h"
#include "platform/resource_file.h"

namespace test_support {

// Little-endian pieces.
inline void PutU16(std::string& out, uint16_t v) {
  platform::ByteWriter bytes;
  bytes.U16(v);
  out += bytes.View();
}

inline void PutU32(std::string& out, uint32_t v) {
  platform::ByteWriter bytes;
  bytes.U32(v);
  out += bytes.View();
}

inline void PadTo4(std::string& out) {
  while (out.size() % 4 != 0) out.push_back('\0');
}

inline void PutId(std::string& out, const platform::ResourceId& id) {
  if (id.IsNumber()) {
    PutU16(out, 0xFFFF);
    PutU16(out, id.Number());
    return;
  }
  for (char16_t c : id.Name()) PutU16(out, c);
  PutU16(out, 0);
}

// One record: header (sizes, type, name, padding, fixed fields), data and
// the padding after it.
inline std::string ResRecord(const platform::ResourceId& type, const platform::ResourceId& name,
                             const std::string& data, uint16_t language = 0x0409) {
  std::string header;
  PutId(header, type);
  PutId(header, name);
  while ((header.size() + 8) % 4 != 0) header.push_back('\0');
  PutU32(header, 0);       // DataVersion
  PutU16(header, 0x1030);  // MemoryFlags: moveable, pure, discardable
  PutU16(header, language);
  PutU32(header, 0);  // Version
  PutU32(header, 0);  // Characteristics
  std::string out;
  PutU32(out, static_cast<uint32_t>(data.size()));
  PutU32(out, static_cast<uint32_t>(header.size() + 8));
  out += header;
  out += data;
  PadTo4(out);
  return out;
}

// The empty record that every 32-bit resource file starts with.
inline std::string ResLeadRecord() { return ResRecord(uint16_t{0}, uint16_t{0}, "", 0); }

class ResBuilder {
 public:
  ResBuilder() : bytes_(ResLeadRecord()) {}
  ResBuilder& Add(const platform::ResourceId& type, const platform::ResourceId& name,
                  const std::string& data, uint16_t language = 0x0409) {
    bytes_ += ResRecord(type, name, data, language);
    return *this;
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// A string block's data: sixteen entries, the given ones at their index
// (number % 16), the others empty.
inline std::string StringBlock(std::initializer_list<std::pair<int, std::u16string>> strings) {
  std::vector<std::u16string> entries(16);
  for (const auto& [number, text] : strings) entries[static_cast<size_t>(number % 16)] = text;
  std::string out;
  for (const auto& text : entries) {
    PutU16(out, static_cast<uint16_t>(text.size()));
    for (char16_t c : text) PutU16(out, c);
  }
  return out;
}

struct IconEntryFields {
  uint8_t width;
  uint8_t height;
  uint16_t bitCount;
  uint16_t imageId;
};

// A group-icon directory naming the given images.
inline std::string IconDirectory(std::initializer_list<IconEntryFields> entries) {
  std::string out;
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // icon
  PutU16(out, static_cast<uint16_t>(entries.size()));
  for (const auto& e : entries) {
    out.push_back(static_cast<char>(e.width));
    out.push_back(static_cast<char>(e.height));
    out.push_back(0);  // colour count
    out.push_back(0);  // reserved
    PutU16(out, 1);    // planes
    PutU16(out, e.bitCount);
    PutU32(out, 48);  // bytes in the image; not used for the choice
    PutU16(out, e.imageId);
  }
  return out;
}

// A whole file of the build (a compiled fixture), or empty when missing.
inline std::string ReadBinaryFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace test_support
