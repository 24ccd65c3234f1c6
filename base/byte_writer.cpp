#include "base/byte_writer.h"

namespace platform {

namespace {

template <typename T>
void StoreLittleEndian(T value, uint8_t* p) {
  for (size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool ByteWriter::Room(size_t n) {
  if (n > limit_ || bytes_.size() > limit_ - n) {
    failed_ = true;
    return false;
  }
  return true;
}

template <typename T>
bool ByteWriter::Number(T value) {
  if (!Room(sizeof(T))) return false;
  bytes_.resize(bytes_.size() + sizeof(T));
  StoreLittleEndian(value, bytes_.data() + bytes_.size() - sizeof(T));
  return true;
}

template <typename T>
bool ByteWriter::Patch(size_t offset, T value) {
  if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
    failed_ = true;
    return false;
  }
  StoreLittleEndian(value, bytes_.data() + offset);
  return true;
}

bool ByteWriter::U8(uint8_t value) { return Number(value); }
bool ByteWriter::U16(uint16_t value) { return Number(value); }
bool ByteWriter::U32(uint32_t value) { return Number(value); }
bool ByteWriter::U64(uint64_t value) { return Number(value); }

bool ByteWriter::Bytes(std::span<const uint8_t> bytes) {
  if (!Room(bytes.size())) return false;
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return true;
}

bool ByteWriter::Bytes(std::string_view bytes) {
  return Bytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

bool ByteWriter::Utf16(WStringView text) {
  if (text.size() > kNoLimit / 2 || !Room(text.size() * 2)) return false;
  bytes_.reserve(bytes_.size() + text.size() * 2);
  for (char16_t c : text) Number(static_cast<uint16_t>(c));
  return true;
}

bool ByteWriter::Zeros(size_t n) {
  if (!Room(n)) return false;
  bytes_.resize(bytes_.size() + n, 0);
  return true;
}

bool ByteWriter::PatchU16(size_t offset, uint16_t value) { return Patch(offset, value); }
bool ByteWriter::PatchU32(size_t offset, uint32_t value) { return Patch(offset, value); }

}  // namespace platform
