// The settings store: its folders and registry values, Load with its
// document rules, the operator settings, and Apply end to end on a phone.

#include "applet/shell/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "applet/connections/network_ids.h"
#include "applet/shell/applet_data.h"
#include "applet/shell/applet_folders.h"
#include "applet/shell/mms_client_keys.h"
#include "platform/connection_manager_keys.h"
#include "platform/file.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"
#include "tests/applet/shell/boot_device.h"

namespace applet {
namespace {

using platform::Hive;
using platform::WString;
using test::BootDevice;
using test::BootDeviceOptions;

constexpr char kDocFile[] = "Yvra File Store/GPRS Settings/VELM.DAT";
const WString kSettings = WString(u"\\") + kSettingsKey;

void SetSettingsValue(const char16_t* name, const WString& value) {
  platform::RegistryKey key;
  ASSERT_EQ(key.Open(Hive::CurrentUser, kSettingsKey), platform::kErrorSuccess);
  ASSERT_EQ(key.SetString(name, value), platform::kErrorSuccess);
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// The journal's lines that say what the configuration manager took.
std::vector<std::string> DocumentsAccepted(const std::vector<std::string>& journal) {
  std::vector<std::string> types;
  for (const std::string& line : journal)
    if (line.starts_with("configuration manager accepted document "))
      types.push_back(line.substr(line.find(": ") + 2));
  return types;
}

TEST(SettingsStoreFolders, DefaultsAndTrailingSeparators) {
  BootDevice device;
  platform::RemoveDeviceDirectory(u"\\Yvra File Store\\GPRS Settings");
  {
    CSettingsStore store;
    EXPECT_EQ(store.InstalledFolder(), u"\\Yvra ROM\\GPRS Settings\\");
    EXPECT_EQ(store.WorkingFolder(), u"\\Yvra File Store\\GPRS Settings\\");
    EXPECT_TRUE(platform::IsDirectory(u"\\Yvra File Store\\GPRS Settings"));  // made by the store
    store.Load();
    EXPECT_TRUE(platform::FileExists(u"\\Yvra File Store\\GPRS Settings\\VELM.DAT"));
  }
  SetSettingsValue(kWorkingFolderValue, u"\\Custom");
  SetSettingsValue(CSettingsStore::kHardResetValue, u"N");
  platform::CreateDeviceDirectory(u"\\Custom");
  CSettingsStore store;
  EXPECT_EQ(store.WorkingFolder(), u"\\Custom\\");
  EXPECT_EQ(store.HardReset(), u"N");
  store.Load();
  EXPECT_TRUE(platform::FileExists(u"\\Custom\\VELM.DAT"));
  // No databases in the working folder: the installed ones are read.
  EXPECT_EQ(store.OperatorFolder(), u"\\Yvra ROM\\GPRS Settings\\");
  EXPECT_EQ(store.SmsCenterFolder(), u"\\Yvra ROM\\GPRS Settings\\");
  EXPECT_EQ(SharedAppletData().Operators().FindByHomeNetwork(u"20801"), u"Orange F");
}

TEST(SettingsStoreFolders, WorkingFolderDatabasesComeFirst) {
  BootDevice device({.testOperators = true});
  CSettingsStore store;
  store.Load();
  EXPECT_EQ(store.OperatorFolder(), BootDevice::kWorkingFolder);
  EXPECT_EQ(store.SmsCenterFolder(), BootDevice::kWorkingFolder);
  EXPECT_EQ(SharedAppletData().Operators().FindByHomeNetwork(u"20801"), u"");
  EXPECT_EQ(SharedAppletData().Operators().FindByHomeNetwork(u"90101"), u"Twelve Chars");
  // The dialog's list texts replace the database's own.
  EXPECT_EQ(SharedAppletData().Operators().CustomOperator(), u"(Select your operator)");
}

TEST(SettingsStoreLoad, TakesThePreviousNamesFromTheStoredRecord) {
  BootDevice device;
  {
    CSettingsStore store;
    store.Load();
    CVELMRASparam& r = store.CurrentRecord();
    r.entryName = u"Web";
    r.mmsEntryName = u"Web MMS";
    r.wapProxyName = u"WAP-x";
    ASSERT_TRUE(SharedAppletData().Document().Save());
  }
  SharedAppletData().Document().DeleteContents();
  CSettingsStore store;
  store.Load();
  EXPECT_EQ(store.CurrentRecord().mmsEntryName, u"Web MMS");
  EXPECT_EQ(SharedAppletData().Document().Records().GetSize(), 1u);
}

// A document that is there but cannot be read is kept, not written over.
TEST(SettingsStoreLoad, AnUnreadableDocumentIsKeptAside) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string why;  // as the journal gives it
  };
  std::string stored;
  {
    BootDevice device;
    CSettingsStore store;
    store.Load();
    store.CurrentRecord().operatorName = u"Stored";
    ASSERT_TRUE(SharedAppletData().Document().Save());
    stored = device.Temp().ReadFile(kDocFile);
  }
  std::string newer = stored;
  newer[0] = 7;
  const std::string cut = stored.substr(0, 40);
  const std::string path = "\\Yvra File Store\\GPRS Settings\\VELM.DAT";
  const Case cases[] = {
      {"cut short", cut, "count larger than the data left at byte 29"},
      {"cut inside the version word", std::string("\x06\x00", 2), "file ends inside a value at byte 0"},
      {"newer version", newer, "written by a newer version (7)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BootDevice device;
    device.Temp().WriteFile(kDocFile, c.bytes);
    device.Temp().WriteFile(std::string(kDocFile) + ".bad", "an older bad one");
    CSettingsStore store;
    store.Load();
    EXPECT_EQ(device.Temp().ReadFile(std::string(kDocFile) + ".bad"), c.bytes);
    EXPECT_TRUE(store.CurrentRecord().operatorName.empty());
    const std::string line =
        "document " + path + " cannot be read (" + c.why + "): kept as " + path + ".bad";
    EXPECT_TRUE(Contains(device.Journal(), line)) << ::testing::PrintToString(device.Journal());
    // A fresh document took its place.
    const std::string fresh = device.Temp().ReadFile(kDocFile);
    EXPECT_EQ(fresh.substr(0, 4), std::string("\x06\x00\x00\x00", 4));
    EXPECT_NE(fresh, c.bytes);
  }
}

TEST(OperatorSettings, FilledFromTheOperatorDatabase) {
  BootDevice device({.testOperators = true});
  CSettingsStore store;
  store.Load();

  ASSERT_TRUE(store.LoadOperatorSettings(u"France", u"Twelve Chars"));
  const CVELMRASparam& r = store.CurrentRecord();
  EXPECT_EQ(r.bearer, BearerType::Gprs);
  EXPECT_EQ(r.entryName, u"Twelve Chars GPRS");
  EXPECT_EQ(r.countryName, u"France");
  EXPECT_EQ(r.homeNetworkNumber, u"90101");
  EXPECT_EQ(r.apn, u"web.twelve");
  EXPECT_EQ(r.smsCenter, u"+33600000001");  // the first of its centres
  EXPECT_EQ(r.mmsEnabled, 1);
  EXPECT_EQ(r.mmsCenter, u"http://mms.twelve");
  EXPECT_EQ(r.mmsApn, u"mms.twelve");
  EXPECT_EQ(r.mmsUserName, u"twelve");  // no MMS login: the GPRS one
  EXPECT_EQ(r.mmsPassword, u"secret");
  EXPECT_EQ(r.mmsGateway, [] { CAdresseIP a; a.Set(10, 0, 0, 2); return a; }());
  EXPECT_EQ(r.mmsGatewayPort, u"9201");

  ASSERT_TRUE(store.LoadOperatorSettings(u"France", u"CSD Only"));
  EXPECT_EQ(r.bearer, BearerType::Csd);
  EXPECT_EQ(r.entryName, u"CSD Only CSD");
  EXPECT_EQ(r.phoneNumber, u"+33 1 23 45 67 89");
  EXPECT_EQ(r.mmsEnabled, 0);  // no "MMSonly"
  EXPECT_TRUE(r.smsCenter.empty());

  ASSERT_TRUE(store.LoadOperatorSettings(u"France", u"Plain"));
  EXPECT_EQ(r.mmsApn, u"plain");  // no "MMS APN": the first APN

  ASSERT_TRUE(store.LoadOperatorSettings(u"France", u"Own MMS APN"));
  EXPECT_EQ(r.mmsGatewayPort, u"8080");
  EXPECT_EQ(r.mmsUserName, u"mmsuser");

  // Neither GPRS nor CSD: nothing to configure, the record stays reset.
  EXPECT_FALSE(store.LoadOperatorSettings(u"France", u"No Data"));
  EXPECT_TRUE(r.entryName.empty());
  EXPECT_TRUE(r.operatorName.empty());
  EXPECT_FALSE(store.LoadOperatorSettings(u"France", u"Nobody"));
}

class SettingsApply : public ::testing::Test {
 protected:
  // Loads, fills the record for the operator and applies; returns the
  // journal lines the apply added.
  std::vector<std::string> ApplyOperator(CSettingsStore& store, const char16_t* name) {
    store.Load();
    EXPECT_TRUE(store.LoadOperatorSettings(u"France", name));
    const size_t before = device_->JournalSize();
    store.Apply();
    return device_->JournalFrom(before);
  }
  static std::string Mms(const char16_t* value) {
    return BootDevice::Text(Hive::LocalMachine, mms_client::kGatewayKey, value);
  }

