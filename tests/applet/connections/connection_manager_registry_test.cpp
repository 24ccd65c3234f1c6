#include "applet/connections/connection_manager_registry.h"

#include <gtest/gtest.h>

#include "platform/connection_manager_keys.h"
#include "platform/registry.h"
#include "tests/applet/connections/writer_device.h"

namespace applet {
namespace {

namespace connmgr = platform::connmgr;
using platform::Hive;
using platform::RegistryKey;
using platform::WString;
using test::WriterDevice;

constexpr char16_t kNet[] = u"{11111111-0000-0000-0000-000000000001}";
constexpr char16_t kOther[] = u"{22222222-0000-0000-0000-000000000002}";

WString Sub(const char16_t* key, const WString& name) { return WString(key) + u"\\" + name; }
WString Connection(const WString& name) { return Sub(connmgr::kConnectionsKey, name); }
WString HttpProxy(const WString& id) { return Sub(connmgr::kProxyProviderKey, u"HTTP-" + id); }

void MakeProxy(const WString& name, const WString& source, const WString& proxy, uint32_t type) {
  RegistryKey k;
  ASSERT_EQ(k.Create(Hive::LocalMachine, Sub(connmgr::kProxyProviderKey, name)), 0);
  k.SetString(connmgr::kSrcId, source);
  k.SetString(connmgr::kProxy, proxy);
  k.SetDword(connmgr::kType, type);
}

TEST(ConnectionManagerRegistry, ADestinationKeepsItsFirstIdentifier) {
  WriterDevice phone;
  EXPECT_TRUE(RegisterDestination(u"Internet", kNet));
  EXPECT_TRUE(RegisterDestination(u"INTERNET", kOther));
  const WString destination = Sub(connmgr::kDestinationsKey, u"Internet");
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, destination, connmgr::kDestId), platform::ToUtf8(kNet));

  // The connection gets the new identifier all the same, disabled until
  // activated, and the current network follows the last registration.
  EXPECT_TRUE(RegisterConnection(u"Internet", kOther, u"Web"));
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, Connection(u"Web"), connmgr::kDestId),
            platform::ToUtf8(kOther));
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, Connection(u"Web"), connmgr::kEnabled), 0);
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, Connection(u"Web"), connmgr::kRequirePw), 1);
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, Connection(u"Web"), connmgr::kEntryType), 0);
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, destination, connmgr::kDestId), platform::ToUtf8(kNet));
  EXPECT_TRUE(RegisterConnection(u"Mail", kNet, u"Mms"));
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine,
                               Sub(connmgr::kDtptProviderKey, connmgr::kCurrentDtptNetworkSubKey),
                               connmgr::kDestId),
            platform::ToUtf8(kNet));
}

TEST(ConnectionManagerRegistry, WithoutTheConnectionManagersKeysNothingRegisters) {
  test_support::TempDevice device;
  EXPECT_FALSE(RegisterDestination(u"Internet", kNet));
  EXPECT_FALSE(RegisterConnection(u"Internet", kNet, u"Web"));
  EXPECT_FALSE(RemoveConnection(u"Web"));
  WString name;
  EXPECT_FALSE(FindDestinationName(kNet, name));
  ActivateForNetwork(kNet, u"Web");  // silent
  EXPECT_FALSE(WriterDevice::KeyExists(Hive::LocalMachine, connmgr::kConnectionsKey));
}

TEST(ConnectionManagerRegistry, TheProviderGetsItsConnectionsKeyWhenMissing) {
  WriterDevice phone;
  ASSERT_EQ(platform::DeleteRegistryKey(Hive::LocalMachine, connmgr::kConnectionsKey), 0);
  EXPECT_TRUE(RegisterConnection(u"Internet", kNet, u"Web"));
  EXPECT_TRUE(WriterDevice::KeyExists(Hive::LocalMachine, Connection(u"Web")));
}

