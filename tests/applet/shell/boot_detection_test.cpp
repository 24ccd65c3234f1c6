// The boot-time configuration: the SIM read through the maker's library,
// the home network code, and DetectOperator in boot mode deciding whether to
// configure, re-apply or do nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "applet/shell/applet_data.h"
#include "applet/shell/applet_folders.h"
#include "applet/shell/operator_dialog.h"
#include "applet/shell/sim_identity.h"
#include "platform/automation/answer_queue.h"
#include "platform/registry.h"
#include "platform/sim_config.h"
#include "tests/applet/shell/boot_device.h"

namespace applet {
namespace {

using platform::Hive;
using platform::WString;
using test::BootDevice;

constexpr char kOrangeSim[] = "208011234567890";
constexpr char kVodafoneSim[] = "234151234567890";

const WString kSettings = WString(u"\\") + kSettingsKey;

// What OnBoot does once the entry's checks passed.
void Boot() {
  COperatorDialog dialog;
  dialog.Settings().Load();
  dialog.DetectOperator(/*boot=*/true);
}

CVELMRASparam& StoredRecord() {
  CSettingsStore store;
  store.Load();
  return store.CurrentRecord();
}

bool Has(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

size_t DocumentsIn(const std::vector<std::string>& journal) {
  return std::count_if(journal.begin(), journal.end(), [](const std::string& line) {
    return line.starts_with("configuration manager accepted");
  });
}

void SetHardReset(const std::optional<WString>& value) {
  platform::RegistryKey key;
  ASSERT_EQ(key.Open(Hive::CurrentUser, kSettingsKey), platform::kErrorSuccess);
  if (value)
    key.SetString(u"HardReset", *value);
  else
    key.DeleteValue(u"HardReset");
}

TEST(HomeNetworkCode, CountryAndNetworkCodeBeforeAnyComma) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"208011234567890", u"20801"}, {u"2080", u"2080"}, {u"20,8011234", u"20"},
      {u"20801,99", u"20801"},        {u"", u""},         {u",1", u""},
  };
  for (const auto& [imsi, code] : cases) EXPECT_EQ(HomeNetworkCode(imsi), code) << platform::ToUtf8(imsi);
}

TEST(ReadSimIdentity, EveryResultCode) {
  struct Case {
    const char* name;
    uint32_t status;
    const char* imsi;
    const char* library;  // what \Windows\QZUtil.dll is: "sim", "none", "other"
    SimReadResult result;
  };
  const Case cases[] = {
      {"library missing", 1, kOrangeSim, "none", SimReadResult::NoLibrary},
      {"library without the functions", 1, kOrangeSim, "other", SimReadResult::NoFunction},
      {"FF000001", 0xFF000001, kOrangeSim, "sim", SimReadResult::StatusFF000001},
      {"FF000003", 0xFF000003, kOrangeSim, "sim", SimReadResult::SimUnreadable},
      {"ready without identity", 1, "", "sim", SimReadResult::SimUnreadable},
      {"FF000002", 0xFF000002, kOrangeSim, "sim", SimReadResult::StatusFF000002},
      {"another status", 0x00000002, kOrangeSim, "sim", SimReadResult::OtherStatus},
      {"ready", 1, kOrangeSim, "sim", SimReadResult::Read},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BootDevice device;
    device.SetSim(c.status, c.imsi);
    const auto library = device.Temp().HostPath("Windows/QZUtil.dll");
    if (std::string(c.library) == "none") std::filesystem::remove(library);
    if (std::string(c.library) == "other")
      std::filesystem::copy_file(device.Temp().HostPath("Windows/Yvrautil.dll"), library,
                                 std::filesystem::copy_options::overwrite_existing);
    WString imsi = u"untouched";
    EXPECT_EQ(ReadSimIdentity(imsi), c.result);
    EXPECT_EQ(imsi, c.result == SimReadResult::Read ? WString(u"208011234567890") : WString(u"untouched"));

    // Only a SIM that was read leads anywhere at boot.
    const size_t before = device.JournalSize();
    Boot();
    EXPECT_EQ(DocumentsIn(device.JournalFrom(before)), c.result == SimReadResult::Read ? 6u : 0u);
    EXPECT_EQ(StoredRecord().homeNetworkNumber, c.result == SimReadResult::Read ? u"20801" : u"");
  }
}

TEST(BootDetection, FirstBootConfiguresThenTheSameSimDoesNothing) {
  BootDevice device;
  device.SetSim(platform::SimConfig::kReady, kOrangeSim);
  Boot();
  const CVELMRASparam& r = StoredRecord();
  EXPECT_EQ(r.operatorName, u"Orange F");
  EXPECT_EQ(r.countryName, u"France");
  EXPECT_EQ(r.homeNetworkNumber, u"20801");  // the code, not the operator's whole list
  EXPECT_EQ(r.entryName, u"Orange F GPRS");
  EXPECT_EQ(r.smsCenter, u"+33689004000");
  EXPECT_EQ(BootDevice::Text(Hive::CurrentUser, kSettings, u"HardReset"), "N");
  EXPECT_TRUE(Has(BootDevice::PhonebookEntries(), "Orange F GPRS"));

  const size_t before = device.JournalSize();
  Boot();
  EXPECT_TRUE(device.JournalFrom(before).empty());
}

