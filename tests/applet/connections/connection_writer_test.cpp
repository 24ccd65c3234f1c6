#include "applet/connections/connection_writer.h"

#include <gtest/gtest.h>

#include "applet/connections/entry_names.h"
#include "applet/connections/network_ids.h"
#include "applet/connections/provisioning_writer.h"
#include "platform/connection_manager_keys.h"
#include "platform/journal.h"
#include "platform/provisioning_record.h"
#include "platform/ras_default_entry.h"
#include "platform/ras_device_config.h"
#include "platform/ras_phonebook.h"
#include "tests/applet/connections/writer_device.h"

namespace applet {
namespace {

namespace connmgr = platform::connmgr;
using platform::Hive;
using platform::WString;
using test::WriterDevice;
using test::WriterDeviceOptions;

constexpr char16_t kFolder[] = u"\\Yvra ROM\\GPRS Settings\\";
const WString kNetworkName = u"Internet";

// A GPRS record of the sample operator; the record class is not copied.
struct OrangeGprs : CRASparam {
  OrangeGprs() { Fill(*this); }
  static void Fill(CRASparam& r);
};

void OrangeGprs::Fill(CRASparam& r) {
  r.operatorName = u"Orange F";
  r.bearer = BearerType::Gprs;
  r.entryName = u"Orange Internet";
  r.modemName = u"QZ7100 - GPRS";
  r.deviceName = u"Cellular Line";
  r.apn = u"orange.fr";
  r.userName = u"orange";
  r.password = u"secret";
  r.serverAssignedDns = 0;
  r.dns1.Set(194, 51, 3, 56);
  r.enabled = 1;
}

WString ConnectionKey(const WString& entry) { return WString(connmgr::kConnectionsKey) + u"\\" + entry; }

platform::PhonebookEntry Entry(const WString& name) {
  platform::PhonebookEntry entry;
  EXPECT_EQ(platform::ReadPhonebookEntry(name, entry), 0) << platform::ToUtf8(name);
  return entry;
}

TEST(ConnectionWriter, ThePhonebookRouteEndToEnd) {
  WriterDevice phone;
  ConnectionWriter writer(OrangeGprs{});
  ASSERT_TRUE(writer.WriteConnection(kFolder, &kNetworkName, network_ids::kInternet))
      << writer.LastRasError();
  EXPECT_TRUE(platform::ListProvisioningDocuments().empty());

  platform::PhonebookEntry e = Entry(u"Orange Internet");
  EXPECT_EQ(platform::RasText(e.entry.localPhoneNumber), u"*99***1#");  // the modem's dial number
  EXPECT_EQ(platform::RasText(e.entry.deviceName), u"Cellular Line");
  EXPECT_EQ(e.entry.options, platform::kRaseoUseCountryAndAreaCodes | platform::kRaseoSpecificNameServers);
  EXPECT_EQ(e.entry.dnsAddr.bytes[3], 194);
  EXPECT_EQ(e.userName, u"orange");
  EXPECT_EQ(e.password, WString(u"secret"));
  auto block = platform::DecodeDeviceConfig(platform::kPocketPcDeviceConfig, e.deviceConfig);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->command, u"+CGDCONT=1,\"IP\",\"orange.fr\",,0,0");
  EXPECT_EQ(block->dteSpeed, 115200u);
  EXPECT_EQ(writer.Record().dialStringFits, 1);

  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, ConnectionKey(u"Orange Internet"), connmgr::kDestId),
            platform::ToUtf8(network_ids::kInternet));
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, ConnectionKey(u"Orange Internet"), connmgr::kEnabled), 1);
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, WString(connmgr::kDestinationsKey) + u"\\Internet",
                               connmgr::kDestId),
            platform::ToUtf8(network_ids::kInternet));

  ConnectionWriter remover;
  EXPECT_TRUE(remover.DeleteConnection(u"Orange Internet"));
  EXPECT_FALSE(platform::PhonebookEntryExists(u"Orange Internet"));
  EXPECT_FALSE(WriterDevice::KeyExists(Hive::LocalMachine, ConnectionKey(u"Orange Internet")));
  EXPECT_FALSE(remover.DeleteConnection(u"Orange Internet"));
  EXPECT_EQ(remover.LastRasError(), platform::kRasErrorCannotFindPhonebookEntry);
}

