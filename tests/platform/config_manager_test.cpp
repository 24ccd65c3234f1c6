#include "platform/config_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/config_service_providers.h"
#include "platform/connection_manager_keys.h"
#include "platform/journal.h"
#include "platform/provisioning_record.h"
#include "platform/ras_default_entry.h"
#include "platform/ras_device_config.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class ConfigManager : public ::testing::Test {
 protected:
  void SetUp() override {
    // The phone's default entry, whose block new entries take.
    DefaultPhonebookEntry entry = MakeDefaultPhonebookEntry(DeviceConfig{});
    RegistryKey key;
    ASSERT_EQ(key.Create(Hive::CurrentUser, WString(kRasBookKey) + u"\\" + entry.name), 0);
    for (const RegistryValue& v : entry.values)
      ASSERT_EQ(key.SetValue(v.name, v.type, v.data.data(), static_cast<uint32_t>(v.data.size())), 0);
    defaultBlock_ = entry.values.back().data;
  }

  long Submit(WStringView doc, ConfigResultText* result = nullptr) {
    return DMProcessConfigXML(doc, kCfgFlagProcess, result);
  }
  std::vector<std::string> Journal() { return device_.Device().Journal().Lines(); }
  std::string Recorded(uint32_t n) {
    std::string bytes;
    EXPECT_TRUE(ReadProvisioningDocument(n, bytes, nullptr)) << n;
    return bytes;
  }
  std::string Text(Hive hive, WStringView path, WStringView name) {
    RegistryKey key;
    WString text;
    if (key.Open(hive, path) != 0 || key.QueryString(name, text) != 0) return "(absent)";
    return ToUtf8(text);
  }

  test_support::TempDevice device_;
  std::vector<uint8_t> defaultBlock_;
};

constexpr char16_t kGprsDocument[] =
    u"<wap-provisioningdoc>\r\n"
    u"<characteristic type=\"CM_GPRSEntries\">\r\n"
    u"<characteristic type=\"Orange &amp; Co\">\r\n"
    u"<parm name=\"DestId\" value=\"{ADB0B001-10B5-3F39-27C6-9742E785FCD4}\"/>\r\n"
    u"<parm name=\"Enabled\" value=\"1\"/>\r\n"
    u"<parm name=\"UserName\" value=\"orange\"/>\r\n"
    u"<parm name=\"Password\" value=\"o&quot;range\"/>\r\n"
    u"<parm name=\"SpecificNameServers\" value=\"1\"/>\r\n"
    u"<parm name=\"DnsAddr\" value=\"194.51.3.56\"/>\r\n"
    u"<characteristic type=\"DevSpecificCellular\">\r\n"
    u"<parm name=\"GPRSInfoAccessPointName\" value=\"orange.fr\"/>\r\n"
    u"<parm name=\"GPRSInfoQOSSettingsValid\" value=\"1\"/>\r\n"
    u"<parm name=\"GPRSInfoQOSPrecedenceClass\" value=\"1\"/>\r\n"
    u"<parm name=\"GPRSInfoQOSReliabilityClass\" value=\"3\"/>\r\n"
    u"<parm name=\"GPRSInfoQOSDelayClass\" value=\"2\"/>\r\n"
    u"<parm name=\"GPRSInfoQOSPeakThruClass\" value=\"4\"/>\r\n"
    u"<parm name=\"GPRSInfoQOSMeanThruClass\" value=\"31\"/>\r\n"
    u"<parm name=\"GPRSInfoMinQOSSettingsValid\" value=\"0\"/>\r\n"
    u"</characteristic>\r\n"
    u"</characteristic>\r\n"
    u"</characteristic>\r\n"
    u"</wap-provisioningdoc>\r\n";

