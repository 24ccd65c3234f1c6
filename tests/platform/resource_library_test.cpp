#include "platform/resource_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/byte_reader.h"
#include "platform/resource_strings.h"
#include "tests/platform/res_builder.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using test_support::IconDirectory;
using test_support::ResBuilder;
using test_support::StringBlock;

ResourceHandle HandleOf(const std::string& bytes) {
  auto file = std::make_shared<ResourceFile>();
  EXPECT_TRUE(file->Parse(bytes));
  return file;
}

// Strings 1 to 3 in block 1, 65087 in block 4068; the number 4 lies in block
// 1 but is not defined, the number 40 has no block.
const std::u16string kWithSurrogate = u"A\U0001F4F6B";  // A, two surrogate units, B

std::string StringsFile() {
  return ResBuilder()
      .Add(kResourceTypeString, StringBlockName(1),
           StringBlock({{1, u"Connection Setup"}, {2, u"Réglages"}, {3, kWithSurrogate}}))
      .Add(kResourceTypeString, StringBlockName(65087), StringBlock({{65087, u"Leave \"%1\"?"}}))
      .Bytes();
}

TEST(ResourceLibrary, LoadsFromADevicePath) {
  test_support::TempDevice device;
  device.WriteFile("Yvra ROM/GPRS Settings/RondelRes.res", StringsFile());
  ResourceLibrary library;
  ASSERT_EQ(library.Load(u"\\Yvra ROM\\GPRS Settings\\\\RondelRes.res"), kErrorSuccess)
      << library.LoadError().message;
  ASSERT_TRUE(library.IsLoaded());
  EXPECT_EQ(LoadString(library.Handle(), 2), u"Réglages");

  // What was handed out stays readable after the library is freed.
  ResourceHandle kept = library.Handle();
  library.Free();
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_EQ(library.Handle(), nullptr);
  EXPECT_EQ(LoadString(kept, 1), u"Connection Setup");
}

TEST(ResourceLibrary, LoadFailures) {
  test_support::TempDevice device;
  std::string badBlock = ResBuilder().Add(kResourceTypeString, uint16_t{1}, "\x05\0ab").Bytes();
  std::string missingImage = ResBuilder()
                                 .Add(kResourceTypeIcon, uint16_t{1}, "image")
                                 .Add(kResourceTypeGroupIcon, uint16_t{1},
                                      IconDirectory({{32, 32, 32, 1}, {16, 16, 32, 2}}))
                                 .Bytes();
  device.WriteFile("res/text.res", "[not a resource file]");
  device.WriteFile("res/block.res", badBlock);
  device.WriteFile("res/icon.res", missingImage);
  device.WriteFile("res/folder/inside.txt", "x");
  struct Case {
    const char16_t* path;
    ErrorCode code;
    ResourceFileStatus status;
    size_t offset;
  };
  const Case cases[] = {
      {u"\\res\\missing.res", kErrorModNotFound, ResourceFileStatus::Ok, 0},
      {u"\\res\\folder", kErrorModNotFound, ResourceFileStatus::Ok, 0},
      {u"\\..\\outside.res", kErrorBadPathname, ResourceFileStatus::Ok, 0},
      {u"\\res\\text.res", kErrorBadExeFormat, ResourceFileStatus::NotResourceFile, 0},
      // The block's first entry claims 5 units but only 2 bytes follow.
      {u"\\res\\block.res", kErrorBadExeFormat, ResourceFileStatus::BadStringTable, 64},
      {u"\\res\\icon.res", kErrorBadExeFormat, ResourceFileStatus::BadIcon, 104},
  };
  for (const Case& c : cases) {
    ResourceLibrary library;
    EXPECT_EQ(library.Load(c.path), c.code) << ToUtf8(c.path);
    EXPECT_EQ(LastError(), c.code) << ToUtf8(c.path);
    EXPECT_FALSE(library.IsLoaded()) << ToUtf8(c.path);
    EXPECT_EQ(library.LoadError().status, c.status) << ToUtf8(c.path);
    EXPECT_EQ(library.LoadError().offset, c.offset) << library.LoadError().message;
  }

  // A failed load leaves nothing of an earlier one.
  device.WriteFile("res/good.res", StringsFile());
  ResourceLibrary library;
  ASSERT_EQ(library.Load(u"\\res\\good.res"), kErrorSuccess);
  EXPECT_EQ(library.Load(u"\\res\\text.res"), kErrorBadExeFormat);
  EXPECT_FALSE(library.IsLoaded());
}