// Every "HTTP-{" entry goes, also those that follow one just removed; only
// the activated network's comes back, with its proxy and type.
TEST(ConnectionManagerRegistry, ActivationRemovesEveryHttpProxyEntry) {
  WriterDevice phone;
  MakeProxy(u"HTTP-{A}", u"{A}", u"a:80", 1);
  MakeProxy(WString(u"HTTP-") + kNet, kNet, u"proxy.net:8080", 3);
  MakeProxy(u"HTTP-{Z}", u"{Z}", u"z:80", 1);
  MakeProxy(u"WAP-{W}", u"{W}", u"w:9201", 2);
  ActivateForNetwork(kNet, u"Web");

  RegistryKey provider;
  ASSERT_EQ(provider.Open(Hive::LocalMachine, connmgr::kProxyProviderKey), 0);
  std::vector<WString> left;
  WString name;
  for (uint32_t i = 0; provider.EnumSubKey(i, name) == 0; ++i) left.push_back(name);
  EXPECT_EQ(left, (std::vector<WString>{WString(u"HTTP-") + kNet, u"WAP-{W}"}));
  const WString mine = HttpProxy(kNet);
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, mine, connmgr::kProxy), "proxy.net:8080");
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, mine, connmgr::kType), 3);
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, mine, connmgr::kEnable), 1);
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, mine, connmgr::kDestId),
            "{436EF144-B4FB-4863-A041-8F905A62C572}");
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, mine, connmgr::kSrcId), platform::ToUtf8(kNet));
}

TEST(ConnectionManagerRegistry, ANetworkWithoutProxyGetsTheDefaultOne) {
  WriterDevice phone;
  ActivateForNetwork(kNet, u"Web");
  const WString mine = HttpProxy(kNet);
  EXPECT_EQ(WriterDevice::Text(Hive::LocalMachine, mine, connmgr::kProxy), "new-inet:1159");
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, mine, connmgr::kType), 0);
  RegistryKey k;
  ASSERT_EQ(k.Open(Hive::LocalMachine, mine), 0);
  for (const char16_t* empty : {u"ExtraInfo", u"Override", u"Password", u"Username"}) {
    uint32_t type = 0, size = 99;
    ASSERT_EQ(k.QueryValue(empty, &type, nullptr, &size), 0);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_EQ(size, 0u) << platform::ToUtf8(empty);  // no data at all, not even a terminator
  }
}

TEST(ConnectionManagerRegistry, OnlyTheLastActivatedConnectionOfANetworkIsEnabled) {
  WriterDevice phone;
  for (const char16_t* entry : {u"First", u"Second"}) {
    ASSERT_TRUE(RegisterConnection(u"Internet", kNet, entry));
    ActivateForNetwork(kNet, entry);
  }
  ASSERT_TRUE(RegisterConnection(u"Wap", kOther, u"Wap one"));
  ActivateForNetwork(kOther, u"Wap one");
  ActivateForNetwork(kNet, u"Second");  // the other network's connection stays enabled
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, Connection(u"First"), connmgr::kEnabled), 0);
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, Connection(u"Second"), connmgr::kEnabled), 1);
  EXPECT_EQ(WriterDevice::Number(Hive::LocalMachine, Connection(u"Wap one"), connmgr::kEnabled), 1);
}

TEST(ConnectionManagerRegistry, RemovingAndFindingByIdentifier) {
  WriterDevice phone;
  ASSERT_TRUE(RegisterConnection(u"Internet", kNet, u"Web"));
  EXPECT_TRUE(RemoveConnection(u"web"));
  EXPECT_FALSE(RemoveConnection(u"Web"));

  RegistryKey noId;
  ASSERT_EQ(noId.Create(Hive::LocalMachine, Sub(connmgr::kDestinationsKey, u"A without id")), 0);
  ASSERT_TRUE(RegisterDestination(u"B second", kNet));
  ASSERT_TRUE(RegisterDestination(u"C third", kNet));
  WString name;
  ASSERT_TRUE(FindDestinationName(kNet, name));
  EXPECT_EQ(name, u"B second");
  EXPECT_FALSE(FindDestinationName(WString(kNet).substr(1), name));  // exact text only
}

}  // namespace
}  // namespace applet
