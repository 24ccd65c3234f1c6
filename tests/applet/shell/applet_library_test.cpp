// The applet library as its hosts see it: \Windows\VELM.CPL loaded on a
// phone laid out by "handheld init", driven through its exported entries.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/device.h"
#include "platform/device_config.h"
#include "platform/icon_handles.h"
#include "platform/journal.h"
#include "platform/module.h"
#include "platform/named_mutex.h"
#include "platform/registry.h"
#include "platform/resource_library.h"
#include "tests/tools/handheld_run.h"

namespace {

using platform::WString;

using CPlAppletFunction = int32_t (*)(void*, uint32_t, intptr_t, intptr_t);
using EntryFunction = int (*)();

struct NewCplInfo {
  uint32_t dwSize, dwFlags, dwHelpContext, lData, hIcon;
  char16_t szName[32], szInfo[64], szHelpFile[128];
};
static_assert(sizeof(NewCplInfo) == 468);

constexpr char kDialogShown[] = "operator dialog to be shown: no window for it yet, ends as cancelled";

class AppletLibrary : public handheld_test::HandheldCommand {
 protected:
  void SetUp() override {
    HandheldCommand::SetUp();
    const handheld_test::CommandRun init = handheld_test::Handheld("init " + Dir());
    ASSERT_EQ(init.exitCode, 0) << init.output;
    device_ = std::make_unique<platform::ScopedDevice>(dir_);
  }
  void TearDown() override {
    library_.Free();
    device_.reset();
    HandheldCommand::TearDown();
  }

  void Load() {
    ASSERT_EQ(library_.Load(u"\\Windows\\VELM.CPL"), platform::kErrorSuccess) << library_.LoadMessage();
    cpl_ = library_.ExportAs<CPlAppletFunction>("CPlApplet");
    ASSERT_NE(cpl_, nullptr);
  }
  int32_t Cpl(uint32_t message, intptr_t l1 = 0, void* l2 = nullptr) {
    return cpl_(nullptr, message, l1, reinterpret_cast<intptr_t>(l2));
  }
  int Entry(const char* name) { return library_.ExportAs<EntryFunction>(name)(); }
  std::vector<std::string> Journal(size_t from = 0) {
    std::vector<std::string> events;
    const auto lines = device_->Get().Journal().Lines();
    for (size_t i = from; i < lines.size(); ++i) events.push_back(lines[i].substr(lines[i].find(' ') + 1));
    return events;
  }
  size_t JournalSize() { return device_->Get().Journal().Lines().size(); }
  static bool Has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
  }
  void SetRunningProcesses(std::vector<std::string> names) {
    platform::DeviceConfig config = device_->Get().Config();
    config.runningProcesses = std::move(names);
    ASSERT_TRUE(config.ToIni().Save(device_->Get().ConfigPath()));
    device_->Get().ReloadConfig();
  }

  std::unique_ptr<platform::ScopedDevice> device_;
  platform::Module library_;
  CPlAppletFunction cpl_ = nullptr;
};

TEST_F(AppletLibrary, OnlyTheEntriesAreExported) {
  Load();
  for (const char* name : {"CPlApplet", "OnBoot", "OnDebug", "DllMain"})
    EXPECT_NE(library_.Export(name), nullptr) << name;
  for (const char* name : {"_ZN6applet14CSettingsStore5ApplyEv", "ReadSimIdentity"})
    EXPECT_EQ(library_.Export(name), nullptr) << name;
}