TEST(ResourceLibrary, LoadStringFillsTheCallersBuffer) {
  const ResourceHandle source = HandleOf(StringsFile());
  constexpr char16_t kPoison = u'#';
  struct Case {
    uint32_t number;
    int capacity;
    int result;
    std::u16string text;  // what the buffer holds before its terminator
    ErrorCode error;
  };
  const Case cases[] = {
      {1, 64, 16, u"Connection Setup", kErrorSuccess},
      {1, 17, 16, u"Connection Setup", kErrorSuccess},  // exactly room for the terminator
      {1, 16, 15, u"Connection Setu", kErrorSuccess},   // cut to capacity - 1
      {1, 1, 0, u"", kErrorSuccess},
      {2, 64, 8, u"Réglages", kErrorSuccess},
      {3, 64, 4, kWithSurrogate, kErrorSuccess},
      {3, 4, 3, kWithSurrogate.substr(0, 3), kErrorSuccess},
      {3, 3, 1, u"A", kErrorSuccess},  // the surrogate pair is not cut in half
      {65087, 64, 11, u"Leave \"%1\"?", kErrorSuccess},
      {4, 64, 0, u"", kErrorResourceNameNotFound},   // in a block, not defined
      {40, 64, 0, u"", kErrorResourceNameNotFound},  // no block
      {0x10000, 64, 0, u"", kErrorResourceNameNotFound},
  };
  for (const Case& c : cases) {
    std::vector<char16_t> buffer(static_cast<size_t>(c.capacity) + 4, kPoison);
    SetLastError(12345);
    EXPECT_EQ(LoadString(source, c.number, buffer.data(), c.capacity), c.result) << c.number;
    EXPECT_EQ(LastError(), c.error) << c.number;
    EXPECT_EQ(std::u16string(buffer.data()), c.text) << c.number << " capacity " << c.capacity;
    // Nothing is written past the terminator.
    EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<long>(c.text.size()) + 1, buffer.end(),
                            [](char16_t ch) { return ch == kPoison; }))
        << c.number << " capacity " << c.capacity;
  }
}

TEST(ResourceLibrary, LoadStringRefusesBadArguments) {
  const ResourceHandle source = HandleOf(StringsFile());
  char16_t buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(LoadString(source, 1, nullptr, 8), 0);
  EXPECT_EQ(LastError(), kErrorInvalidParameter);
  EXPECT_EQ(LoadString(source, 1, buffer, -1), 0);
  EXPECT_EQ(LastError(), kErrorInvalidParameter);
  EXPECT_EQ(LoadString(source, 1, buffer, 0), 0);
  EXPECT_EQ(LastError(), kErrorNotSupported);
  EXPECT_TRUE(std::all_of(std::begin(buffer), std::end(buffer), [](char16_t c) { return c == u'#'; }));

  // No library: the buffer is still terminated.
  EXPECT_EQ(LoadString(nullptr, 1, buffer, 8), 0);
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
  EXPECT_EQ(buffer[0], u'\0');
  EXPECT_EQ(buffer[1], u'#');

  // A library without any string table.
  const ResourceHandle noStrings = HandleOf(ResBuilder().Add(uint16_t{10}, uint16_t{1}, "x").Bytes());
  EXPECT_EQ(LoadString(noStrings, 1, buffer, 8), 0);
  EXPECT_EQ(LastError(), kErrorResourceTypeNotFound);
}

TEST(ResourceLibrary, AnAbsentStringIsNotAnEmptyOne) {
  const ResourceHandle source = HandleOf(StringsFile());
  EXPECT_EQ(LoadString(source, 1), u"Connection Setup");
  EXPECT_EQ(LoadString(source, 4), std::nullopt);
  EXPECT_EQ(LastError(), kErrorResourceNameNotFound);
  EXPECT_EQ(LoadString(source, 40), std::nullopt);
}

TEST(ResourceLibrary, TheCurrentSourceIsSetAndRestored) {
  const ResourceHandle a = HandleOf(
      ResBuilder().Add(kResourceTypeString, uint16_t{1}, StringBlock({{1, u"from a"}})).Bytes());
  const ResourceHandle b = HandleOf(
      ResBuilder().Add(kResourceTypeString, uint16_t{1}, StringBlock({{1, u"from b"}})).Bytes());
  const ResourceHandle before = CurrentResourceSource();
  {
    ScopedResourceSource useA(a);
    EXPECT_EQ(CurrentResourceSource(), a);
    EXPECT_EQ(LoadString(1), u"from a");
    {
      ScopedResourceSource useB(b);
      EXPECT_EQ(LoadString(1), u"from b");
    }
    EXPECT_EQ(LoadString(1), u"from a");
    // The handheld's set call hands back the source it replaces.
    EXPECT_EQ(SetResourceSource(b), a);
    EXPECT_EQ(SetResourceSource(a), b);
  }
  EXPECT_EQ(CurrentResourceSource(), before);

  ScopedResourceSource none(nullptr);
  EXPECT_EQ(LoadString(1), std::nullopt);
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
}