TEST_F(ConfigManager, AGprsEntryBecomesAPhonebookEntryAndAConnection) {
  ConfigResultText result;
  ASSERT_EQ(Submit(kGprsDocument, &result), kConfigSuccess);
  ASSERT_TRUE(result);
  EXPECT_EQ(WStringView(result.get()), WStringView(kGprsDocument));

  PhonebookEntry entry;
  ASSERT_EQ(ReadPhonebookEntry(u"Orange & Co", entry), 0);
  EXPECT_EQ(RasText(entry.entry.deviceName), u"Cellular Line");
  EXPECT_EQ(entry.entry.options, kRaseoUseCountryAndAreaCodes | kRaseoSpecificNameServers);
  EXPECT_EQ(entry.entry.dnsAddr.bytes[3], 194);
  EXPECT_EQ(entry.deviceConfig, defaultBlock_);
  EXPECT_EQ(entry.userName, u"orange");
  EXPECT_EQ(entry.password, WString(u"o\"range"));
  ASSERT_TRUE(entry.cellular);
  EXPECT_EQ(entry.cellular->accessPointName, u"orange.fr");
  EXPECT_EQ(entry.cellular->qosRequested, u"1,2,3,4,31");
  EXPECT_EQ(entry.cellular->qosMinimum, u"");

  const WString key = WString(connmgr::kConnectionsKey) + u"\\Orange & Co";
  EXPECT_EQ(Text(Hive::LocalMachine, key, connmgr::kDestId), "{ADB0B001-10B5-3F39-27C6-9742E785FCD4}");
  RegistryKey connection;
  uint32_t enabled = 0;
  ASSERT_EQ(connection.Open(Hive::LocalMachine, key), 0);
  ASSERT_EQ(connection.QueryDword(connmgr::kEnabled, enabled), 0);
  EXPECT_EQ(enabled, 1u);

  // Recorded byte for byte, UTF-16LE as submitted.
  const std::string bytes = Recorded(1);
  ASSERT_EQ(bytes.size(), 2 * WStringView(kGprsDocument).size());
  EXPECT_EQ(bytes.substr(0, 4), std::string("<\0w\0", 4));
  EXPECT_EQ(Journal(), std::vector<std::string>{
                           "000001 configuration manager accepted document 0001: CM_GPRSEntries"});
}

TEST_F(ConfigManager, AnEntryIsReplacedAndRemoved) {
  ASSERT_EQ(Submit(kGprsDocument), kConfigSuccess);
  ASSERT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"CM_PPPEntries\">"
                   u"<characteristic type=\"Orange &amp; Co\">"
                   u"<parm name=\"Phone\" value=\"+33 6 07\"/><parm name=\"DestId\" value=\"{X}\"/>"
                   u"</characteristic></characteristic></wap-provisioningdoc>"),
            kConfigSuccess);
  PhonebookEntry entry;
  ASSERT_EQ(ReadPhonebookEntry(u"Orange & Co", entry), 0);
  EXPECT_EQ(RasText(entry.entry.localPhoneNumber), u"+33 6 07");
  EXPECT_FALSE(entry.cellular);
  EXPECT_EQ(entry.password, WString(u""));
  EXPECT_EQ(Text(Hive::LocalMachine, WString(connmgr::kConnectionsKey) + u"\\Orange & Co",
                 connmgr::kDestId),
            "{X}");

  ASSERT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"CM_GPRSEntries\">"
                   u"<nocharacteristic type=\"Orange &amp; Co\"/>"
                   u"</characteristic></wap-provisioningdoc>"),
            kConfigSuccess);
  EXPECT_FALSE(PhonebookEntryExists(u"Orange & Co"));
  RegistryKey gone;
  EXPECT_EQ(gone.Open(Hive::LocalMachine, WString(connmgr::kConnectionsKey) + u"\\Orange & Co"),
            kErrorFileNotFound);
}