TEST_F(AppletLibrary, TheControlPanelMessages) {
  Load();
  EXPECT_EQ(Cpl(1), 1);  // CPL_INIT
  EXPECT_EQ(Cpl(1), 1);
  EXPECT_EQ(Cpl(2), 2);  // CPL_GETCOUNT

  NewCplInfo info;
  std::memset(&info, 0xAB, sizeof info);
  EXPECT_EQ(Cpl(8, 1, &info), 0);  // CPL_NEWINQUIRE, the second applet
  EXPECT_EQ(info.dwSize, 468u);
  EXPECT_EQ(info.dwFlags, 0xABABABABu);
  EXPECT_EQ(info.dwHelpContext, 0xABABABABu);
  EXPECT_EQ(info.lData, 0u);
  EXPECT_EQ(WString(info.szName), u"Connection Setup");
  EXPECT_EQ(WString(info.szInfo), u"Sets up Internet, WAP and MMS connections for your operator");
  EXPECT_EQ(info.szHelpFile[0], 0xABAB);
  EXPECT_EQ(info.szHelpFile[127], 0xABAB);
  const auto icon = platform::IconOfHandle(info.hIcon);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->width, 32);
  platform::DestroyIcon(info.hIcon);

  char16_t name[16];
  std::memset(name, 0xAB, sizeof name);
  EXPECT_EQ(Cpl(100, 0, name), 0);  // CPL_IDNAME
  EXPECT_EQ(WString(name), u"ORLO_VELM");
  EXPECT_EQ(name[10], 0xABAB);

  for (uint32_t other : {3u, 6u, 7u, 9u, 1000u}) EXPECT_EQ(Cpl(other, 0, &info), 0) << other;
  std::memset(&info, 0xAB, sizeof info);
  EXPECT_EQ(Cpl(8, 2, &info), 0);  // beyond the list: nothing
  EXPECT_EQ(Cpl(8, -1, &info), 0);
  EXPECT_EQ(info.dwSize, 0xABABABABu);
  EXPECT_TRUE(Journal().empty());
  EXPECT_EQ(Cpl(4, 5), 0);  // CPL_SELECT of no applet
  EXPECT_TRUE(Journal().empty());
}

TEST_F(AppletLibrary, SelectAndDoubleClickOpenTheDialogEveryTime) {
  Load();
  Cpl(1);
  // Each open takes the single-instance mutex only while it runs, so the
  // control panel opens the applet again and again.
  for (uint32_t message : {5u, 4u, 5u}) {
    const size_t before = JournalSize();
    EXPECT_EQ(Cpl(message, 0), 0);
    EXPECT_EQ(Journal(before), std::vector<std::string>{kDialogShown});
  }
}

TEST_F(AppletLibrary, AnotherCopyRunningBeepsAndBroadcasts) {
  Load();
  Cpl(1);
  platform::NamedMutex other;  // a copy of the applet in another process
  bool existed = true;
  ASSERT_EQ(other.Create(u"VELMsingleInstanceMux", true, &existed), platform::kErrorSuccess);
  ASSERT_FALSE(existed);
  const std::vector<std::string> refused{"beep exclamation",
                                         "broadcast VELMsingleInstanceMsg wParam=0x0 lParam=0x0 to 0 windows"};
  const std::function<void()> entries[] = {
      [this] { Cpl(5, 0); }, [this] { Entry("OnDebug"); }, [this] { Entry("OnBoot"); }};
  for (const auto& run : entries) {
    const size_t before = JournalSize();
    run();
    EXPECT_EQ(Journal(before), refused);
  }
  other.Close();
  const size_t before = JournalSize();
  EXPECT_EQ(Entry("OnDebug"), 0);
  EXPECT_EQ(Journal(before), std::vector<std::string>{kDialogShown});
}

TEST_F(AppletLibrary, OnBootConfiguresTheDeviceForTheSim) {
  Load();
  EXPECT_EQ(Entry("OnBoot"), 0);
  const auto journal = Journal();
  EXPECT_TRUE(Has(journal, "event set QZ_MMSDetected"));
  EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                          [](const std::string& l) { return l.starts_with("configuration manager accepted"); }),
            6);
  platform::RegistryKey key;
  ASSERT_EQ(key.Open(platform::Hive::CurrentUser, u"SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings"), 0);
  WString hardReset;
  EXPECT_EQ(key.QueryString(u"HardReset", hardReset), 0);
  EXPECT_EQ(hardReset, u"N");
  // The caller's resource source is the caller's again.
  EXPECT_EQ(platform::CurrentResourceSource(), nullptr);
}

TEST_F(AppletLibrary, TheStressToolKeepsTheAppletIdle) {
  SetRunningProcesses({"HOPPER.EXE"});
  Load();
  Cpl(1);
  EXPECT_EQ(Cpl(5, 0), 0);
  EXPECT_EQ(Entry("OnBoot"), 0);
  EXPECT_TRUE(Journal().empty());
  // The debug entry has no such guard.
  EXPECT_EQ(Entry("OnDebug"), 0);
  EXPECT_EQ(Journal(), std::vector<std::string>{kDialogShown});
}

TEST_F(AppletLibrary, WithoutItsResourceLibraryTheLibraryDoesNotLoad) {
  std::filesystem::remove(device_->Get().FileSystemRoot() / "Yvra ROM/GPRS Settings/RondelRes.res");
  EXPECT_EQ(library_.Load(u"\\Windows\\VELM.CPL"), platform::kErrorDllInitFailed);
  EXPECT_FALSE(library_.IsLoaded());
}

}  // namespace
