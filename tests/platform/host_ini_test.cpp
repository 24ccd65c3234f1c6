// The emulator's own settings files: what parses, and the kind and line of
// each fault.

#include "platform/host_ini.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(HostIni, ReadsSectionsKeysAndComments) {
  HostIni::Error error;
  auto ini = HostIni::Parse("\xEF\xBB\xBF; settings\n[SIM]\r\n  Status = ready \n# note\nIMSI=208\n[sim]\nimsi=209\n",
                            &error);
  ASSERT_TRUE(ini.has_value()) << error.message;
  EXPECT_EQ(ini->Get("Sim", "STATUS"), "ready");
  EXPECT_EQ(ini->Get("SIM", "IMSI"), "209");  // the later line wins, sections merge
  EXPECT_EQ(ini->Format(), "[SIM]\nStatus=ready\nIMSI=209\n");
}

TEST(HostIni, FaultsHaveAKindAndALine) {
  struct Case {
    std::string text;
    HostIniStatus status;
    size_t line;
  } cases[] = {
      {"[SIM\nIMSI=1\n", HostIniStatus::UnclosedSection, 1},
      {"[SIM]\nIMSI\n", HostIniStatus::NotKeyValue, 2},
      {"; first\nIMSI=1\n", HostIniStatus::KeyOutsideSection, 2},
      {"[SIM]\n" + std::string(HostIni::kMaxLineLength + 1, 'x') + "\n", HostIniStatus::LineTooLong, 2},
  };
  for (const Case& c : cases) {
    HostIni::Error error;
    EXPECT_FALSE(HostIni::Parse(c.text, &error).has_value()) << c.text.substr(0, 20);
    EXPECT_EQ(error.status, c.status) << error.message;
    EXPECT_EQ(error.line, c.line) << error.message;
  }
}

TEST(HostIni, AMissingFileIsToldApartFromAnUnreadableOne) {
  test_support::TempDevice device;
  struct Case {
    const char* name;
    std::string content;  // empty: not created; "/": a folder
    HostIniStatus status;
  } cases[] = {
      {"absent.ini", "", HostIniStatus::Missing},
      {"folder.ini", "/", HostIniStatus::Unreadable},
      {"large.ini", std::string(HostIni::kMaxFileSize + 1, ';'), HostIniStatus::Unreadable},
  };
  for (const Case& c : cases) {
    const auto path = device.Root() / c.name;
    if (c.content == "/") std::filesystem::create_directory(path);
    else if (!c.content.empty()) std::ofstream(path) << c.content;
    HostIni::Error error;
    EXPECT_FALSE(HostIni::Load(path, &error).has_value()) << c.name;
    EXPECT_EQ(error.status, c.status) << c.name << ": " << error.message;
    EXPECT_EQ(error.line, 0u) << c.name;
  }
  HostIni::Error error;
  EXPECT_FALSE(HostIni::Load(device.Root() / "no folder" / "x.ini", &error).has_value());
  EXPECT_EQ(error.status, HostIniStatus::Missing);
}

}  // namespace
}  // namespace platform