  void Make(const BootDeviceOptions& options) { device_ = std::make_unique<BootDevice>(options); }
  std::unique_ptr<BootDevice> device_;
};

TEST_F(SettingsApply, MmsInternetWapAndProxiesAsDocuments) {
  Make({.testOperators = true});
  CSettingsStore store;
  const auto journal = ApplyOperator(store, u"Twelve Chars");

  EXPECT_EQ(DocumentsAccepted(journal),
            (std::vector<std::string>{"CM_GPRSEntries", "EMAIL2", "CM_GPRSEntries", "CM_GPRSEntries",
                                      "CM_ProxyEntries", "CM_ProxyEntries"}));
  EXPECT_TRUE(Contains(journal, "event set QZ_MMSDetected"));
  // The 12-character name with " GPRSWAPMMS" would be 23 characters.
  const auto entries = BootDevice::PhonebookEntries();
  for (const char* name : {"Twelve Chars GPRS", "Twelve Chars MMS", "WAP Twelve Chars"})
    EXPECT_TRUE(Contains(entries, name)) << name;

  EXPECT_EQ(BootDevice::Number(Hive::LocalMachine, mms_client::kGatewayKey, u"GatewayPort"), 9201);
  EXPECT_EQ(Mms(u"MmscURI"), "http://mms.twelve");
  EXPECT_EQ(Mms(u"Gateway"), "10.0.0.2");
  EXPECT_EQ(Mms(u"Name"), "Operator MMS");
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine, mms_client::kUiKey, u"ConnectionVia"), "MMS Network");
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine, mms_client::kContextMenuKey, u""), "Send MMS Message");
  EXPECT_EQ(BootDevice::Number(Hive::LocalMachine, mms_client::kContextMenuKey, u"Enabled"), 1);
  EXPECT_EQ(BootDevice::Text(Hive::CurrentUser, kSettings, u"HardReset"), "N");
  EXPECT_EQ(store.HardReset(), u"N");

  // What was written is stored for the next apply to remove.
  const CVELMRASparam& r = store.CurrentRecord();
  EXPECT_EQ(r.mmsEntryName, u"Twelve Chars MMS");
  EXPECT_EQ(r.wapEntryName, u"WAP Twelve Chars");
  EXPECT_EQ(r.wapProxyName, u"WAP-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}");
  EXPECT_EQ(r.wtlsProxyName, u"WTLS-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}");
  EXPECT_EQ(r.enabled, 1);
  CVELMRASparamArrayDoc reread;
  ASSERT_TRUE(reread.Open(u"\\Yvra File Store\\GPRS Settings\\VELM.DAT"));
  EXPECT_EQ(reread.CurrentRecord().wapEntryName, u"WAP Twelve Chars");
}

