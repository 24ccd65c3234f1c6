// The device's OEM code page and character codes in it.
#include "platform/oem_code_page.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(OemCodePageTest, FollowsTheAnsiCodePageAndLocale) {
  struct Case {
    unsigned ansi;
    const char* locale;
    unsigned oem;
  } cases[] = {{1252, "en-US", 437}, {1252, "en-GB", 850}, {1252, "fr-FR", 850},
               {1250, "pl-PL", 852}, {1251, "ru-RU", 866}, {1253, "el-GR", 737},
               {932, "ja-JP", 932},  {9999, "xx", 437}};
  for (const auto& c : cases) EXPECT_EQ(OemCodePageFor(c.ansi, c.locale), c.oem) << c.locale;
}

TEST(OemCodePageTest, CharactersTakeTheDevicesCodes) {
  test_support::TempDevice device;
  DeviceConfig config;
  config.userLocale = "en-US";
  device.SetConfig(config);
  EXPECT_EQ(DeviceOemCodePage(), 437u);
  EXPECT_EQ(CharToOem(u'A'), 'A');
  EXPECT_EQ(CharToOem(u'\u00E9'), 0x82);  // é
  EXPECT_EQ(CharToOem(u'\u2591'), 0xB0);  // light shade
  EXPECT_EQ(CharToOem(u'\u0131'), '?');   // dotless i is not in 437
  EXPECT_EQ(WideToOem(u"\u00C7a"), "\x80" "a");

  config.userLocale = "en-GB";
  device.SetConfig(config);
  EXPECT_EQ(DeviceOemCodePage(), 850u);
  EXPECT_EQ(CharToOem(u'\u0131'), 0xD5);
  EXPECT_EQ(CharToOem(u'\u20AC'), '?');  // no euro sign
}

}  // namespace
}  // namespace platform