TEST(ConnectionWriter, TheProvisioningRouteEndToEnd) {
  WriterDevice phone({.phoneProgram = true});
  OrangeGprs r;
  r.modemName.clear();  // the document route needs no modem
  ConnectionWriter writer(r);
  ASSERT_TRUE(writer.WriteConnection(kFolder, &kNetworkName, network_ids::kInternet));
  EXPECT_EQ(platform::ListProvisioningDocuments(), std::vector<uint32_t>{1});
  EXPECT_EQ(phone.Device().Device().Journal().Lines(),
            std::vector<std::string>{"000001 configuration manager accepted document 0001: CM_GPRSEntries"});

  platform::PhonebookEntry e = Entry(u"Orange Internet");
  ASSERT_TRUE(e.cellular);
  EXPECT_EQ(e.cellular->accessPointName, u"orange.fr");
  EXPECT_EQ(e.userName, u"orange");
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, ConnectionKey(u"Orange Internet"), connmgr::kEnabled), 1);

  ConnectionWriter remover;
  EXPECT_TRUE(remover.DeleteConnection(u"Orange Internet"));
  EXPECT_FALSE(platform::PhonebookEntryExists(u"Orange Internet"));
  EXPECT_FALSE(WriterDevice::KeyExists(Hive::LocalMachine, ConnectionKey(u"Orange Internet")));
}

TEST(ConnectionWriter, WithoutThePhoneProgramProxiesAndMmsStillGoByDocument) {
  WriterDevice phone;
  ConnectionWriter writer(OrangeGprs{});
  ASSERT_TRUE(writer.WriteConnection(kFolder, nullptr, network_ids::kInternet));
  EXPECT_TRUE(platform::ListProvisioningDocuments().empty());
  WString wap, wtls;
  WriteProxyDocuments(u"10.0.0.1:9201", u"", wap, wtls);
  WriteMmsAccountDocument(false);
  EXPECT_EQ(platform::ListProvisioningDocuments(), (std::vector<uint32_t>{1, 2}));
}

TEST(ConnectionWriter, ACsdNumberLosesItsSpaces) {
  WriterDevice phone;
  OrangeGprs r;
  r.bearer = BearerType::Csd;
  r.phoneNumber = u"+33 6 07 62 64 64";
  ConnectionWriter writer(r);
  ASSERT_TRUE(writer.WriteConnection(kFolder, nullptr, network_ids::kInternet));
  EXPECT_EQ(platform::RasText(Entry(u"Orange Internet").entry.localPhoneNumber), u"+33607626464");
  // Without a network name nothing is registered, but an enabled connection
  // still makes its network's proxy entry.
  EXPECT_FALSE(WriterDevice::KeyExists(Hive::LocalMachine, ConnectionKey(u"Orange Internet")));
  EXPECT_TRUE(WriterDevice::KeyExists(
      Hive::LocalMachine, WString(connmgr::kProxyProviderKey) + u"\\HTTP-" + network_ids::kInternet));
}

TEST(ConnectionWriter, ARecordWithoutModemLeavesThePhonebookAlone) {
  WriterDevice phone;
  OrangeGprs r;
  r.modemName.clear();
  ConnectionWriter writer(r);
  EXPECT_FALSE(writer.WriteConnection(kFolder, &kNetworkName, network_ids::kInternet));
  EXPECT_FALSE(platform::PhonebookEntryExists(u"Orange Internet"));
}

