// The boot launcher: which entry the command line selects, and the program
// as a reset starts it.

#include "launcher/boot_launcher.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/process.h"
#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace launcher {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Events(test_support::TempDevice& device) {
  std::vector<std::string> events;
  for (const std::string& line : device.Device().Journal().Lines()) events.push_back(line.substr(7));
  return events;
}

TEST(BootLauncher, TheDebugSwitchAnywhereLetterCaseAsWritten) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"", "OnBoot"},          {u"/DEBUG", "OnDebug"}, {u"x /DEBUGGING", "OnDebug"},
      {u"a/DEBUGb", "OnDebug"}, {u"/debug", "OnBoot"},  {u"/Debug", "OnBoot"},
      {u"-DEBUG", "OnBoot"},    {u"/DEBU G", "OnBoot"},
  };
  for (const auto& [line, entry] : cases) EXPECT_STREQ(EntryFor(line), entry) << platform::ToUtf8(line);
}

TEST(BootLauncher, CallsTheSelectedEntry) {
  test_support::TempDevice device;
  fs::copy_file(FAKE_APPLET_PATH, device.HostPath("Windows/VELM.CPL"));
  EXPECT_FALSE(CVELMautoApp(u"").InitInstance());
  EXPECT_FALSE(CVELMautoApp(u"/DEBUGGING").InitInstance());
  EXPECT_EQ(Events(device), (std::vector<std::string>{"fake applet: OnBoot", "fake applet: OnDebug"}));
}

TEST(BootLauncher, AMissingLibraryOrEntryIsSilent) {
  test_support::TempDevice device;
  EXPECT_FALSE(CVELMautoApp(u"").InitInstance());
  fs::copy_file(FAKE_BOOT_ONLY_PATH, device.HostPath("Windows/VELM.CPL"));
  EXPECT_FALSE(CVELMautoApp(u"/DEBUG").InitInstance());
  device.WriteFile("Windows/VELM.CPL", "not a library");
  EXPECT_FALSE(CVELMautoApp(u"").InitInstance());
  EXPECT_TRUE(Events(device).empty());
}

TEST(BootLauncher, TheProgramAsTheDeviceStartsIt) {
  test_support::TempDevice device;
  fs::copy_file(FAKE_APPLET_PATH, device.HostPath("Windows/VELM.CPL"));
  fs::copy_file(VELMAUTO_PATH, device.HostPath("Windows/VELMauto.exe"));
  for (const char16_t* line : {u"", u"/DEBUG"}) {
    platform::Process process;
    ASSERT_EQ(platform::StartProcess(u"\\Windows\\VELMauto.exe", line, &process), platform::kErrorSuccess);
    EXPECT_EQ(process.Wait(), 0);
  }
  EXPECT_EQ(Events(device), (std::vector<std::string>{"process started: \\Windows\\VELMauto.exe",
                                                      "fake applet: OnBoot",
                                                      "process started: \\Windows\\VELMauto.exe /DEBUG",
                                                      "fake applet: OnDebug"}));
}

}  // namespace
}  // namespace launcher
