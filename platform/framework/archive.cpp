#include "platform/framework/archive.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "platform/code_page.h"
#include "platform/framework/object.h"
#include "platform/framework/runtime_class.h"

namespace framework {

namespace {

// Prefix bytes and words of the text and count encodings.
constexpr uint8_t kByteEscape = 0xFF;
constexpr uint16_t kUnicodeTag = 0xFFFE;
constexpr uint16_t kWordEscape = 0xFFFF;
constexpr uint32_t kDwordEscape = 0xFFFFFFFFu;

struct ErrorName {
  ArchiveError error;
  std::string_view name;
};

constexpr ErrorName kErrorNames[] = {
    {ArchiveError::None, "no error"},
    {ArchiveError::Truncated, "file ends inside a value"},
    {ArchiveError::CountTooLarge, "count larger than the data left"},
    {ArchiveError::BadClassName, "class name too long"},
    {ArchiveError::UnknownClass, "unknown class"},
    {ArchiveError::SchemaMismatch, "schema mismatch"},
    {ArchiveError::BadIndex, "bad class or object index"},
    {ArchiveError::WrongClass, "object of an unexpected class"},
    {ArchiveError::SharedObject, "object referenced twice"},
    {ArchiveError::NullObject, "missing object"},
    {ArchiveError::NotSerializable, "class cannot be stored"},
    {ArchiveError::TooManyObjects, "too many objects"},
    {ArchiveError::TooDeep, "objects nested too deeply"},
    {ArchiveError::ReadFault, "read fault"},
    {ArchiveError::WriteFault, "write fault"},
};

}  // namespace

std::string_view ArchiveErrorName(ArchiveError error) {
  for (const auto& e : kErrorNames)
    if (e.error == error) return e.name;
  return "unknown archive error";
}

CArchive::CArchive(platform::File& file, Mode mode)
    : file_(file), mode_(mode), buffer_(kBufferSize), loaded_(1, nullptr) {}

CArchive::~CArchive() = default;

void CArchive::Fail(ArchiveError error) { FailAt(error, Position()); }

void CArchive::FailAt(ArchiveError error, uint64_t offset) {
  if (Failed() || error == ArchiveError::None) return;
  error_ = error;
  errorOffset_ = offset;
}

bool CArchive::StartLoading() {
  if (started_) return true;
  started_ = true;
  uint64_t position = 0;
  platform::ErrorCode e = file_.Seek(0, platform::SeekOrigin::Current, &position);
  if (e == platform::kErrorSuccess) e = file_.Size(&fileSize_);
  if (e != platform::kErrorSuccess) {
    fileError_ = e;
    FailAt(ArchiveError::ReadFault, 0);
    return false;
  }
  fileStart_ = position;
  return true;
}

uint64_t CArchive::BytesLeft() {
  if (!IsLoading() || !StartLoading()) return 0;
  uint64_t total = fileSize_ > fileStart_ ? fileSize_ - fileStart_ : 0;
  return total > Position() ? total - Position() : 0;
}

bool CArchive::Require(uint64_t count, uint64_t itemSize) {
  if (Failed()) return false;
  if (itemSize == 0) itemSize = 1;
  if (count > BytesLeft() / itemSize) {
    FailAt(ArchiveError::CountTooLarge, Position());
    return false;
  }
  return !Failed();
}

bool CArchive::Refill() {
  bufferStart_ += end_;
  cursor_ = 0;
  end_ = 0;
  size_t n = 0;
  if (platform::ErrorCode e = file_.Read(buffer_.data(), buffer_.size(), &n);
      e != platform::kErrorSuccess) {
    fileError_ = e;
    FailAt(ArchiveError::ReadFault, bufferStart_);
    return false;
  }
  end_ = n;
  return n > 0;
}

bool CArchive::ReadBytes(void* out, size_t size) {
  auto* target = static_cast<uint8_t*>(out);
  if (size > 0) std::memset(target, 0, size);
  if (!IsLoading() || Failed() || !StartLoading()) return false;
  const uint64_t at = Position();
  size_t done = 0;
  while (done < size) {
    if (cursor_ == end_ && !Refill()) {
      FailAt(ArchiveError::Truncated, at);
      std::memset(target, 0, size);
      return false;
    }
    size_t n = std::min(size - done, end_ - cursor_);
    std::memcpy(target + done, buffer_.data() + cursor_, n);
    cursor_ += n;
    done += n;
  }
  return true;
}

bool CArchive::FlushBuffer() {
  if (cursor_ == 0) return true;
  size_t written = 0;
  platform::ErrorCode e = file_.Write(buffer_.data(), cursor_, &written);
  if (e != platform::kErrorSuccess || written != cursor_) {
    fileError_ = e != platform::kErrorSuccess ? e : platform::kErrorWriteFault;
    FailAt(ArchiveError::WriteFault, bufferStart_ + written);
    return false;
  }
  bufferStart_ += cursor_;
  cursor_ = 0;
  return true;
}

void CArchive::WriteBytes(const void* data, size_t size) {
  if (!IsStoring() || Failed()) return;
  const auto* source = static_cast<const uint8_t*>(data);
  while (size > 0) {
    if (cursor_ == buffer_.size() && !FlushBuffer()) return;
    size_t n = std::min(size, buffer_.size() - cursor_);
    std::memcpy(buffer_.data() + cursor_, source, n);
    cursor_ += n;
    source += n;
    size -= n;
  }
}

bool CArchive::Flush() {
  if (IsStoring() && !Failed()) FlushBuffer();
  return !Failed();
}

uint8_t CArchive::ReadByte() {
  uint8_t b = 0;
  ReadBytes(&b, 1);
  return b;
}

namespace {

// The next sizeof(T) bytes of the archive as a little-endian number. A failed
// read leaves the bytes at zero, so the number reads as 0.
template <typename T>
T ReadNumber(CArchive& ar, bool (platform::ByteReader::*read)(T&)) {
  std::array<uint8_t, sizeof(T)> bytes{};
  ar.ReadBytes(bytes.data(), bytes.size());
  T value = 0;
  (platform::ByteReader(bytes).*read)(value);
  return value;
}

template <typename T>
void WriteNumber(CArchive& ar, bool (platform::ByteWriter::*write)(T), T value) {
  platform::ByteWriter bytes;
  (bytes.*write)(value);
  ar.WriteBytes(bytes.Data().data(), bytes.Size());
}

}  // namespace

uint16_t CArchive::ReadWord() { return ReadNumber(*this, &platform::ByteReader::U16); }
uint32_t CArchive::ReadDword() { return ReadNumber(*this, &platform::ByteReader::U32); }
uint64_t CArchive::ReadQword() { return ReadNumber(*this, &platform::ByteReader::U64); }

void CArchive::WriteByte(uint8_t value) { WriteBytes(&value, 1); }
void CArchive::WriteWord(uint16_t value) { WriteNumber(*this, &platform::ByteWriter::U16, value); }
void CArchive::WriteDword(uint32_t value) { WriteNumber(*this, &platform::ByteWriter::U32, value); }
void CArchive::WriteQword(uint64_t value) { WriteNumber(*this, &platform::ByteWriter::U64, value); }

platform::WString CArchive::ReadString() {
  // The length prefix, as the framework reads it: a byte, a word, a 32-bit
  // and finally a 64-bit length, each escaped by its all-ones value; the
  // word 0xFFFE in place of the first word marks UTF-16 text and starts
  // over with a byte.
  bool unicode = false;
  uint64_t length = ReadByte();
  if (length == kByteEscape) {
    uint16_t word = ReadWord();
    if (word == kUnicodeTag) {
      unicode = true;
      length = ReadByte();
      if (length == kByteEscape) word = ReadWord();
    }
    if (length == kByteEscape) {
      length = word;
      if (word == kWordEscape) {
        length = ReadDword();
        if (length == kDwordEscape) length = ReadQword();
      }
    }
  }
  if (Failed() || !Require(length, unicode ? 2 : 1)) return {};
  if (unicode) {
    std::vector<uint8_t> units(static_cast<size_t>(length) * 2);
    if (!ReadBytes(units.data(), units.size())) return {};
    platform::WString text;
    platform::ByteReader(units).Utf16(static_cast<size_t>(length), text);
    return text;
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  if (!ReadBytes(bytes.data(), bytes.size())) return {};
  return platform::AnsiToWide(bytes);
}

void CArchive::WriteString(platform::WStringView text) {
  const uint64_t length = text.size();
  WriteByte(kByteEscape);
  WriteWord(kUnicodeTag);
  if (length < kByteEscape) {
    WriteByte(static_cast<uint8_t>(length));
  } else {
    WriteByte(kByteEscape);
    if (length < kUnicodeTag) {
      WriteWord(static_cast<uint16_t>(length));
    } else {
      WriteWord(kWordEscape);
      if (length < kDwordEscape) {
        WriteDword(static_cast<uint32_t>(length));
      } else {
        WriteDword(kDwordEscape);
        WriteQword(length);
      }
    }
  }
  platform::ByteWriter units;
  units.Utf16(text);
  WriteBytes(units.Data().data(), units.Size());
}

uint64_t CArchive::ReadCount() {
  uint64_t count = ReadWord();
  if (count != kWordEscape) return count;
  count = ReadDword();
  if (count != kDwordEscape) return count;
  return ReadQword();
}

void CArchive::WriteCount(uint64_t count) {
  if (count < kWordEscape) {
    WriteWord(static_cast<uint16_t>(count));
    return;
  }
  WriteWord(kWordEscape);
  if (count < kDwordEscape) {
    WriteDword(static_cast<uint32_t>(count));
    return;
  }
  WriteDword(kDwordEscape);
  WriteQword(count);
}

bool CArchive::TakeIndex() {
  if (nextIndex_ > kMaxMapCount) {
    Fail(ArchiveError::TooManyObjects);
    return false;
  }
  ++nextIndex_;
  return true;
}

const CRuntimeClass* CArchive::ReadNewClass(const CRuntimeClass* requested) {
  const uint64_t at = Position();
  const uint16_t schema = ReadWord();
  const uint16_t nameLength = ReadWord();
  if (Failed()) return nullptr;
  if (nameLength > kMaxClassNameLength) {
    FailAt(ArchiveError::BadClassName, at);
    return nullptr;
  }
  if (!Require(nameLength)) return nullptr;
  std::string name(nameLength, '\0');
  if (!ReadBytes(name.data(), name.size())) return nullptr;
  const CRuntimeClass* cls = CRuntimeClass::FromName(name);
  if (cls == nullptr || !cls->IsDynCreate() || cls->Schema() == CRuntimeClass::kNoSchema) {
    FailAt(ArchiveError::UnknownClass, at);
    return nullptr;
  }
  if (cls->Schema() != schema) {
    FailAt(ArchiveError::SchemaMismatch, at);
    return nullptr;
  }
  if (requested != nullptr && !cls->IsDerivedFrom(requested)) {
    FailAt(ArchiveError::WrongClass, at);
    return nullptr;
  }
  if (!TakeIndex()) return nullptr;
  loaded_.push_back(cls);
  return cls;
}

std::unique_ptr<CObject> CArchive::ReadObject(const CRuntimeClass* requested) {
  if (!IsLoading() || Failed()) return nullptr;
  const uint64_t at = Position();
  const uint16_t tag = ReadWord();
  if (Failed() || tag == kNullTag) return nullptr;

  uint32_t objectTag = 0;
  if (tag == kBigObjectTag) {
    objectTag = ReadDword();
    if (Failed()) return nullptr;
  } else {
    objectTag = (static_cast<uint32_t>(tag & kClassTag) << 16) | (tag & ~kClassTag);
  }

  const CRuntimeClass* cls = nullptr;
  if (tag == kNewClassTag) {
    cls = ReadNewClass(requested);
    if (cls == nullptr) return nullptr;
  } else if (objectTag & kBigClassTag) {
    const uint32_t index = objectTag & ~kBigClassTag;
    if (index == 0 || index >= loaded_.size() || loaded_[index] == nullptr) {
      FailAt(ArchiveError::BadIndex, at);
      return nullptr;
    }
    cls = loaded_[index];
    if (requested != nullptr && !cls->IsDerivedFrom(requested)) {
      FailAt(ArchiveError::WrongClass, at);
      return nullptr;
    }
  } else {
    // A reference to an object read before. The framework would hand out
    // the same object a second time; the arrays here own their elements,
    // so a second owner is refused.
    if (objectTag == 0) return nullptr;
    FailAt(objectTag < loaded_.size() && loaded_[objectTag] == nullptr ? ArchiveError::SharedObject
                                                                       : ArchiveError::BadIndex,
           at);
    return nullptr;
  }

  std::unique_ptr<CObject> object = cls->CreateObject();
  if (!object || !TakeIndex()) {
    Fail(ArchiveError::UnknownClass);
    return nullptr;
  }
  loaded_.push_back(nullptr);
  if (depth_ == kMaxObjectDepth) {
    FailAt(ArchiveError::TooDeep, at);
    return nullptr;
  }
  ++depth_;
  object->Serialize(*this);
  --depth_;
  if (Failed()) return nullptr;
  return object;
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
  if (auto it = stored_.find(cls); it != stored_.end()) {
    if (it->second < kBigObjectTag) {
      WriteWord(static_cast<uint16_t>(kClassTag | it->second));
    } else {
      WriteWord(kBigObjectTag);
      WriteDword(kBigClassTag | it->second);
    }
    return;
  }
  const std::string_view name = cls->ClassName();
  if (name.empty() || name.size() > kMaxClassNameLength) {
    Fail(ArchiveError::BadClassName);
    return;
  }
  WriteWord(kNewClassTag);
  WriteWord(static_cast<uint16_t>(cls->Schema()));
  WriteWord(static_cast<uint16_t>(name.size()));
  WriteBytes(name.data(), name.size());
  const uint32_t index = nextIndex_;
  if (TakeIndex()) stored_.emplace(cls, index);
}

void CArchive::WriteObject(CObject* object) {
  if (!IsStoring() || Failed()) return;
  if (object == nullptr) {
    WriteWord(kNullTag);
    return;
  }
  if (stored_.count(object) != 0) {
    Fail(ArchiveError::SharedObject);
    return;
  }
  const CRuntimeClass* cls = object->GetRuntimeClass();
  if (!cls->IsDynCreate() || cls->Schema() == CRuntimeClass::kNoSchema) {
    Fail(ArchiveError::NotSerializable);
    return;
  }
  WriteClass(cls);
  const uint32_t index = nextIndex_;
  if (!TakeIndex()) return;
  stored_.emplace(object, index);
  object->Serialize(*this);
}

}  // namespace framework