TEST(ResourceLibrary, ASourceOutlivesTheLibraryThatMadeIt) {
  test_support::TempDevice device;
  device.WriteFile("RondelRes.res", StringsFile());
  auto library = std::make_unique<ResourceLibrary>();
  ASSERT_EQ(library->Load(u"\\RondelRes.res"), kErrorSuccess);
  ScopedResourceSource current(library->Handle());
  library.reset();
  EXPECT_EQ(LoadString(1), u"Connection Setup");
}

uint16_t U16(std::span<const uint8_t> d, size_t at) {
  ByteReader in(d);
  uint16_t v = 0;
  EXPECT_TRUE(in.Skip(at) && in.U16(v)) << "no 16-bit field at " << at;
  return v;
}

uint32_t U32(std::span<const uint8_t> d, size_t at) {
  ByteReader in(d);
  uint32_t v = 0;
  EXPECT_TRUE(in.Skip(at) && in.U32(v)) << "no 32-bit field at " << at;
  return v;
}

TEST(ResourceLibrary, FindsDialogTemplatesByNumber) {
  const ResourceHandle source = HandleOf(test_support::ReadBinaryFile(DIALOGS_RES_PATH));

  // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy.
  auto plain = FindDialogTemplate(source, 8321);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(LastError(), kErrorSuccess);
  ASSERT_EQ(plain->bytes.size(), 126u);
  EXPECT_EQ(U32(plain->bytes, 0), 0x90C00040u);  // popup, visible, caption, set font
  EXPECT_EQ(U32(plain->bytes, 4), 0u);
  EXPECT_EQ(U16(plain->bytes, 8), 2);
  EXPECT_EQ(U16(plain->bytes, 14), 120);
  EXPECT_EQ(U16(plain->bytes, 16), 80);
  EXPECT_EQ(plain->language, 0x0409);

  // DLGTEMPLATEEX: version 1, signature 0xFFFF, help id, extended style,
  // style, item count, x, y, cx, cy.
  ScopedResourceSource current(source);
  auto extended = FindDialogTemplate(9062);
  ASSERT_TRUE(extended.has_value());
  ASSERT_EQ(extended->bytes.size(), 98u);
  EXPECT_EQ(U16(extended->bytes, 0), 1);
  EXPECT_EQ(U16(extended->bytes, 2), 0xFFFF);
  EXPECT_EQ(U32(extended->bytes, 12), 0x90000040u);
  EXPECT_EQ(U16(extended->bytes, 16), 1);
  EXPECT_EQ(U16(extended->bytes, 22), 160);
  EXPECT_EQ(U16(extended->bytes, 24), 60);

  EXPECT_EQ(FindDialogTemplate(source, 8320), std::nullopt);
  EXPECT_EQ(LastError(), kErrorResourceNameNotFound);
  EXPECT_EQ(FindDialogTemplate(HandleOf(StringsFile()), 8321), std::nullopt);
  EXPECT_EQ(LastError(), kErrorResourceTypeNotFound);
  EXPECT_EQ(FindDialogTemplate(nullptr, 8321), std::nullopt);
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
}

TEST(ResourceLibrary, ATemplateOutlivesItsSource) {
  std::optional<ResourceBlock> block;
  {
    ResourceHandle source = HandleOf(ResBuilder().Add(ResourceId(u"SKIN"), ResourceId(u"Menu"), "data").Bytes());
    block = FindResource(source, ResourceId(u"skin"), ResourceId(u"MENU"));
  }
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(std::string(block->bytes.begin(), block->bytes.end()), "data");
}

TEST(ResourceIcon, ChoosesTheNearestSizeThenTheDeepestColourTheDisplayShows) {
  const IconDirectoryEntry entries[] = {
      {16, 16, 16, 1, 4, 0, 1},    // 0
      {16, 16, 0, 1, 32, 0, 2},    // 1
      {32, 32, 16, 1, 4, 0, 3},    // 2
      {32, 32, 0, 1, 8, 0, 4},     // 3
      {32, 32, 0, 1, 32, 0, 5},    // 4
      {48, 48, 0, 1, 32, 0, 6},    // 5
      {256, 256, 0, 1, 32, 0, 7},  // 6
  };
  const int bits[] = {4, 32, 4, 8, 32, 32, 32};
  struct Case {
    int size, maxBitCount;
    size_t expected;
  };
  const Case cases[] = {
      {32, 16, 3},   // 8 bits is the deepest a 16-bit display shows
      {32, 32, 4},
      {32, 4, 2},
      {16, 16, 0},
      {16, 32, 1},
      {24, 16, 3},   // as near to 16 as to 32: the larger image
      {24, 4, 2},
      {40, 16, 5},   // as near to 32 as to 48: the larger, the only 48
      {200, 16, 6},
      {1, 1, 0},     // nothing shallow enough: the shallowest of the nearest
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseIconImage(entries, bits, c.size, c.maxBitCount), c.expected)
        << c.size << "/" << c.maxBitCount;
}