// The phonebook takes names of at most 20 characters: a long operator name
// is cut so that its connections are still made, each under its own name.
TEST_F(SettingsApply, ALongOperatorNameIsCutToFitThePhonebook) {
  Make({.testOperators = true});
  CSettingsStore store;
  ApplyOperator(store, u"A Rather Long Operator");
  EXPECT_EQ(store.CurrentRecord().entryName, u"A Rather Long O GPRS");
  EXPECT_EQ(store.CurrentRecord().mmsEntryName, u"A Rather Long Operat");
  const auto entries = BootDevice::PhonebookEntries();
  for (const char* name : {"A Rather Long O GPRS", "A Rather Long Operat"})
    EXPECT_TRUE(Contains(entries, name)) << name;
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine,
                             WString(platform::connmgr::kConnectionsKey) + u"\\A Rather Long O GPRS",
                             platform::connmgr::kDestId),
            platform::ToUtf8(network_ids::kInternet));
}

TEST_F(SettingsApply, MmsDisabledTakesTheMmsClientSettingsAway) {
  Make({.testOperators = true});
  {
    CSettingsStore store;
    ApplyOperator(store, u"Twelve Chars");
  }
  CSettingsStore store;
  const auto journal = ApplyOperator(store, u"Plain");
  EXPECT_EQ(BootDevice::Number(Hive::LocalMachine, mms_client::kGatewayKey, u"GatewayPort"), 0);
  EXPECT_EQ(Mms(u"MmscURI"), "");
  EXPECT_EQ(Mms(u"Gateway"), "");
  EXPECT_EQ(Mms(u"Name"), "Operator MMS");
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine, mms_client::kUiKey, u"ConnectionVia"), "(absent)");
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine, mms_client::kContextMenuKey, u""), "(absent)");
  EXPECT_EQ(BootDevice::Number(Hive::LocalMachine, mms_client::kContextMenuKey, u"Enabled"), -1);
  EXPECT_FALSE(Contains(journal, "event set QZ_MMSDetected"));
  for (const std::string& type : DocumentsAccepted(journal)) EXPECT_NE(type, "EMAIL2");
  // No WAP access point and no proxy: neither a WAP connection nor proxies.
  EXPECT_TRUE(store.CurrentRecord().wapEntryName.empty());
  EXPECT_TRUE(store.CurrentRecord().wapProxyName.empty());
}

