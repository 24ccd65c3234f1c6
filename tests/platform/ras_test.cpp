// The RAS functions of the default phonebook, against the handheld's own
// behaviour: the size-query protocol, exact result codes, outputs left
// alone on failure and guard bytes after buffers.

#include "platform/ras.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/ras_default_entry.h"
#include "platform/ras_device_config.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

RasEntry EntryWithNumber(WStringView number) {
  RasEntry e{};
  e.size = sizeof(RasEntry);
  e.options = kRaseoUseCountryAndAreaCodes | kRaseoSpecificIpAddr;
  e.countryCode = 33;
  e.ipAddr.bytes[0] = 4;  // 1.2.3.4
  e.ipAddr.bytes[1] = 3;
  e.ipAddr.bytes[2] = 2;
  e.ipAddr.bytes[3] = 1;
  CopyRasText(e.localPhoneNumber, number);
  CopyRasText(e.deviceType, u"modem");
  CopyRasText(e.deviceName, u"Cellular Line");
  return e;
}

ErrorCode Set(const char16_t* name, const RasEntry& e, const std::vector<uint8_t>* block = nullptr) {
  return RasSetEntryProperties(nullptr, name, &e, sizeof e, block ? block->data() : nullptr,
                               block ? static_cast<uint32_t>(block->size()) : 0);
}

TEST(Ras, EnumerationAsksForTheSizeNeeded) {
  test_support::TempDevice device;
  for (const char16_t* name : {u"Web", u"wap", u"Mms"}) ASSERT_EQ(Set(name, EntryWithNumber(u"*99#")), 0);

  std::array<RasEntryName, 4> names{};
  names[0].size = sizeof(RasEntryName);
  names[2].size = 0xCCCCCCCC;  // a guard: the third record is not the call's to touch
  uint32_t bytes = 2 * sizeof(RasEntryName), count = 0;
  EXPECT_EQ(RasEnumEntries(nullptr, nullptr, names.data(), &bytes, &count), kRasErrorBufferTooSmall);
  EXPECT_EQ(bytes, 3 * sizeof(RasEntryName));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(names[2].size, 0xCCCCCCCC);

  ASSERT_EQ(RasEnumEntries(nullptr, nullptr, names.data(), &bytes, &count), 0);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(RasText(names[0].entryName), u"Mms");  // registry order: case-folded names
  EXPECT_EQ(RasText(names[1].entryName), u"wap");
  EXPECT_EQ(RasText(names[2].entryName), u"Web");
  EXPECT_EQ(names[3].size, 0u);

  names[0].size = 46;
  EXPECT_EQ(RasEnumEntries(nullptr, nullptr, names.data(), &bytes, &count), kRasErrorInvalidSize);
  names[0].size = sizeof(RasEntryName);
  EXPECT_EQ(RasEnumEntries(nullptr, u"other.pbk", names.data(), &bytes, &count),
            kRasErrorCannotOpenPhonebook);
  EXPECT_EQ(RasEnumEntries(u"x", nullptr, names.data(), &bytes, &count), kErrorInvalidParameter);
}

TEST(Ras, EmptyPhonebookEnumeratesNothing) {
  test_support::TempDevice device;
  uint32_t bytes = 0, count = 7;
  EXPECT_EQ(RasEnumEntries(nullptr, nullptr, nullptr, &bytes, &count), 0);
  EXPECT_EQ(count, 0u);
}