TEST_F(ConfigManager, ProxiesAndAccountsAreMadeReplacedAndRemoved) {
  const WString proxyKey = WString(connmgr::kProxyProviderKey) + u"\\WAP-{N}";
  const WString accountKey = WString(kMessagingAccountsKey) + u"\\{A}";
  auto proxy = [](const char16_t* address) {
    return u"<wap-provisioningdoc><characteristic type=\"CM_ProxyEntries\">"
           u"<characteristic type=\"WAP-{N}\"><parm name=\"SrcId\" value=\"{N}\"/>"
           u"<parm name=\"DestId\" value=\"{D}\"/><parm name=\"Proxy\" value=\"" +
           WString(address) +
           u"\"/><parm name=\"Enabled\" value=\"1\"/><parm name=\"Type\" value=\"2\"/>"
           u"</characteristic></characteristic></wap-provisioningdoc>";
  };
  ASSERT_EQ(Submit(proxy(u"10.0.0.1:9201")), kConfigSuccess);
  ASSERT_EQ(Submit(proxy(u"10.0.0.2:9201")), kConfigSuccess);
  EXPECT_EQ(Text(Hive::LocalMachine, proxyKey, connmgr::kProxy), "10.0.0.2:9201");
  EXPECT_EQ(Text(Hive::LocalMachine, proxyKey, connmgr::kSrcId), "{N}");

  ASSERT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"EMAIL2\">"
                   u"<characteristic type=\"{A}\"><parm name=\"CONNECTIONID\" value=\"{C}\"/>"
                   u"<parm name=\"SERVICENAME\" value=\"MMS\"/></characteristic>"
                   u"</characteristic></wap-provisioningdoc>"),
            kConfigSuccess);
  EXPECT_EQ(Text(Hive::CurrentUser, accountKey, u"CONNECTIONID"), "{C}");
  ASSERT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"EMAIL2\">"
                   u"<characteristic type=\"{A}\"><parm name=\"SERVICENAME\" value=\"Other\"/>"
                   u"</characteristic></characteristic></wap-provisioningdoc>"),
            kConfigSuccess);
  EXPECT_EQ(Text(Hive::CurrentUser, accountKey, u"CONNECTIONID"), "(absent)");  // replaced whole
  EXPECT_EQ(Text(Hive::CurrentUser, accountKey, u"SERVICENAME"), "Other");

  ASSERT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"CM_ProxyEntries\">"
                   u"<nocharacteristic type=\"WAP-{N}\"/></characteristic>"
                   u"<characteristic type=\"EMAIL2\"><nocharacteristic type=\"{A}\"/>"
                   u"</characteristic></wap-provisioningdoc>"),
            kConfigSuccess);
  RegistryKey key;
  EXPECT_EQ(key.Open(Hive::LocalMachine, proxyKey), kErrorFileNotFound);
  EXPECT_EQ(key.Open(Hive::CurrentUser, accountKey), kErrorFileNotFound);
}

TEST_F(ConfigManager, UnknownTypesAreRecordedAndIgnored) {
  ASSERT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"BrowserFavorite\">"
                   u"<parm name=\"URL\" value=\"x\"/></characteristic>"
                   u"<characteristic type=\"EMAIL2\"><characteristic type=\"{A}\"/></characteristic>"
                   u"</wap-provisioningdoc>"),
            kConfigSuccess);
  EXPECT_EQ(Journal(), (std::vector<std::string>{
                           "000001 configuration manager accepted document 0001: EMAIL2",
                           "000002 configuration manager ignored characteristic BrowserFavorite "
                           "of document 0001"}));
  EXPECT_TRUE(fs::exists(device_.Root() / "provisioning" / "0001.xml"));
}

// A document the device cannot apply whole is applied not at all.
TEST_F(ConfigManager, ADocumentItCannotApplyIsRejectedWhole) {
  const WString tooLong =
      u"<wap-provisioningdoc><characteristic type=\"EMAIL2\"><characteristic type=\"{A}\"/>"
      u"</characteristic><characteristic type=\"CM_PPPEntries\">"
      u"<characteristic type=\"Twenty one characters\"/></characteristic></wap-provisioningdoc>";
  ConfigResultText result;
  EXPECT_EQ(Submit(tooLong, &result), kConfigErrorFailed);
  EXPECT_FALSE(result);
  RegistryKey key;
  EXPECT_EQ(key.Open(Hive::CurrentUser, WString(kMessagingAccountsKey) + u"\\{A}"), kErrorFileNotFound);
  ASSERT_EQ(Journal().size(), 1u);
  EXPECT_EQ(Journal()[0].rfind("000001 configuration manager rejected document 0001: the phonebook "
                               "cannot hold an entry named \"Twenty one characters\"", 0), 0u)
      << Journal()[0];
  EXPECT_EQ(Recorded(1).size(), 2 * tooLong.size());  // kept for whoever looks into it

  EXPECT_EQ(Submit(u"<wap-provisioningdoc><characteristic type=\"CM_PPPEntries\">"
                   u"<characteristic type=\"Web\"><parm name=\"IpAddr\" value=\"1.2.3.999\"/>"
                   u"</characteristic></characteristic></wap-provisioningdoc>"),
            kConfigErrorFailed);
  EXPECT_FALSE(PhonebookEntryExists(u"Web"));
}