TEST(ResourceIcon, TakesTheDepthFromTheImageWhenTheDirectoryLeavesItOut) {
  IconDirectoryEntry entry;
  std::string bitmap;
  test_support::PutU32(bitmap, 40);  // BITMAPINFOHEADER size
  test_support::PutU32(bitmap, 32);
  test_support::PutU32(bitmap, 64);
  test_support::PutU16(bitmap, 1);
  test_support::PutU16(bitmap, 24);  // bits per pixel
  bitmap.resize(40, '\0');
  const std::string png = "\x89PNG\r\n\x1a\n....";
  auto span = [](const std::string& s) {
    return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  };
  EXPECT_EQ(EffectiveBitCount(entry, span(bitmap)), 24);
  EXPECT_EQ(EffectiveBitCount(entry, span(png)), 32);
  EXPECT_EQ(EffectiveBitCount(entry, span("short")), 0);
  entry.bitCount = 8;
  EXPECT_EQ(EffectiveBitCount(entry, span(bitmap)), 8);
}

TEST(ResourceIcon, RejectsBrokenDirectories) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string cursor = IconDirectory({{32, 32, 32, 1}});
  cursor[2] = 2;  // a cursor directory
  std::string cut = IconDirectory({{32, 32, 32, 1}, {16, 16, 32, 2}});
  cut.resize(cut.size() - 1);
  const Case cases[] = {
      {"too short", std::string("\0\0\1", 3)},
      {"cursor", cursor},
      {"no images", IconDirectory({})},
      {"entries cut short", cut},
  };
  for (const Case& c : cases) {
    std::vector<IconDirectoryEntry> entries;
    std::string why;
    auto data = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_FALSE(ParseIconDirectory(data, entries, &why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(ResourceLibrary, ExtractsIconsInEnumerationOrder) {
  // Group icons named 5, "ZED" and 2: a library enumerates "ZED", 2, 5.
  const ResourceHandle source = HandleOf(
      ResBuilder()
          .Add(kResourceTypeIcon, uint16_t{1}, "large image")
          .Add(kResourceTypeIcon, uint16_t{2}, "small image")
          .Add(kResourceTypeIcon, uint16_t{3}, "other")
          .Add(kResourceTypeGroupIcon, uint16_t{5}, IconDirectory({{48, 48, 8, 3}}))
          .Add(kResourceTypeGroupIcon, ResourceId(u"ZED"),
               IconDirectory({{16, 16, 8, 2}, {32, 32, 8, 1}}))
          .Add(kResourceTypeGroupIcon, uint16_t{2}, IconDirectory({{0, 0, 8, 3}}))
          .Bytes());
  EXPECT_EQ(ExtractIconCount(source), 3u);

  auto pair = ExtractIconPair(source, 0);
  ASSERT_TRUE(pair.has_value());
  EXPECT_EQ(pair->large.width, 32);
  EXPECT_EQ(pair->large.height, 32);
  EXPECT_EQ(pair->large.bitCount, 8);
  EXPECT_EQ(pair->large.imageId, 1);
  EXPECT_EQ(std::string(pair->large.bytes.begin(), pair->large.bytes.end()), "large image");
  EXPECT_EQ(pair->small.width, 16);
  EXPECT_EQ(std::string(pair->small.bytes.begin(), pair->small.bytes.end()), "small image");

  auto second = ExtractIcon(source, 1, kLargeIconSize);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->width, 256);  // 0 in the directory
  auto third = ExtractIcon(source, 2, kLargeIconSize);
  ASSERT_TRUE(third.has_value());
  EXPECT_EQ(third->width, 48);

  EXPECT_EQ(ExtractIcon(source, 3, kLargeIconSize), std::nullopt);
  EXPECT_EQ(LastError(), kErrorResourceNameNotFound);
  EXPECT_EQ(ExtractIcon(HandleOf(StringsFile()), 0, kLargeIconSize), std::nullopt);
  EXPECT_EQ(LastError(), kErrorResourceTypeNotFound);
  EXPECT_EQ(ExtractIconCount(HandleOf(StringsFile())), 0u);
  EXPECT_EQ(ExtractIconPair(nullptr, 0), std::nullopt);
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
}

}  // namespace
}  // namespace platform
