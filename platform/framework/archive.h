#pragma once
// The application framework's archive: an object's fields written to a file
// or read back from one, in the framework's classic binary encoding, so that
// documents written by the handheld's own framework load here and ours load
// there.
//
// Encoding (all integers little-endian):
//
//   integer   the 8-, 16- or 32-bit value
//   text      a length prefix, then that many characters. Texts are written
//             as UTF-16LE: the byte 0xFF and the word 0xFFFE (the Unicode
//             tag), then the length in characters as one byte when below
//             255, else 0xFF and a word when below 0xFFFE, else 0xFF, the
//             word 0xFFFF and a 32-bit length. A prefix without the Unicode
//             tag introduces an 8-bit text in the device's ANSI code page.
//   count     a word, or the word 0xFFFF and a 32-bit count (a 32-bit
//             0xFFFFFFFF is followed by a 64-bit count)
//   object    the word 0x0000 for no object. Otherwise its class, then its
//             own fields (its Serialize). A class seen for the first time is
//             the word 0xFFFF, the class's schema (word), the length of its
//             name (word) and the name in ASCII; a class seen before is the
//             word 0x8000 | its index. Indexes count from 1 and every new
//             class and every new object takes the next one. Indexes of
//             0x7FFF or more are written as the word 0x7FFF and a 32-bit
//             value (0x80000000 | index for a class).
//
// The archive never throws. The first fault is kept (its kind and the byte
// offset where it was found) and from then on reads give zeros and empty
// texts and writes are dropped, so a Serialize function runs to its end and
// the caller looks at Failed() once. Every length and count read is checked
// against the bytes left in the file before anything is allocated for it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "platform/file.h"

namespace framework {

class CObject;
class CRuntimeClass;

enum class ArchiveError {
  None,
  Truncated,        // the file ended inside a value
  CountTooLarge,    // a count or length larger than the bytes left
  BadClassName,     // a class name too long for the framework
  UnknownClass,     // a class name that no creatable class carries
  SchemaMismatch,   // the class exists with another schema
  BadIndex,         // a class or object index that was never given out
  WrongClass,       // an object of a class the reader did not ask for
  SharedObject,     // one object referenced twice; arrays here own their elements
  NullObject,       // no object where one is required
  NotSerializable,  // storing an object whose class has no schema
  TooManyObjects,   // more classes and objects than indexes
  TooDeep,          // objects nested inside objects beyond kMaxObjectDepth
  ReadFault,        // the file could not be read
  WriteFault,       // the file could not be written (full, removed...)
};

// A short English name of the fault, for logs and tool output.
std::string_view ArchiveErrorName(ArchiveError error);

class CArchive {
 public:
  enum class Mode { Load, Store };

  // Data goes to and from the file in blocks of this size.
  static constexpr size_t kBufferSize = 4096;
  // Class names are at most this many characters, as the framework reads
  // them into a fixed buffer.
  static constexpr size_t kMaxClassNameLength = 63;
  // The largest index the framework gives out.
  static constexpr uint32_t kMaxMapCount = 0x3FFFFFFE;
  // Objects read while another is being read (an array of arrays...) nest
  // at most this deep, so a crafted file cannot exhaust the stack.
  static constexpr int kMaxObjectDepth = 64;

  // Tags of the object encoding.
  static constexpr uint16_t kNullTag = 0x0000;
  static constexpr uint16_t kNewClassTag = 0xFFFF;
  static constexpr uint16_t kClassTag = 0x8000;
  static constexpr uint16_t kBigObjectTag = 0x7FFF;
  static constexpr uint32_t kBigClassTag = 0x80000000u;

  // The file must stay open for the life of the archive. Loading starts at
  // the file's current position; so does storing.
  CArchive(platform::File& file, Mode mode);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return mode_ == Mode::Load; }
  bool IsStoring() const { return mode_ == Mode::Store; }

  // Storing: writes what is buffered to the file. Returns !Failed().
  bool Flush();

  bool Failed() const { return error_ != ArchiveError::None; }
  ArchiveError Error() const { return error_; }
  // Offset from the archive's start where the fault was found.
  uint64_t ErrorOffset() const { return errorOffset_; }
  // The platform's code for a read or write fault.
  platform::ErrorCode FileError() const { return fileError_; }
  // Marks the archive failed at the current position; the first fault stays.
  void Fail(ArchiveError error);

  // Offset from the archive's start of the next byte read or written.
  uint64_t Position() const { return bufferStart_ + cursor_; }
  // Loading: the bytes between the position and the end of the file.
  uint64_t BytesLeft();
  // Loading: true when count items of itemSize bytes each can still be in
  // the file; otherwise the archive fails with CountTooLarge.
  bool Require(uint64_t count, uint64_t itemSize = 1);

  bool ReadBytes(void* out, size_t size);
  void WriteBytes(const void* data, size_t size);

  uint8_t ReadByte();
  uint16_t ReadWord();
  uint32_t ReadDword();
  uint64_t ReadQword();
  int32_t ReadInt() { return static_cast<int32_t>(ReadDword()); }
  void WriteByte(uint8_t value);
  void WriteWord(uint16_t value);
  void WriteDword(uint32_t value);
  void WriteQword(uint64_t value);
  void WriteInt(int32_t value) { WriteDword(static_cast<uint32_t>(value)); }

  platform::WString ReadString();
  void WriteString(platform::WStringView text);

  uint64_t ReadCount();
  void WriteCount(uint64_t count);

  // Reads one object with its class. requested, when given, is the class
  // the object must be or derive from. Gives null for a stored null object
  // (not a fault: callers that need an object say so) and on any fault.
  std::unique_ptr<CObject> ReadObject(const CRuntimeClass* requested);
  // Writes one object (or null) with its class.
  void WriteObject(CObject* object);

  CArchive& operator<<(int32_t value) {
    WriteInt(value);
    return *this;
  }
  CArchive& operator>>(int32_t& value) {
    value = ReadInt();
    return *this;
  }
  CArchive& operator<<(platform::WStringView text) {
    WriteString(text);
    return *this;
  }
  CArchive& operator>>(platform::WString& text) {
    text = ReadString();
    return *this;
  }

 private:
  void FailAt(ArchiveError error, uint64_t offset);
  bool StartLoading();
  bool Refill();
  bool FlushBuffer();
  const CRuntimeClass* ReadNewClass(const CRuntimeClass* requested);
  void WriteClass(const CRuntimeClass* cls);
  bool TakeIndex();

  platform::File& file_;
  Mode mode_;
  std::vector<uint8_t> buffer_;
  size_t cursor_ = 0;        // next byte in buffer_
  size_t end_ = 0;           // loading: bytes valid in buffer_
  uint64_t bufferStart_ = 0; // archive offset of buffer_[0]
  bool started_ = false;
  uint64_t fileStart_ = 0;   // file offset of the archive's first byte
  uint64_t fileSize_ = 0;

  ArchiveError error_ = ArchiveError::None;
  uint64_t errorOffset_ = 0;
  platform::ErrorCode fileError_ = platform::kErrorSuccess;

  // Loading: what each index stands for (null for an object, the class for
  // a class); index 0 is the null object.
  std::vector<const CRuntimeClass*> loaded_;
  // Storing: the index of each class and object already written.
  std::unordered_map<const void*, uint32_t> stored_;
  uint32_t nextIndex_ = 1;
  int depth_ = 0;  // loading: objects being read
};

}  // namespace framework
