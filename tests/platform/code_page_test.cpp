#include "platform/code_page.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(CodePage, Windows1252BothWays) {
  test_support::TempDevice device;
  ASSERT_EQ(DeviceCodePage(), 1252u);
  const std::string bytes = "T\xe9l\xe9" "com \x80 \xd6sterreich";
  const WString text = u"T\u00e9l\u00e9com \u20ac \u00d6sterreich";
  EXPECT_EQ(AnsiToWide(bytes), text);
  bool lossy = true;
  EXPECT_EQ(WideToAnsi(text, &lossy), bytes);
  EXPECT_FALSE(lossy);
}

TEST(CodePage, UnmappableCharactersAreReported) {
  test_support::TempDevice device;
  bool lossy = false;
  EXPECT_EQ(WideToAnsi(u"a\u0416b", &lossy), "a?b");  // Cyrillic has no place in 1252
  EXPECT_TRUE(lossy);
}

TEST(CodePage, FollowsTheDevice) {
  test_support::TempDevice device;
  DeviceConfig config;
  config.ansiCodePage = 1251;
  device.SetConfig(config);
  EXPECT_EQ(AnsiToWide("\xc6"), u"\u0416");
  EXPECT_EQ(WideToAnsi(u"\u0416"), "\xc6");
  EXPECT_TRUE(IsCodePageSupported(1250));
  EXPECT_FALSE(IsCodePageSupported(4242));
}

}  // namespace
}  // namespace platform
