#include "applet/connections/connection_manager_registry.h"

#include <cstdint>
#include <vector>

#include "platform/connection_manager_keys.h"
#include "platform/registry.h"
#include "platform/registry_subkeys.h"

namespace applet {

using platform::Hive;
using platform::RegistryKey;
using platform::WString;
using platform::WStringView;
namespace connmgr = platform::connmgr;

namespace {

// Texts are read into a buffer of this many bytes, terminator included.
constexpr uint32_t kTextBufferBytes = 128;
// Destination names are enumerated up to this many characters.
constexpr size_t kMaxDestinationName = 128;
// The proxy of a network that had none.
constexpr char16_t kDefaultProxy[] = u"new-inet:1159";
constexpr WStringView kHttpProxyPattern = u"HTTP-{";

bool ReadText(const RegistryKey& key, WStringView name, WString& out) {
  uint8_t buffer[kTextBufferBytes];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  if (key.QueryValue(name, &type, buffer, &size) != platform::kErrorSuccess ||
      type != platform::kRegSz)
    return false;
  out = platform::DecodeRegistryString(std::vector<uint8_t>(buffer, buffer + size));
  return true;
}

bool HasText(const RegistryKey& key, WStringView name, WStringView expected) {
  WString text;
  return ReadText(key, name, text) && text == expected;
}

// Writes an empty text with zero bytes of data.
void SetEmptyText(RegistryKey& key, WStringView name) {
  key.SetValue(name, platform::kRegSz, nullptr, 0);
}

// Removes every "HTTP-{" proxy entry and returns the proxy text and type
// of the network's own.
void TakeHttpProxies(RegistryKey& provider, WStringView networkId, WString& proxy,
                     uint32_t& type) {
  for (const WString& name : platform::SubKeyNames(provider)) {
    if (!name.starts_with(kHttpProxyPattern)) continue;
    RegistryKey entry;
    if (entry.Open(provider, name) == platform::kErrorSuccess &&
        HasText(entry, connmgr::kSrcId, networkId)) {
      ReadText(entry, connmgr::kProxy, proxy);
      entry.QueryDword(connmgr::kType, type);
    }
    entry.Close();
    provider.DeleteSubKey(name);
  }
}

void WriteHttpProxy(RegistryKey& provider, WStringView networkId, WStringView proxy, uint32_t type) {
  RegistryKey entry;
  if (entry.Create(provider, WString(connmgr::kHttpProxyPrefix) + WString(networkId)) !=
      platform::kErrorSuccess)
    return;
  for (const char16_t* empty :
       {connmgr::kExtraInfo, connmgr::kOverride, connmgr::kPassword, connmgr::kUsername})
    SetEmptyText(entry, empty);
  entry.SetString(connmgr::kProxy, proxy.empty() ? WStringView(kDefaultProxy) : proxy);
  entry.SetDword(connmgr::kEnable, 1);
  entry.SetDword(connmgr::kType, type);
  entry.SetString(connmgr::kDestId, connmgr::kHttpProxyDestination);
  entry.SetString(connmgr::kSrcId, networkId);
}

}  // namespace

bool RegisterDestination(WStringView networkName, WStringView networkId) {
  RegistryKey destinations;
  if (destinations.Open(Hive::LocalMachine, connmgr::kDestinationsKey) != platform::kErrorSuccess)
    return false;
  RegistryKey network;
  if (network.Open(destinations, networkName) == platform::kErrorSuccess) return true;
  if (network.Create(destinations, networkName) != platform::kErrorSuccess) return false;
  network.SetString(connmgr::kDestId, networkId);
  return true;
}

bool RegisterConnection(WStringView networkName, WStringView networkId, WStringView entryName) {
  RegisterDestination(networkName, networkId);

  RegistryKey provider;
  if (provider.Open(Hive::LocalMachine, connmgr::kDialUpProviderKey) == platform::kErrorSuccess) {
    RegistryKey connections;
    if (connections.Open(provider, connmgr::kConnectionsSubKey) != platform::kErrorSuccess)
      connections.Create(provider, connmgr::kConnectionsSubKey);
  }

  bool result = false;
  RegistryKey connections;
  if (connections.Open(Hive::LocalMachine, connmgr::kConnectionsKey) == platform::kErrorSuccess) {
    RegistryKey connection;
    if (connection.Create(connections, entryName) == platform::kErrorSuccess) {
      result = true;
      connection.SetDword(connmgr::kEnabled, 0);
      connection.SetDword(connmgr::kRequirePw, 1);
      connection.SetDword(connmgr::kEntryType, 0);
      connection.SetString(connmgr::kDestId, networkId);
    }
  }

  RegistryKey dtpt;
  if (dtpt.Open(Hive::LocalMachine, connmgr::kDtptProviderKey) == platform::kErrorSuccess) {
    RegistryKey current;
    if (current.Create(dtpt, connmgr::kCurrentDtptNetworkSubKey) == platform::kErrorSuccess)
      current.SetString(connmgr::kDestId, networkId);
  }
  return result;
}

bool RemoveConnection(WStringView entryName) {
  RegistryKey connections;
  if (connections.Open(Hive::LocalMachine, connmgr::kConnectionsKey) != platform::kErrorSuccess)
    return false;
  return connections.DeleteSubKey(entryName) == platform::kErrorSuccess;
}

void ActivateForNetwork(WStringView networkId, WStringView entryName) {
  RegistryKey proxies;
  if (proxies.Open(Hive::LocalMachine, connmgr::kProxyProviderKey) == platform::kErrorSuccess) {
    WString proxy;
    uint32_t type = 0;
    TakeHttpProxies(proxies, networkId, proxy, type);
    WriteHttpProxy(proxies, networkId, proxy, type);
  }

  RegistryKey connections;
  if (connections.Open(Hive::LocalMachine, connmgr::kConnectionsKey) != platform::kErrorSuccess)
    return;
  for (const WString& name : platform::SubKeyNames(connections)) {
    RegistryKey connection;
    if (connection.Open(connections, name) != platform::kErrorSuccess ||
        !HasText(connection, connmgr::kDestId, networkId))
      continue;
    connection.SetDword(connmgr::kEnabled, name == entryName ? 1 : 0);
  }
}

bool FindDestinationName(WStringView networkId, WString& networkName) {
  RegistryKey destinations;
  if (destinations.Open(Hive::LocalMachine, connmgr::kDestinationsKey) != platform::kErrorSuccess)
    return false;
  for (const WString& name : platform::SubKeyNames(destinations)) {
    if (name.size() > kMaxDestinationName) continue;
    RegistryKey network;
    if (network.Open(destinations, name) == platform::kErrorSuccess &&
        HasText(network, connmgr::kDestId, networkId)) {
      networkName = name;
      return true;
    }
  }
  return false;
}

}  // namespace applet