TEST_F(ConfigManager, MalformedDocumentsAreRejected) {
  const WString valid =
      u"<wap-provisioningdoc><characteristic type=\"EMAIL2\"><characteristic type=\"{A}\">"
      u"<parm name=\"N\" value=\"v\"/></characteristic></characteristic></wap-provisioningdoc>";
  std::vector<WString> bad = {
      u"<other/>",
      u"<wap-provisioningdoc><unknown/></wap-provisioningdoc>",
      u"<wap-provisioningdoc><characteristic type=\"EMAIL2\">text</characteristic></wap-provisioningdoc>",
      u"<wap-provisioningdoc><characteristic><parm name=\"a\"/></characteristic></wap-provisioningdoc>",
      u"<wap-provisioningdoc><parm name=\"a\" value=\"b\"/></wap-provisioningdoc>",
      u"<wap-provisioningdoc><characteristic type=\"EMAIL2\"><parm value=\"b\"/></characteristic></wap-provisioningdoc>",
      u"<wap-provisioningdoc><nocharacteristic type=\"X\"><parm name=\"a\"/></nocharacteristic></wap-provisioningdoc>",
      u"<wap-provisioningdoc><characteristic type=\"a\" value=\"\"\"/></wap-provisioningdoc>",
  };
  // Every cut short prefix of a good document is malformed too.
  for (size_t cut = 0; cut < valid.size(); cut += 7) bad.push_back(valid.substr(0, cut));
  for (const WString& doc : bad) {
    const size_t before = Journal().size();
    EXPECT_EQ(Submit(doc), kConfigErrorFailed) << ToUtf8(doc);
    ASSERT_EQ(Journal().size(), before + 1);
    EXPECT_NE(Journal().back().find("configuration manager rejected document"), std::string::npos)
        << Journal().back();
  }
  RegistryKey key;
  EXPECT_EQ(key.Open(Hive::CurrentUser, kMessagingAccountsKey), kErrorFileNotFound);
  EXPECT_EQ(Submit(valid), kConfigSuccess);
}

TEST_F(ConfigManager, NumbersAreNeverGivenTwice) {
  const WString doc = u"<wap-provisioningdoc/>";
  ASSERT_EQ(Submit(doc), kConfigSuccess);
  ASSERT_EQ(Submit(doc), kConfigSuccess);
  const fs::path folder = device_.Root() / "provisioning";
  fs::remove(folder / "0002.xml");
  ASSERT_EQ(Submit(doc), kConfigSuccess);
  EXPECT_TRUE(fs::exists(folder / "0003.xml"));
  fs::remove(folder / "sequence");  // lost: the files still count
  ASSERT_EQ(Submit(doc), kConfigSuccess);
  EXPECT_EQ(ListProvisioningDocuments(), (std::vector<uint32_t>{1, 3, 4}));
}

TEST_F(ConfigManager, OnlyTheProcessFlagAndBoundedDocumentsAreTaken) {
  EXPECT_EQ(DMProcessConfigXML(u"<wap-provisioningdoc/>", 0, nullptr), kConfigErrorInvalidArgument);
  EXPECT_EQ(DMProcessConfigXML(u"<wap-provisioningdoc/>", 3, nullptr), kConfigErrorNotImplemented);
  const WString huge(kMaxProvisioningDocumentSize / 2 + 1, u' ');
  EXPECT_EQ(Submit(huge), kConfigErrorInvalidArgument);
  EXPECT_TRUE(ListProvisioningDocuments().empty());
  EXPECT_TRUE(Journal().empty());
}

}  // namespace
}  // namespace platform