TEST(BootDetection, TheSameSimReappliesUnlessHardResetIsN) {
  const std::pair<std::optional<WString>, bool> cases[] = {
      {WString(u"N"), false}, {WString(u"n"), true}, {WString(u"Y"), true}, {std::nullopt, true}};
  for (const auto& [value, reapplies] : cases) {
    SCOPED_TRACE(value ? platform::ToUtf8(*value) : "absent");
    BootDevice device;
    device.SetSim(platform::SimConfig::kReady, kOrangeSim);
    Boot();
    SetHardReset(value);
    const size_t before = device.JournalSize();
    Boot();
    const auto journal = device.JournalFrom(before);
    EXPECT_EQ(DocumentsIn(journal) > 0, reapplies);
    EXPECT_EQ(StoredRecord().operatorName, u"Orange F");  // the stored record, unchanged
    EXPECT_EQ(BootDevice::Text(Hive::CurrentUser, kSettings, u"HardReset"), "N");
  }
}

TEST(BootDetection, AnotherSimReplacesTheFirstOperatorsConnections) {
  BootDevice device;
  device.SetSim(platform::SimConfig::kReady, kOrangeSim);
  Boot();
  device.SetSim(platform::SimConfig::kReady, kVodafoneSim);
  Boot();
  const auto entries = BootDevice::PhonebookEntries();
  for (const char* gone : {"Orange F GPRS", "Orange F MMS", "WAP Orange F"}) EXPECT_FALSE(Has(entries, gone)) << gone;
  for (const char* made : {"Vodafone UK GPRS", "Vodafone UK MMS", "WAP Vodafone UK"})
    EXPECT_TRUE(Has(entries, made)) << made;
  EXPECT_EQ(StoredRecord().homeNetworkNumber, u"23415");
}

TEST(BootDetection, WhichOperatorTheCodeFinds) {
  struct Case {
    const char* imsi;
    const char16_t* operatorName;  // null: not found
  };
  const Case cases[] = {
      {"901051234567890", u"First Of Two"},  // the first section listing the code wins
      {"901,234567", u"Short Code"},         // the code stops at the comma
      {"901021234567890", u"CSD Only"},
      {"901071234567890", nullptr},          // "9010" and "901" are other codes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.imsi);
    BootDevice device({.testOperators = true});
    device.SetSim(platform::SimConfig::kReady, c.imsi);
    Boot();
    EXPECT_EQ(StoredRecord().operatorName, c.operatorName ? WString(c.operatorName) : WString());
  }
  BootDevice device({.testOperators = true});
  device.SetSim(platform::SimConfig::kReady, "901021234567890");
  Boot();
  EXPECT_EQ(StoredRecord().bearer, BearerType::Csd);
  EXPECT_EQ(StoredRecord().entryName, u"CSD Only CSD");
}

TEST(BootDetection, AnOperatorWithoutGprsOrCsdIsNotApplied) {
  BootDevice device({.testOperators = true});
  device.SetSim(platform::SimConfig::kReady, "901031234567890");
  Boot();
  EXPECT_EQ(DocumentsIn(device.Journal()), 0u);
  EXPECT_EQ(BootDevice::Text(Hive::CurrentUser, kSettings, u"HardReset"), "(absent)");
  EXPECT_TRUE(StoredRecord().homeNetworkNumber.empty());
}

TEST(BootDetection, AnUnknownOperatorAsksAndOnYesOpensTheDialog) {
  const std::string question =
      "message box \"Connection Setup\": \"The operator of this SIM card is not in the list. Do you "
      "want to choose your operator yourself?\" (question; yes/no) answered ";
  struct Case {
    std::vector<std::string> queued;
    std::string answer;
    std::string note;
    bool dialog;
  };
  const Case cases[] = {
      {{"no"}, "no", "answer queue: no", false},
      {{}, "no", "answer queue empty: message box dismissed with no", false},
      {{"yes"}, "yes", "answer queue: yes", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    BootDevice device;
    device.SetSim(platform::SimConfig::kReady, "999991234567890");
    if (!c.queued.empty()) {
      ASSERT_TRUE(platform::QueueAnswers(c.queued));
    }
    Boot();
    const auto journal = device.Journal();
    EXPECT_TRUE(Has(journal, question + c.answer)) << ::testing::PrintToString(journal);
    EXPECT_TRUE(Has(journal, c.note)) << ::testing::PrintToString(journal);
    EXPECT_EQ(Has(journal, "operator dialog to be shown (starting at the placeholder operator): no "
                           "window for it yet, ends as cancelled"),
              c.dialog);
    EXPECT_EQ(DocumentsIn(journal), 0u);
    EXPECT_TRUE(StoredRecord().homeNetworkNumber.empty());
  }
}

}  // namespace
}  // namespace applet
