#pragma once
// Little-endian writing of binary data: registry values, the serial link's
// blocks, archive fields. Appends go to the end of a growing buffer, up to
// an optional limit; an append that would pass the limit writes nothing,
// returns false and marks the writer as failed. Patch* rewrite bytes already
// written (a length known only afterwards) and fail outside them.
//
//   ByteWriter out;
//   out.U32(0);                   // length, patched below
//   out.Utf16(text);
//   out.PatchU32(0, static_cast<uint32_t>(out.Size() - 4));

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace platform {

class ByteWriter {
 public:
  static constexpr size_t kNoLimit = std::numeric_limits<size_t>::max();

  explicit ByteWriter(size_t limit = kNoLimit) : limit_(limit) {}

  bool U8(uint8_t value);
  bool U16(uint16_t value);
  bool U32(uint32_t value);
  bool U64(uint64_t value);
  bool Bytes(std::span<const uint8_t> bytes);
  bool Bytes(std::string_view bytes);
  // The text's UTF-16LE code units, without a terminator.
  bool Utf16(WStringView text);
  bool Zeros(size_t n);

  bool PatchU16(size_t offset, uint16_t value);
  bool PatchU32(size_t offset, uint32_t value);

  size_t Size() const { return bytes_.size(); }
  bool Failed() const { return failed_; }
  std::span<const uint8_t> Data() const { return bytes_; }
  // The bytes written, as text bytes (for string-based sinks).
  std::string_view View() const { return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()}; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  // Whether n more bytes fit under the limit; marks the writer failed if not.
  bool Room(size_t n);
  template <typename T>
  bool Number(T value);
  template <typename T>
  bool Patch(size_t offset, T value);

  std::vector<uint8_t> bytes_;
  size_t limit_;
  bool failed_ = false;
};

}  // namespace platform
