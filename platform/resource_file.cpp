#include "platform/resource_file.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/byte_reader.h"

namespace platform {

namespace {

// The smallest header: the two sizes, a numbered type and name, and the
// four fixed fields.
constexpr size_t kMinHeaderSize = 32;
// DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
constexpr size_t kFixedFieldsSize = 16;
constexpr uint16_t kNumberMarker = 0xFFFF;

constexpr size_t AlignUp4(size_t n) { return (n + 3) & ~size_t{3}; }

enum class IdResult { Ok, Truncated, Empty };

// A type or name field: the number form or a text ended by a 0 character.
IdResult ReadId(ByteReader& in, ResourceId& out) {
  uint16_t first = 0;
  if (!in.U16(first)) return IdResult::Truncated;
  if (first == kNumberMarker) {
    uint16_t number = 0;
    if (!in.U16(number)) return IdResult::Truncated;
    out = ResourceId(number);
    return IdResult::Ok;
  }
  if (first == 0) return IdResult::Empty;
  WString rest;
  if (!in.Utf16UntilZero(rest)) return IdResult::Truncated;
  out = ResourceId(static_cast<char16_t>(first) + rest);
  return IdResult::Ok;
}

bool Fail(ResourceFileError* error, ResourceFileStatus status, size_t offset, std::string what) {
  if (error != nullptr) {
    error->status = status;
    error->offset = offset;
    error->message = "byte " + std::to_string(offset) + ": " + what;
  }
  return false;
}

}  // namespace

bool ResourceId::operator==(const ResourceId& other) const {
  if (isNumber_ != other.isNumber_) return false;
  return isNumber_ ? number_ == other.number_ : EqualsNoCase(name_, other.name_);
}

bool ResourceId::operator<(const ResourceId& other) const {
  if (isNumber_ != other.isNumber_) return !isNumber_;
  return isNumber_ ? number_ < other.number_ : CompareNoCase(name_, other.name_) < 0;
}

namespace {

// Reads the record that starts at `start` (a 32-bit boundary, before the end
// of the file): its header, and where its data lies.
bool ReadRecord(const std::string& bytes, size_t start, ResourceRecord& record,
                ResourceFileError* error) {
  ByteReader in(std::string_view(bytes).substr(start), start);
  uint32_t dataSize = 0, headerSize = 0;
  if (!in.U32(dataSize) || !in.U32(headerSize))
    return Fail(error, ResourceFileStatus::Truncated, start, "a record header is cut short");
  if (headerSize < kMinHeaderSize || headerSize % 4 != 0)
    return Fail(error, ResourceFileStatus::BadHeaderSize, start + 4,
                "header size " + std::to_string(headerSize) + " is not a multiple of 4 of at least 32");
  if (headerSize > bytes.size() - start)
    return Fail(error, ResourceFileStatus::Truncated, start,
                "header of " + std::to_string(headerSize) + " bytes runs past the end of the file");

  // The header's own fields are read only within HeaderSize.
  const size_t headerEnd = start + headerSize;
  ByteReader header;
  in.Sub(headerEnd - in.Offset(), header);
  record.headerOffset = start;
  for (auto [id, what] : {std::pair{&record.type, "type"}, std::pair{&record.name, "name"}}) {
    const size_t idOffset = header.Offset();
    switch (ReadId(header, *id)) {
      case IdResult::Truncated:
        return Fail(error, ResourceFileStatus::BadHeaderSize, idOffset,
                    std::string("the ") + what + " runs past the header's size");
      case IdResult::Empty:
        return Fail(error, ResourceFileStatus::BadName, idOffset,
                    std::string("the ") + what + " is an empty text");
      case IdResult::Ok: break;
    }
  }
  const size_t fixedOffset = AlignUp4(header.Offset());
  if (fixedOffset + kFixedFieldsSize != headerEnd || !header.Skip(fixedOffset - header.Offset()))
    return Fail(error, ResourceFileStatus::BadHeaderSize, start + 4,
                "header size " + std::to_string(headerSize) + " does not match its fields (" +
                    std::to_string(fixedOffset + kFixedFieldsSize - start) + " bytes)");
  header.U32(record.dataVersion);
  header.U16(record.memoryFlags);
  header.U16(record.language);
  header.U32(record.version);
  header.U32(record.characteristics);

  if (dataSize > bytes.size() - headerEnd)
    return Fail(error, ResourceFileStatus::Truncated, start,
                "data of " + std::to_string(dataSize) + " bytes runs past the end of the file");
  record.dataOffset = headerEnd;
  record.dataSize = dataSize;
  return true;
}

}  // namespace

bool ResourceFile::Parse(std::string bytes, ResourceFileError* error) {
  bytes_.clear();
  records_.clear();
  if (error != nullptr) *error = {};
  if (bytes.size() > kMaxResourceFileSize)
    return Fail(error, ResourceFileStatus::TooLarge, 0,
                "the file has " + std::to_string(bytes.size()) + " bytes, more than a resource file may");

  // The empty record that marks the format comes first; anything else is
  // some other kind of file (a 16-bit resource file, a library, text).
  ResourceRecord lead;
  if (!ReadRecord(bytes, 0, lead, nullptr) || lead.dataSize != 0 ||
      !(lead.type == ResourceId(uint16_t{0})) || !(lead.name == ResourceId(uint16_t{0})))
    return Fail(error, ResourceFileStatus::NotResourceFile, 0,
                "the file does not start with the empty record of a compiled resource file");

  std::vector<ResourceRecord> records;
  // The last record's padding may be missing at the end of the file.
  size_t pos = std::min(AlignUp4(lead.dataOffset), bytes.size());
  while (pos < bytes.size()) {
    if (records.size() == kMaxResourceRecords)
      return Fail(error, ResourceFileStatus::TooManyRecords, pos,
                  "more than " + std::to_string(kMaxResourceRecords) + " resources");
    ResourceRecord record;
    if (!ReadRecord(bytes, pos, record, error)) return false;
    pos = std::min(AlignUp4(record.dataOffset + record.dataSize), bytes.size());
    records.push_back(std::move(record));
  }

  bytes_ = std::move(bytes);
  records_ = std::move(records);
  return true;
}

const ResourceRecord* ResourceFile::Find(const ResourceId& type, const ResourceId& name) const {
  for (const ResourceRecord& r : records_)
    if (r.type == type && r.name == name) return &r;
  return nullptr;
}

std::vector<const ResourceRecord*> ResourceFile::OfType(const ResourceId& type) const {
  std::vector<const ResourceRecord*> out;
  for (const ResourceRecord& r : records_)
    if (r.type == type) out.push_back(&r);
  std::stable_sort(out.begin(), out.end(),
                   [](const ResourceRecord* a, const ResourceRecord* b) { return a->name < b->name; });
  return out;
}

std::span<const uint8_t> ResourceFile::Data(const ResourceRecord& record) const {
  if (record.dataOffset > bytes_.size() || record.dataSize > bytes_.size() - record.dataOffset)
    return {};
  return {reinterpret_cast<const uint8_t*>(bytes_.data()) + record.dataOffset, record.dataSize};
}

}  // namespace platform