TEST(Ras, EntryPropertiesAndTheBlockSizeQuery) {
  test_support::TempDevice device;
  const std::vector<uint8_t> block{1, 2, 3, 4, 5};
  ASSERT_EQ(Set(u"Web", EntryWithNumber(u"*99***1#"), &block), 0);

  RasEntry e{};
  e.size = sizeof e;
  uint32_t entrySize = sizeof e, blockSize = 0;
  EXPECT_EQ(RasGetEntryProperties(nullptr, u"WEB", &e, &entrySize, nullptr, &blockSize),
            kRasErrorBufferTooSmall);
  EXPECT_EQ(blockSize, 5u);
  EXPECT_EQ(e.localPhoneNumber[0], 0);  // nothing written on failure

  std::array<uint8_t, 7> buffer;
  buffer.fill(0xCC);
  blockSize = 4;
  EXPECT_EQ(RasGetEntryProperties(nullptr, u"Web", &e, &entrySize, buffer.data(), &blockSize),
            kRasErrorBufferTooSmall);
  EXPECT_EQ(buffer[0], 0xCC);
  blockSize = 5;
  ASSERT_EQ(RasGetEntryProperties(nullptr, u"Web", &e, &entrySize, buffer.data(), &blockSize), 0);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 5), block);
  EXPECT_EQ(buffer[5], 0xCC);  // guard bytes after the block
  EXPECT_EQ(RasText(e.localPhoneNumber), u"*99***1#");
  EXPECT_EQ(e.countryCode, 33u);
  EXPECT_EQ(e.ipAddr.bytes[3], 1);
  EXPECT_EQ(e.ipAddr.bytes[0], 4);

  // Properties written again without a block keep the entry's block.
  ASSERT_EQ(Set(u"web", EntryWithNumber(u"*99#")), 0);
  PhonebookEntry stored;
  ASSERT_EQ(ReadPhonebookEntry(u"Web", stored), 0);
  EXPECT_EQ(stored.deviceConfig, block);
  EXPECT_EQ(stored.name, u"Web");  // the name it was created with
  EXPECT_EQ(RasText(stored.entry.localPhoneNumber), u"*99#");
}

TEST(Ras, ResultCodes) {
  test_support::TempDevice device;
  RasEntry e = EntryWithNumber(u"1");
  uint32_t size = sizeof e;
  EXPECT_EQ(RasGetEntryProperties(nullptr, u"None", &e, &size, nullptr, nullptr),
            kRasErrorCannotFindPhonebookEntry);
  EXPECT_EQ(RasDeleteEntry(nullptr, u"None"), kRasErrorCannotFindPhonebookEntry);
  EXPECT_EQ(Set(u"Twenty one characters", e), kErrorInvalidName);
  EXPECT_EQ(Set(u"Twenty characters ok", e), 0);
  EXPECT_EQ(Set(u"a\\b", e), kErrorInvalidName);
  EXPECT_EQ(Set(u"   ", e), kErrorInvalidName);
  EXPECT_EQ(Set(u".hidden", e), kErrorInvalidName);
  RasEntry wrong = e;
  wrong.size = 3468;
  EXPECT_EQ(Set(u"Web", wrong), kRasErrorInvalidSize);
  RasEntry unterminated = e;
  std::fill(std::begin(unterminated.areaCode), std::end(unterminated.areaCode), u'1');
  EXPECT_EQ(Set(u"Web", unterminated), kErrorInvalidParameter);
  EXPECT_EQ(RasSetEntryProperties(u"other.pbk", u"Web", &e, sizeof e, nullptr, 0),
            kRasErrorCannotOpenPhonebook);
  ASSERT_EQ(RasDeleteEntry(nullptr, u"TWENTY CHARACTERS OK"), 0);
  EXPECT_FALSE(PhonebookEntryExists(u"Twenty characters ok"));
}

TEST(Ras, DialParamsKeepOrRemoveThePassword) {
  test_support::TempDevice device;
  ASSERT_EQ(Set(u"Web", EntryWithNumber(u"*99#")), 0);
  RasDialParams p{};
  p.size = sizeof p;
  CopyRasText(p.entryName, u"Web");
  CopyRasText(p.userName, u"orange");
  CopyRasText(p.password, u"secret");
  ASSERT_EQ(RasSetEntryDialParams(nullptr, &p, false), 0);

  RasDialParams back{};
  back.size = sizeof back;
  CopyRasText(back.entryName, u"web");
  bool saved = false;
  ASSERT_EQ(RasGetEntryDialParams(nullptr, &back, &saved), 0);
  EXPECT_TRUE(saved);
  EXPECT_EQ(RasText(back.userName), u"orange");
  EXPECT_EQ(RasText(back.password), u"secret");

  ASSERT_EQ(RasSetEntryDialParams(nullptr, &p, true), 0);
  ASSERT_EQ(RasGetEntryDialParams(nullptr, &back, &saved), 0);
  EXPECT_FALSE(saved);
  EXPECT_EQ(RasText(back.password), u"");

  CopyRasText(p.entryName, u"Missing");
  EXPECT_EQ(RasSetEntryDialParams(nullptr, &p, false), kRasErrorCannotFindPhonebookEntry);
  p.size = 1462;
  EXPECT_EQ(RasSetEntryDialParams(nullptr, &p, false), kRasErrorInvalidSize);
}