// Each apply removes what the stored record says the last one wrote.
TEST_F(SettingsApply, AnotherOperatorReplacesTheFirstOnesConnections) {
  Make({.testOperators = true});
  CSettingsStore store;
  ApplyOperator(store, u"Twelve Chars");
  const auto journal = ApplyOperator(store, u"Own MMS APN");
  const auto entries = BootDevice::PhonebookEntries();
  for (const char* gone : {"Twelve Chars GPRS", "Twelve Chars MMS", "WAP Twelve Chars"})
    EXPECT_FALSE(Contains(entries, gone)) << gone;
  for (const char* made : {"Own MMS APN GPRS", "Own MMS APN MMS", "WAP Own MMS APN"})
    EXPECT_TRUE(Contains(entries, made)) << made;
  // The first operator's two proxies went by removal documents; the second
  // has none of its own.
  const auto types = DocumentsAccepted(journal);
  EXPECT_EQ(std::count(types.begin(), types.end(), "CM_ProxyEntries"), 2);
  // The MMS connection has its own access point, the WAP connection no
  // proxy, so it joins the Internet network.
  platform::PhonebookEntry mms;
  ASSERT_EQ(platform::ReadPhonebookEntry(u"Own MMS APN MMS", mms), platform::kErrorSuccess);
  ASSERT_TRUE(mms.cellular.has_value());
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine,
                             WString(platform::connmgr::kConnectionsKey) + u"\\WAP Own MMS APN",
                             platform::connmgr::kDestId),
            platform::ToUtf8(network_ids::kInternet));
  EXPECT_EQ(BootDevice::Number(Hive::LocalMachine, mms_client::kGatewayKey, u"GatewayPort"), 8080);
}

TEST_F(SettingsApply, WithoutALoadBetweenTheNamesOfTheLastLoadAreRemoved) {
  Make({.testOperators = true});
  CSettingsStore store;
  ApplyOperator(store, u"Twelve Chars");
  ASSERT_TRUE(store.LoadOperatorSettings(u"France", u"Plain"));
  store.Apply();  // removes what the record held at the last Load: nothing
  const auto entries = BootDevice::PhonebookEntries();
  EXPECT_TRUE(Contains(entries, "Twelve Chars GPRS"));
  EXPECT_TRUE(Contains(entries, "Plain GPRS"));
}

// A phone without the phone program gets phonebook entries; records from
// the operator database name no modem, so the phone's own one is used.
TEST_F(SettingsApply, PhonebookRouteUsesThePhonesModem) {
  Make({.phoneProgram = false, .testOperators = true});
  CSettingsStore store;
  const auto journal = ApplyOperator(store, u"Twelve Chars");
  EXPECT_EQ(DocumentsAccepted(journal),
            (std::vector<std::string>{"EMAIL2", "CM_ProxyEntries", "CM_ProxyEntries"}));
  for (const char16_t* name : {u"Twelve Chars GPRS", u"Twelve Chars MMS", u"WAP Twelve Chars"}) {
    platform::PhonebookEntry entry;
    ASSERT_EQ(platform::ReadPhonebookEntry(name, entry), platform::kErrorSuccess)
        << platform::ToUtf8(name);
    EXPECT_EQ(platform::RasText(entry.entry.deviceName), u"Cellular Line");
    EXPECT_FALSE(entry.deviceConfig.empty());
  }
  EXPECT_TRUE(store.CurrentRecord().modemName.empty());  // the stored record is left as it was
  EXPECT_EQ(BootDevice::Text(Hive::LocalMachine,
                             WString(platform::connmgr::kConnectionsKey) + u"\\Twelve Chars MMS",
                             platform::connmgr::kDestId),
            platform::ToUtf8(network_ids::kMms));
}

TEST_F(SettingsApply, APhoneWithoutTheMmsClientGetsNoneOfItsKeys) {
  Make({.mmsClient = false, .testOperators = true});
  CSettingsStore store;
  ApplyOperator(store, u"Twelve Chars");
  platform::RegistryKey key;
  for (const char16_t* path : {mms_client::kGatewayKey, mms_client::kUiKey, mms_client::kContextMenuKey})
    EXPECT_EQ(key.Open(Hive::LocalMachine, path), platform::kErrorFileNotFound);
  EXPECT_TRUE(Contains(BootDevice::PhonebookEntries(), "Twelve Chars MMS"));
}

}  // namespace
}  // namespace applet
