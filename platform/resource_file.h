#pragma once
// The compiled resource file format (".res"), as the resource compiler
// (windres, rc) writes it: a sequence of records, each a header followed by
// the resource's data, every record starting on a 32-bit boundary. All
// numbers are little-endian.
//
//   offset  size  field
//   0       4     DataSize         bytes of data after the header
//   4       4     HeaderSize       bytes of the header, from offset 0 to the
//                                  end of Characteristics, padding included
//   8       ...   Type             0xFFFF and a 16-bit number, or a UTF-16
//                                  name ended by a 0 character
//   ...     ...   Name             the same two forms
//   ...     0-2   padding to a 32-bit boundary
//   ...     4     DataVersion
//   ...     2     MemoryFlags
//   ...     2     LanguageId
//   ...     4     Version
//   ...     4     Characteristics
//   then DataSize bytes of data and padding to a 32-bit boundary.
//
// The first record of a 32-bit resource file is an empty one (DataSize 0,
// type and name the number 0); it marks the format and holds no resource.
//
// Parsing checks every size against the bytes that are left; a file that
// does not follow the format is rejected as a whole, with the byte offset of
// the fault.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"

namespace platform {

// Resource types by number.
inline constexpr uint16_t kResourceTypeIcon = 3;
inline constexpr uint16_t kResourceTypeDialog = 5;
inline constexpr uint16_t kResourceTypeString = 6;
inline constexpr uint16_t kResourceTypeGroupIcon = 14;

// A resource library is a few kilobytes; anything above this is not one.
inline constexpr size_t kMaxResourceFileSize = 16 * 1024 * 1024;
// More records than any resource library holds; bounds the record index.
inline constexpr size_t kMaxResourceRecords = 65536;

// A resource type or name: a 16-bit number or a text. Texts compare without
// regard to letter case, as the handheld's resource lookup compares them.
class ResourceId {
 public:
  // Implicit: numbers are how the applet names nearly every resource.
  ResourceId(uint16_t number) : number_(number) {}
  explicit ResourceId(WString name) : isNumber_(false), name_(std::move(name)) {}

  bool IsNumber() const { return isNumber_; }
  uint16_t Number() const { return number_; }
  const WString& Name() const { return name_; }

  bool operator==(const ResourceId& other) const;
  // The order in which a loaded library enumerates resources: names first,
  // sorted without regard to letter case, then numbers in ascending order.
  bool operator<(const ResourceId& other) const;

 private:
  bool isNumber_ = true;
  uint16_t number_ = 0;
  WString name_;
};

struct ResourceRecord {
  ResourceId type{uint16_t{0}};
  ResourceId name{uint16_t{0}};
  uint32_t dataVersion = 0;
  uint16_t memoryFlags = 0;
  uint16_t language = 0;
  uint32_t version = 0;
  uint32_t characteristics = 0;
  size_t headerOffset = 0;  // where the record starts in the file
  size_t dataOffset = 0;    // where its data starts
  size_t dataSize = 0;
};

enum class ResourceFileStatus {
  Ok,
  TooLarge,         // above kMaxResourceFileSize
  NotResourceFile,  // does not start with the empty record of the format
  Truncated,        // a header or its data runs past the end of the file
  BadHeaderSize,    // HeaderSize does not match the fields it covers
  BadName,          // an empty type or name text
  TooManyRecords,   // above kMaxResourceRecords
  BadStringTable,   // a string block's entries run past its data
  BadIcon,          // an icon directory does not parse or names a missing image
};

struct ResourceFileError {
  ResourceFileStatus status = ResourceFileStatus::Ok;
  size_t offset = 0;  // byte offset of the record or field at fault
  std::string message;
};

class ResourceFile {
 public:
  ResourceFile() = default;

  // Takes the bytes of a compiled resource file and indexes its records. On
  // failure the object holds nothing and *error tells why and where.
  bool Parse(std::string bytes, ResourceFileError* error = nullptr);

  // Every resource, in file order (the format's empty first record left out).
  const std::vector<ResourceRecord>& Records() const { return records_; }

  // The first resource of that type and name in file order, or null.
  const ResourceRecord* Find(const ResourceId& type, const ResourceId& name) const;

  // The resources of one type, in the order a loaded library enumerates
  // them (see ResourceId::operator<); for equal names, file order.
  std::vector<const ResourceRecord*> OfType(const ResourceId& type) const;

  std::span<const uint8_t> Data(const ResourceRecord& record) const;

 private:
  std::string bytes_;
  std::vector<ResourceRecord> records_;
};

}  // namespace platform
