#include "platform/resource_file.h"

#include <gtest/gtest.h>

#include "tests/platform/res_builder.h"

namespace platform {
namespace {

using test_support::PutU16;
using test_support::PutU32;
using test_support::ResBuilder;

TEST(ResourceFile, ReadsTheRecordsTheResourceCompilerWrites) {
  // dialogs.rc: two dialog templates and one string block, compiled by windres.
  const std::string bytes = test_support::ReadBinaryFile(DIALOGS_RES_PATH);
  ASSERT_FALSE(bytes.empty());
  ResourceFile file;
  ResourceFileError error;
  ASSERT_TRUE(file.Parse(bytes, &error)) << error.message;
  ASSERT_EQ(file.Records().size(), 3u);
  struct Expected {
    uint16_t type, name;
    size_t headerOffset, dataOffset, dataSize;
  };
  const Expected expected[] = {
      {kResourceTypeDialog, 8321, 0x20, 0x40, 126},
      {kResourceTypeDialog, 9062, 0xC0, 0xE0, 98},
      {kResourceTypeString, 1155 / 16 + 1, 0x144, 0x164, 46},
  };
  for (size_t i = 0; i < 3; ++i) {
    const ResourceRecord& r = file.Records()[i];
    EXPECT_EQ(r.type, ResourceId(expected[i].type)) << i;
    EXPECT_EQ(r.name, ResourceId(expected[i].name)) << i;
    EXPECT_EQ(r.headerOffset, expected[i].headerOffset) << i;
    EXPECT_EQ(r.dataOffset, expected[i].dataOffset) << i;
    EXPECT_EQ(r.dataSize, expected[i].dataSize) << i;
    EXPECT_EQ(r.language, 0x0409) << i;
    EXPECT_EQ(r.memoryFlags, 0x1030) << i;
  }
}

TEST(ResourceFile, ReadsNamedTypesAndNamesWithTheirPadding) {
  // Names of one and two characters: the header needs 0 and 2 bytes of
  // padding before its fixed fields.
  const std::string bytes = ResBuilder()
                                .Add(ResourceId(u"A"), ResourceId(u"BC"), "xyz", 0x0407)
                                .Add(ResourceId(u"Velm"), uint16_t{7}, "1234")
                                .Bytes();
  ResourceFile file;
  ResourceFileError error;
  ASSERT_TRUE(file.Parse(bytes, &error)) << error.message;
  ASSERT_EQ(file.Records().size(), 2u);
  const ResourceRecord& first = file.Records()[0];
  EXPECT_FALSE(first.type.IsNumber());
  EXPECT_EQ(first.type.Name(), u"A");
  EXPECT_EQ(first.name.Name(), u"BC");
  EXPECT_EQ(first.language, 0x0407);
  EXPECT_EQ(first.dataOffset, 32u + 36u);  // sizes 8, "A\0" 4, "BC\0" 6, padding 2, fixed 16
  auto data = file.Data(first);
  EXPECT_EQ(std::string(data.begin(), data.end()), "xyz");

  // Texts are found without regard to letter case; a number never matches a text.
  const ResourceRecord* found = file.Find(ResourceId(u"VELM"), uint16_t{7});
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, &file.Records()[1]);
  EXPECT_EQ(file.Find(ResourceId(u"a"), ResourceId(u"bc")), &file.Records()[0]);
  EXPECT_EQ(file.Find(ResourceId(u"Velm"), uint16_t{8}), nullptr);
  EXPECT_EQ(file.Find(ResourceId(u"7"), uint16_t{7}), nullptr);
}

TEST(ResourceFile, EnumeratesATypeNamesFirstThenNumbers) {
  const std::string bytes = ResBuilder()
                                .Add(uint16_t{10}, uint16_t{9}, "a")
                                .Add(uint16_t{10}, ResourceId(u"beta"), "b")
                                .Add(uint16_t{10}, uint16_t{2}, "c")
                                .Add(uint16_t{11}, uint16_t{1}, "other type")
                                .Add(uint16_t{10}, ResourceId(u"Alpha"), "d")
                                .Add(uint16_t{10}, uint16_t{2}, "e")  // same name: file order
                                .Bytes();
  ResourceFile file;
  ASSERT_TRUE(file.Parse(bytes));
  std::string order;
  for (const ResourceRecord* r : file.OfType(uint16_t{10})) {
    auto data = file.Data(*r);
    order += std::string(data.begin(), data.end());
  }
  EXPECT_EQ(order, "dbcea");
}

TEST(ResourceFile, AcceptsAFileWhoseLastRecordLacksItsPadding) {
  std::string bytes = ResBuilder().Add(uint16_t{10}, uint16_t{1}, "x").Bytes();
  bytes.resize(bytes.size() - 3);
  ResourceFile file;
  ResourceFileError error;
  ASSERT_TRUE(file.Parse(bytes, &error)) << error.message;
  ASSERT_EQ(file.Records().size(), 1u);
  EXPECT_EQ(file.Records()[0].dataSize, 1u);
}

TEST(ResourceFile, EveryCutThroughARecordIsTruncated) {
  const std::string lead = test_support::ResLeadRecord();
  const std::string full = ResBuilder()
                               .Add(ResourceId(u"TYPE"), uint16_t{1}, std::string(6, 'a'))
                               .Add(uint16_t{6}, uint16_t{2}, std::string(8, 'b'))
                               .Bytes();
  // The first header: sizes 8, "TYPE\0" 10, name 4, padding 2, fixed 16;
  // then 6 bytes of data and 2 of padding.
  const size_t secondStart = lead.size() + 40 + 8;
  ASSERT_EQ(full.size(), secondStart + 32 + 8);
  for (size_t length = 0; length < full.size(); ++length) {
    ResourceFile file;
    ResourceFileError error;
    const bool ok = file.Parse(full.substr(0, length), &error);
    if (length < lead.size()) {
      EXPECT_FALSE(ok) << length;
      EXPECT_EQ(error.status, ResourceFileStatus::NotResourceFile) << length;
    } else if (length == lead.size() || (length >= secondStart - 2 && length <= secondStart)) {
      // A record boundary, or the first record complete but for its padding.
      EXPECT_TRUE(ok) << length << ": " << error.message;
    } else {
      EXPECT_FALSE(ok) << length;
      EXPECT_EQ(error.status, ResourceFileStatus::Truncated) << length << ": " << error.message;
      EXPECT_TRUE(file.Records().empty());
    }
  }
}

// A record with numbered type and name whose header fields are given one by
// one, so a test can break exactly one of them.
std::string RawRecord(uint32_t dataSize, uint32_t headerSize, uint16_t typeMarker, uint16_t type,
                      uint16_t nameMarker, uint16_t name) {
  std::string r;
  PutU32(r, dataSize);
  PutU32(r, headerSize);
  PutU16(r, typeMarker);
  PutU16(r, type);
  PutU16(r, nameMarker);
  PutU16(r, name);
  PutU32(r, 0);       // DataVersion
  PutU16(r, 0x1030);  // MemoryFlags
  PutU16(r, 0x0409);  // LanguageId
  PutU32(r, 0);       // Version
  PutU32(r, 0);       // Characteristics
  return r;
}

TEST(ResourceFile, RejectsMalformedHeadersWithTheirOffset) {
  const std::string lead = test_support::ResLeadRecord();
  const size_t at = lead.size();  // where the record under test starts
  struct Case {
    const char* what;
    std::string bytes;
    ResourceFileStatus status;
    size_t offset;
  };
  const Case cases[] = {
      {"empty file", "", ResourceFileStatus::NotResourceFile, 0},
      {"a library, not a resource file", "MZ\x90\0\3\0\0\0" + std::string(56, '\0'),
       ResourceFileStatus::NotResourceFile, 0},
      {"lead record with data", RawRecord(4, 32, 0xFFFF, 0, 0xFFFF, 0) + "abcd",
       ResourceFileStatus::NotResourceFile, 0},
      {"lead record of another type", RawRecord(0, 32, 0xFFFF, 6, 0xFFFF, 0),
       ResourceFileStatus::NotResourceFile, 0},
      {"header size not a multiple of 4", lead + RawRecord(0, 34, 0xFFFF, 6, 0xFFFF, 1) + "xx",
       ResourceFileStatus::BadHeaderSize, at + 4},
      {"header size below the smallest header", lead + RawRecord(0, 28, 0xFFFF, 6, 0xFFFF, 1),
       ResourceFileStatus::BadHeaderSize, at + 4},
      {"header size beyond its fields", lead + RawRecord(0, 36, 0xFFFF, 6, 0xFFFF, 1) + "pad!",
       ResourceFileStatus::BadHeaderSize, at + 4},
      {"header size past the end of the file", lead + RawRecord(0, 64, 0xFFFF, 6, 0xFFFF, 1),
       ResourceFileStatus::Truncated, at},
      {"data size past the end of the file", lead + RawRecord(9, 32, 0xFFFF, 6, 0xFFFF, 1) + "12345678",
       ResourceFileStatus::Truncated, at},
      {"data size near 4 GiB", lead + RawRecord(0xFFFFFFF0u, 32, 0xFFFF, 6, 0xFFFF, 1),
       ResourceFileStatus::Truncated, at},
      {"empty type text", lead + RawRecord(0, 32, 0x0000, 6, 0xFFFF, 1),
       ResourceFileStatus::BadName, at + 8},
      {"empty name text", lead + RawRecord(0, 32, 0xFFFF, 6, 0x0000, 1),
       ResourceFileStatus::BadName, at + 12},
      // The name text "ab" then runs into the fixed fields, whose zeros end
      // it; the header is then too short for them.
      {"name text running over the fixed fields", lead + RawRecord(0, 32, 0xFFFF, 6, 'a', 'b'),
       ResourceFileStatus::BadHeaderSize, at + 4},
      {"name text without an end within the header", [&] {
         std::string r = lead;
         PutU32(r, 0);
         PutU32(r, 32);
         for (int i = 0; i < 12; ++i) PutU16(r, 'n');
         return r + "tail";
       }(), ResourceFileStatus::BadHeaderSize, at + 8},
      {"a stray byte after the last record", lead + RawRecord(0, 32, 0xFFFF, 6, 0xFFFF, 1) + "z",
       ResourceFileStatus::Truncated, at + 32},
  };
  for (const Case& c : cases) {
    ResourceFile file;
    ResourceFileError error;
    EXPECT_FALSE(file.Parse(c.bytes, &error)) << c.what;
    EXPECT_EQ(error.status, c.status) << c.what << ": " << error.message;
    EXPECT_EQ(error.offset, c.offset) << c.what << ": " << error.message;
    EXPECT_FALSE(error.message.empty()) << c.what;
    EXPECT_TRUE(file.Records().empty()) << c.what;
  }
}

TEST(ResourceFile, RejectsFilesBeyondItsLimits) {
  ResourceFile file;
  ResourceFileError error;
  EXPECT_FALSE(file.Parse(std::string(kMaxResourceFileSize + 1, '\0'), &error));
  EXPECT_EQ(error.status, ResourceFileStatus::TooLarge);

  std::string many = test_support::ResLeadRecord();
  const std::string record = RawRecord(0, 32, 0xFFFF, 10, 0xFFFF, 1);
  for (size_t i = 0; i <= kMaxResourceRecords; ++i) many += record;
  EXPECT_FALSE(file.Parse(many, &error));
  EXPECT_EQ(error.status, ResourceFileStatus::TooManyRecords);
  EXPECT_EQ(error.offset, 32 + kMaxResourceRecords * 32);
  many.resize(many.size() - record.size());
  EXPECT_TRUE(file.Parse(many, &error)) << error.message;
  EXPECT_EQ(file.Records().size(), kMaxResourceRecords);
}

TEST(ResourceFile, AFailedParseDropsWhatAnEarlierOneHeld) {
  ResourceFile file;
  ASSERT_TRUE(file.Parse(ResBuilder().Add(uint16_t{6}, uint16_t{1}, "ab").Bytes()));
  ASSERT_EQ(file.Records().size(), 1u);
  EXPECT_FALSE(file.Parse("garbage"));
  EXPECT_TRUE(file.Records().empty());
}

}  // namespace
}  // namespace platform
