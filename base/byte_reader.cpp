#include "base/byte_reader.h"

#include <algorithm>

namespace platform {

namespace {

template <typename T>
T LoadLittleEndian(const uint8_t* p) {
  T value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(static_cast<T>(p[i]) << (8 * i));
  return value;
}

template <typename T>
bool ReadNumber(const uint8_t* p, T& out) {
  out = p != nullptr ? LoadLittleEndian<T>(p) : T{0};
  return p != nullptr;
}

}  // namespace

bool ByteReader::FailAt(size_t offset) {
  if (!failed_) {
    failed_ = true;
    failedAt_ = offset;
  }
  return false;
}

const uint8_t* ByteReader::Take(size_t n) {
  if (n > Left()) {
    FailAt(Offset());
    return nullptr;
  }
  const uint8_t* p = bytes_.data() + pos_;
  pos_ += n;
  return p;
}

bool ByteReader::U8(uint8_t& out) { return ReadNumber(Take(1), out); }
bool ByteReader::U16(uint16_t& out) { return ReadNumber(Take(2), out); }
bool ByteReader::U32(uint32_t& out) { return ReadNumber(Take(4), out); }
bool ByteReader::U64(uint64_t& out) { return ReadNumber(Take(8), out); }

bool ByteReader::Bytes(size_t n, std::span<const uint8_t>& out) {
  const uint8_t* p = Take(n);
  out = p != nullptr ? std::span(p, n) : std::span<const uint8_t>();
  return p != nullptr;
}

bool ByteReader::CopyTo(std::span<uint8_t> out) {
  const uint8_t* p = Take(out.size());
  if (p == nullptr) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    return false;
  }
  std::copy_n(p, out.size(), out.begin());
  return true;
}

bool ByteReader::Utf16(size_t units, WString& out) {
  out.clear();
  if (units > Left() / 2) return FailAt(Offset());
  out.reserve(units);
  for (size_t i = 0; i < units; ++i) out.push_back(static_cast<char16_t>(LoadLittleEndian<uint16_t>(Take(2))));
  return true;
}

bool ByteReader::Utf16UntilZero(WString& out) {
  out.clear();
  for (size_t at = pos_; Size() - at >= 2; at += 2) {
    const auto unit = static_cast<char16_t>(LoadLittleEndian<uint16_t>(bytes_.data() + at));
    if (unit == 0) {
      pos_ = at + 2;
      return true;
    }
    out.push_back(unit);
  }
  // No terminator: the reader stays where it was and reports the short data
  // where the bytes end.
  out.clear();
  return FailAt(origin_ + Size());
}

bool ByteReader::Skip(size_t n) { return Take(n) != nullptr; }

bool ByteReader::SeekTo(size_t position) {
  if (position > Size()) return FailAt(Offset());
  pos_ = position;
  return true;
}

bool ByteReader::Sub(size_t n, ByteReader& out) {
  const size_t start = Offset();
  const uint8_t* p = Take(n);
  out = p != nullptr ? ByteReader(std::span(p, n), start) : ByteReader(std::span<const uint8_t>(), start);
  return p != nullptr;
}

}  // namespace platform
