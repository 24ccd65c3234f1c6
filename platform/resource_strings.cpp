#include "platform/resource_strings.h"

#include <string>

#include "base/byte_reader.h"

namespace platform {

namespace {

enum class BlockWalk { Ok, Malformed };

// Walks the entries of one block up to `wanted` (an index below 16, or 16 to
// check them all); on the way checks that each lies within the data. When
// `wanted` is an index, *text gets that entry.
BlockWalk WalkBlock(std::span<const uint8_t> data, uint32_t wanted, WString* text,
                    size_t* faultAt) {
  ByteReader in(data);
  for (uint32_t index = 0; index < kStringsPerBlock; ++index) {
    const size_t countAt = in.Position();
    uint16_t count = 0;
    if (!in.U16(count) || count > in.Left() / 2) {
      *faultAt = countAt;
      return BlockWalk::Malformed;
    }
    if (index == wanted && text != nullptr) {
      in.Utf16(count, *text);
      return BlockWalk::Ok;
    }
    in.Skip(size_t{count} * 2);
  }
  return BlockWalk::Ok;
}

}  // namespace

StringLookup FindString(const ResourceFile& file, uint32_t number, WString& out) {
  bool anyTable = false;
  const ResourceRecord* block = nullptr;
  for (const ResourceRecord& r : file.Records()) {
    if (!(r.type == ResourceId(kResourceTypeString))) continue;
    anyTable = true;
    if (number <= kMaxStringNumber && r.name == ResourceId(StringBlockName(number))) {
      block = &r;
      break;
    }
  }
  if (!anyTable) return StringLookup::NoStringTables;
  if (block == nullptr) return StringLookup::NotDefined;
  WString text;
  size_t faultAt = 0;
  if (WalkBlock(file.Data(*block), number % kStringsPerBlock, &text, &faultAt) != BlockWalk::Ok)
    return StringLookup::Malformed;
  if (text.empty()) return StringLookup::NotDefined;
  out = std::move(text);
  return StringLookup::Found;
}

bool CheckStringTables(const ResourceFile& file, ResourceFileError* error) {
  for (const ResourceRecord& r : file.Records()) {
    if (!(r.type == ResourceId(kResourceTypeString))) continue;
    size_t faultAt = 0;
    if (WalkBlock(file.Data(r), kStringsPerBlock, nullptr, &faultAt) == BlockWalk::Ok) continue;
    if (error != nullptr) {
      error->status = ResourceFileStatus::BadStringTable;
      error->offset = r.dataOffset + faultAt;
      const std::string block = r.name.IsNumber() ? std::to_string(r.name.Number()) : ToUtf8(r.name.Name());
      error->message = "byte " + std::to_string(error->offset) + ": string block " + block +
                       " has an entry that runs past its " + std::to_string(r.dataSize) + " bytes";
    }
    return false;
  }
  return true;
}

}  // namespace platform
