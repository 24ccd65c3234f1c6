#pragma once
// Bounded reading of little-endian data from outside: files, the serial
// link, registry values. Every read checks the bytes that are left and fails
// instead of reading past the end. A failed read takes nothing, sets its
// output to zero (or empty) and marks the reader as failed, so a run of
// reads may be checked once at its end; FailedAt() keeps the offset of the
// first short read for the error message.
//
// Offsets are reported in the coordinates of the whole input: a reader over
// a piece of a file is given the piece's start as its origin.
//
//   ByteReader in(record, recordOffset);
//   uint32_t dataSize = 0, headerSize = 0;
//   if (!in.U32(dataSize) || !in.U32(headerSize))
//     return Fail("record cut short at byte " + std::to_string(in.FailedAt()));

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/text.h"

namespace platform {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> bytes, size_t origin = 0) : bytes_(bytes), origin_(origin) {}
  explicit ByteReader(std::string_view bytes, size_t origin = 0)
      : ByteReader(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), origin) {}

  // Bytes read so far, from the start of this reader's bytes.
  size_t Position() const { return pos_; }
  // Where the next read starts, in the whole input (origin + Position()).
  size_t Offset() const { return origin_ + pos_; }
  size_t Size() const { return bytes_.size(); }
  size_t Left() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

  bool Failed() const { return failed_; }
  // The offset of the first read that came up short (0 before any).
  size_t FailedAt() const { return failedAt_; }

  bool U8(uint8_t& out);
  bool U16(uint16_t& out);
  bool U32(uint32_t& out);
  bool U64(uint64_t& out);

  // A view of the next n bytes.
  bool Bytes(size_t n, std::span<const uint8_t>& out);
  // Fills out completely with the next out.size() bytes.
  bool CopyTo(std::span<uint8_t> out);
  // units UTF-16LE code units, taken as they are (no validation).
  bool Utf16(size_t units, WString& out);
  // UTF-16LE code units up to a zero unit, which is read but not kept. Fails
  // when the data ends first.
  bool Utf16UntilZero(WString& out);

  bool Skip(size_t n);
  // Moves to a position within this reader's bytes (0 to Size()).
  bool SeekTo(size_t position);
  // A reader over the next n bytes, reporting offsets in the same input;
  // this reader moves past them.
  bool Sub(size_t n, ByteReader& out);
  // What is left, without moving.
  std::span<const uint8_t> Rest() const { return bytes_.subspan(pos_); }

 private:
  // Takes n bytes, or marks the reader failed and returns null.
  const uint8_t* Take(size_t n);
  bool FailAt(size_t offset);

  std::span<const uint8_t> bytes_;
  size_t origin_ = 0;
  size_t pos_ = 0;
  bool failed_ = false;
  size_t failedAt_ = 0;
};

}  // namespace platform
