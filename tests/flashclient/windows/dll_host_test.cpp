// DRKClientDriver.dll as a desktop update program uses it: loaded at run
// time, every export looked up by its exported name, two images flashed to
// bootloader-sim behind a Wine COM port. The Linux side checks what the
// simulator received.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/flashclient/windows/wine_handoff.h"
#include "tests/flashclient/windows/win32_test_support.h"

namespace {

using NoArgs = int (*)();
using TextArg = int (*)(const char*);
using OutBuffer = int (*)(char*);
using ImageArgs = int (*)(const char*, int);
using IntArg = int (*)(int);

// Every name the DLL exports.
const char* const kExportNames[] = {
    "Client_Initialize", "Client_Shutdown",  "Client_StartFlash",  "Client_FlashOS",         "Client_FlashCS",
    "Client_FlashFS",    "Client_FlashWAN",  "Client_FlashMC",     "Client_FlashBL",         "Client_FlashAD",
    "Client_M8346B",     "Client_M8346D",    "Client_M8346E",      "Client_BL_Mode",         "Client_ModelID",
    "Client_OS_Ver",     "Client_OS_Lang",   "Client_SetPartitionSize", "Client_Component", "Client_Progress",
    "Client_StatusMsg",  "Client_Logging",   "?CreateReformatTimer@@YAHXZ",
};

// The flash takes a few seconds; the host gives up well after.
constexpr int kProgressPolls = 1200;
constexpr DWORD kProgressPollMs = 50;

class DllHost : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = ::LoadLibraryA("DRKClientDriver.dll");
    ASSERT_NE(library_, nullptr) << "error " << ::GetLastError();
  }
  void TearDown() override {
    if (library_ != nullptr) ::FreeLibrary(library_);
  }
  template <typename Function>
  Function Export(const char* name) {
    FARPROC address = ::GetProcAddress(library_, name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  }

  HMODULE library_ = nullptr;
};

TEST_F(DllHost, FindsEveryExportUnderItsName) {
  for (const char* name : kExportNames) EXPECT_NE(::GetProcAddress(library_, name), nullptr) << name;
  // CreateReformatTimer only under its decorated name.
  EXPECT_EQ(::GetProcAddress(library_, "CreateReformatTimer"), nullptr);
}

TEST_F(DllHost, FlashesTwoImages) {
  const std::string sim = wintest::Env(winetest::kSimPortEnv);
  const std::string os = wintest::Env(winetest::kOsImageEnv);
  const std::string radio = wintest::Env(winetest::kRadioImageEnv);
  if (sim.empty() || os.empty() || radio.empty()) GTEST_SKIP() << "run through flashclient_wine_tests";
  wintest::ScopedEnv port("DRK_SERIAL_PORT", sim.c_str());
  wintest::TempFolder folder;  // the log files

  EXPECT_EQ(Export<IntArg>("Client_Logging")(1), 1);
  ASSERT_EQ(Export<NoArgs>("Client_Initialize")(), 0) << folder.ReadFileStartingWith("drk");
  char text[256] = {};
  Export<OutBuffer>("Client_ModelID")(text);
  EXPECT_STREQ(text, "Yvra t4170");
  Export<OutBuffer>("Client_OS_Ver")(text);
  EXPECT_STREQ(text, "4.21.123");
  Export<OutBuffer>("Client_OS_Lang")(text);
  EXPECT_STREQ(text, "English");
  EXPECT_EQ(Export<TextArg>("Client_BL_Mode")("Yvra t4170"), 0);

  EXPECT_EQ(Export<ImageArgs>("Client_FlashOS")(os.c_str(), winetest::kOsHeaderLength), 0);
  EXPECT_EQ(Export<ImageArgs>("Client_M8346B")(radio.c_str(), winetest::kRadioHeaderLength), 0);
  EXPECT_EQ(Export<ImageArgs>("Client_FlashFS")("Z:\\no\\such\\image.nb0", 0), 401);
  // The failed selection left progress at -2, which a new identification
  // clears; the device is not asked again.
  ASSERT_EQ(Export<NoArgs>("Client_Initialize")(), 0);
  EXPECT_EQ(Export<NoArgs>("Client_StartFlash")(), 1);

  std::set<std::string> statuses;
  int progress = 0;
  for (int poll = 0; poll < kProgressPolls; ++poll) {
    progress = Export<NoArgs>("Client_Progress")();
    Export<OutBuffer>("Client_StatusMsg")(text);
    statuses.insert(text);
    if (progress >= 100 || progress < 0) break;
    ::Sleep(kProgressPollMs);
  }
  ASSERT_EQ(progress, 100) << folder.ReadFileStartingWith("drk");
  EXPECT_TRUE(statuses.count("Flashing OS...") == 1 && statuses.count("Flashing GSM Firmware...") == 1)
      << "statuses seen: " << statuses.size();

  // The timer thread it starts outlives the test: the process must still
  // end, with the library unloaded after it.
  EXPECT_EQ(Export<NoArgs>("?CreateReformatTimer@@YAHXZ")(), 1);
  EXPECT_EQ(Export<NoArgs>("Client_Progress")(), 100);
  EXPECT_EQ(Export<NoArgs>("Client_Shutdown")(), 0);
}

}  // namespace