// The block comes from the entry itself, else from the English default
// entry, else from the French one; without any the write fails.
TEST(ConnectionWriter, WhereTheDeviceBlockComesFrom) {
  {
    WriterDevice phone({.language = "fr"});
    ConnectionWriter writer(OrangeGprs{});
    ASSERT_TRUE(writer.WriteConnection(kFolder, nullptr, network_ids::kInternet));
    EXPECT_EQ(Entry(u"Orange Internet").deviceConfig.size(), 128u);
  }
  {
    WriterDevice phone({.defaultEntry = false});
    ConnectionWriter writer(OrangeGprs{});
    EXPECT_FALSE(writer.WriteConnection(kFolder, nullptr, network_ids::kInternet));
    // The properties were set before the block was looked for.
    EXPECT_TRUE(Entry(u"Orange Internet").deviceConfig.empty());

    // An entry with a block of its own keeps using it.
    std::vector<uint8_t> own = platform::BuildDeviceConfig(platform::kPocketPcDeviceConfig, {});
    own[100] = 0x5A;
    platform::RasEntry props = Entry(u"Orange Internet").entry;
    ASSERT_EQ(platform::WritePhonebookEntry(u"Orange Internet", props, &own, nullptr), 0);
    ConnectionWriter again(OrangeGprs{});
    ASSERT_TRUE(again.WriteConnection(kFolder, nullptr, network_ids::kInternet));
    EXPECT_EQ(Entry(u"Orange Internet").deviceConfig[100], 0x5A);
  }
}

// A default block too short for the settings is refused, not overrun.
TEST(ConnectionWriter, AShortDefaultBlockFailsTheWrite) {
  WriterDevice phone;
  platform::RegistryKey key;
  ASSERT_EQ(key.Open(Hive::CurrentUser, WString(platform::kRasBookKey) + u"\\" +
                                            platform::kEnglishDefaultEntry),
            0);
  ASSERT_EQ(key.SetBinary(u"DevCfg", std::vector<uint8_t>(40, 0)), 0);
  ConnectionWriter writer(OrangeGprs{});
  EXPECT_FALSE(writer.WriteConnection(kFolder, &kNetworkName, network_ids::kInternet));
  EXPECT_EQ(writer.LastRasError(), platform::kErrorInsufficientBuffer);
  EXPECT_TRUE(Entry(u"Orange Internet").deviceConfig.empty());
  EXPECT_FALSE(WriterDevice::KeyExists(Hive::LocalMachine, ConnectionKey(u"Orange Internet")));
}

// Texts the phonebook cannot hold are refused on both routes before
// anything is written, rather than cut into another connection's name.
TEST(ConnectionWriter, TextsTooLongForThePhonebookAreRefused) {
  struct Case {
    void (*change)(CRASparam&);
    platform::ErrorCode error;
  } cases[] = {
      {[](CRASparam& r) { r.entryName = u"Bouygues T\u00e9l\u00e9com GPRS"; }, platform::kErrorInvalidName},
      {[](CRASparam& r) { r.entryName = u"a\\b"; }, platform::kErrorInvalidName},
      {[](CRASparam& r) { r.entryName.clear(); }, platform::kErrorInvalidName},
      {[](CRASparam& r) { r.password = WString(257, u'p'); }, platform::kErrorInvalidParameter},
      {[](CRASparam& r) {
         r.bearer = BearerType::Csd;
         r.phoneNumber = WString(129, u'1');
       },
       platform::kErrorInvalidParameter},
      {[](CRASparam& r) { r.areaCode = u"12345678901"; }, platform::kErrorInvalidParameter},
  };
  for (bool phoneProgram : {false, true}) {
    for (const Case& c : cases) {
      WriterDevice phone({.phoneProgram = phoneProgram});
      OrangeGprs r;
      c.change(r);
      ConnectionWriter writer(r);
      EXPECT_FALSE(writer.WriteConnection(kFolder, &kNetworkName, network_ids::kInternet));
      EXPECT_EQ(writer.LastRasError(), c.error);
      std::vector<WString> names;
      ASSERT_EQ(platform::ListPhonebookEntries(names), 0);
      EXPECT_EQ(names.size(), 1u) << "only the default entry";
      EXPECT_TRUE(platform::ListProvisioningDocuments().empty());
    }
  }
  // A 128-digit number with its spaces still fits.
  WriterDevice phone;
  OrangeGprs r;
  r.bearer = BearerType::Csd;
  r.phoneNumber = WString(128, u'1') + u"  ";
  ConnectionWriter writer(r);
  EXPECT_TRUE(writer.WriteConnection(kFolder, nullptr, network_ids::kInternet));
}