// A value that does not fit its field makes the entry unreadable rather
// than cut.
TEST(Ras, StoredValuesThatDoNotFitAreReportedNotCut) {
  test_support::TempDevice device;
  ASSERT_EQ(Set(u"Web", EntryWithNumber(u"*99#")), 0);
  RegistryKey key;
  ASSERT_EQ(key.Open(Hive::CurrentUser, u"Comm\\RasBook\\Web"), 0);
  struct Case {
    const char16_t* value;
    WString text;
  } cases[] = {{u"AreaCode", WString(11, u'1')}, {u"IpAddr", u"1.2.3.256"}, {u"DnsAddr", u"1.2.3"}};
  for (const Case& c : cases) {
    ASSERT_EQ(Set(u"Web", EntryWithNumber(u"*99#")), 0);
    ASSERT_EQ(key.SetString(c.value, c.text), 0);
    PhonebookEntry stored;
    EXPECT_EQ(ReadPhonebookEntry(u"Web", stored), kRasErrorCorruptPhonebook) << platform::ToUtf8(c.value);
  }
  ASSERT_EQ(Set(u"Web", EntryWithNumber(u"*99#")), 0);
  ASSERT_EQ(key.SetDword(u"Phone", 1), 0);
  PhonebookEntry stored;
  EXPECT_EQ(ReadPhonebookEntry(u"Web", stored), kRasErrorCorruptPhonebook);
}

TEST(RasDeviceConfig, BlocksOfBothLayoutsReadBack) {
  DeviceConfigSettings s;
  s.dteSpeed = 115200;
  s.setupTimeout = 90;
  s.modemOptions = 16;
  s.command = u"+CGDCONT=1,\"IP\",\"orange.fr\"";
  for (const DeviceConfigLayout* layout : {&kPocketPcDeviceConfig, &kOtherDeviceConfig}) {
    std::vector<uint8_t> block = BuildDeviceConfig(*layout, s);
    ASSERT_EQ(block.size(), 128u);
    EXPECT_EQ(block[0], 128);  // the block's size
    EXPECT_EQ(block[layout->speedOffset], 0x00);
    EXPECT_EQ(block[layout->speedOffset + 1], 0xC2);
    EXPECT_EQ(block[layout->speedOffset + 2], 0x01);
    EXPECT_EQ(block[layout->timeoutOffset], 90);
    EXPECT_EQ(block[layout->commandOffset], '+');
    auto back = DecodeDeviceConfig(*layout, block);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dteSpeed, 115200u);
    EXPECT_EQ(back->command, s.command);
    EXPECT_FALSE(DecodeDeviceConfig(*layout, std::span(block).first(layout->commandOffset + 2)));
  }
  s.command = WString(39, u'x');
  EXPECT_TRUE(BuildDeviceConfig(kPocketPcDeviceConfig, s).empty());
  EXPECT_EQ(&DeviceConfigLayoutFor("PocketPC"), &kPocketPcDeviceConfig);
  EXPECT_EQ(&DeviceConfigLayoutFor("Smartphone"), &kOtherDeviceConfig);
}

TEST(RasDefaultEntry, NamedByTheLanguageWithABlockOfThePlatform) {
  struct Case {
    const char* language;
    const char* platform;
    const char16_t* name;
    size_t commandOffset;
  } cases[] = {{"en", "PocketPC", u"`38400 Default", 22},
               {"fr", "PocketPC", u"`D\u00e9faut 38400", 22},
               {"en", "Smartphone", u"`38400 Default", 46}};
  for (const Case& c : cases) {
    DeviceConfig config;
    config.uiLanguage = c.language;
    config.platformType = c.platform;
    DefaultPhonebookEntry entry = MakeDefaultPhonebookEntry(config);
    EXPECT_EQ(entry.name, c.name);
    const RegistryValue* block = nullptr;
    for (const RegistryValue& v : entry.values)
      if (v.name == u"DevCfg") block = &v;
    ASSERT_NE(block, nullptr);
    auto settings = DecodeDeviceConfig(DeviceConfigLayoutFor(c.platform), block->data);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->dteSpeed, 38400u) << c.language << " " << c.platform;
    // Long enough for a command string of the layout's whole capacity.
    EXPECT_GE(block->data.size(), c.commandOffset + 2 * (c.commandOffset == 22 ? 39 : 38));
  }
}

}  // namespace
}  // namespace platform