TEST(EntryNames, UniqueNamesStayWithinTwentyCharacters) {
  WriterDevice phone;
  RasSession session;
  EXPECT_TRUE(EntryExists(session, u"`38400 DEFAULT"));
  EXPECT_FALSE(EntryExists(session, u"Internet"));

  struct Case {
    const char16_t* name;
    const char16_t* expected;
  } cases[] = {
      {u"Internet", u"Internet"},
      {u"internet", u"internet (1)"},
      {u"Internet", u"Internet (2)"},
      {u"Twenty characters ok", u"Twenty characters ok"},
      {u"Twenty characters ok", u"Twenty character (1)"},
      {u"Twenty characters ok!!", u"Twenty character (2)"},  // cut first, then made unique
  };
  for (const Case& c : cases) {
    OrangeGprs r;
    ASSERT_TRUE(MakeUniqueEntryName(session, r, c.name));
    EXPECT_EQ(r.entryName, c.expected);
    EXPECT_LE(r.entryName.size(), platform::kRasMaxEntryName);
    r.modemName = u"Phone modem";
    ConnectionWriter writer(r);
    ASSERT_TRUE(writer.WriteConnection(kFolder, nullptr, network_ids::kInternet)) << writer.LastRasError();
  }
  OrangeGprs named;
  named.entryName.clear();
  ASSERT_TRUE(EnsureEntryName(session, named, 65094));  // "Operator MMS"
  EXPECT_EQ(named.entryName, u"Operator MMS");
  OrangeGprs empty;
  EXPECT_FALSE(MakeUniqueEntryName(session, empty, u""));
}

// The enumeration doubles its buffer while the platform says it is too
// small, and reads an out-of-memory answer as an empty phonebook.
TEST(RasSessionTest, EnumerationGrowsItsBuffer) {
  static std::vector<uint32_t> asked;
  static platform::ErrorCode answer;
  asked.clear();
  RasSession::Functions fake;
  fake.enumEntries = [](const char16_t*, const char16_t*, platform::RasEntryName* entries,
                        uint32_t* bytes, uint32_t* count) -> platform::ErrorCode {
    asked.push_back(*bytes / sizeof(platform::RasEntryName));
    *count = 25;
    if (entries[0].size != sizeof(platform::RasEntryName)) return platform::kRasErrorInvalidSize;
    if (*bytes < 25 * sizeof(platform::RasEntryName)) return platform::kRasErrorBufferTooSmall;
    for (int i = 0; i < 25; ++i) platform::CopyRasText(entries[i].entryName, platform::FormatInt(i));
    return answer;
  };
  answer = 0;
  RasSession session(fake);
  EXPECT_EQ(session.EnumEntries(), 0);
  EXPECT_EQ(asked, (std::vector<uint32_t>{10, 20, 40}));
  EXPECT_EQ(session.Count(), 25u);
  EXPECT_TRUE(EntryExists(session, u"24"));
  answer = RasSession::kNotEnoughMemory;
  EXPECT_FALSE(EntryExists(session, u"24"));
  EXPECT_EQ(session.Count(), 0u);
}

}  // namespace
}  // namespace applet
