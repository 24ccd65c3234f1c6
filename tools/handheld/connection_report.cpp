#include "tools/handheld/connection_report.h"

#include <map>
#include <sstream>
#include <vector>

#include "platform/config_service_providers.h"
#include "platform/connection_manager_keys.h"
#include "platform/device.h"
#include "platform/ras.h"
#include "platform/ras_device_config.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"
#include "platform/registry_subkeys.h"

namespace handheld {

namespace {

namespace connmgr = platform::connmgr;
using platform::Hive;
using platform::RegistryKey;
using platform::WString;
using platform::WStringView;

constexpr size_t kLabelWidth = 18;

std::string U8(WStringView text) { return platform::ToUtf8(text); }

void Field(std::ostringstream& out, const std::string& indent, const std::string& label,
           const std::string& value) {
  out << indent << label << std::string(label.size() < kLabelWidth ? kLabelWidth - label.size() : 1, ' ')
      << value << "\n";
}

std::string Text(const RegistryKey& key, WStringView name) {
  WString text;
  return key.QueryString(name, text) == platform::kErrorSuccess ? U8(text) : "(none)";
}

std::string Number(const RegistryKey& key, WStringView name) {
  uint32_t value = 0;
  return key.QueryDword(name, value) == platform::kErrorSuccess ? std::to_string(value) : "(none)";
}

std::string Address(const platform::RasIpAddr& a) { return U8(platform::RasAddressText(a)); }

// Network identifiers by the names the destinations give them.
using NetworkNames = std::map<std::string, std::string>;

std::string Network(const NetworkNames& names, const std::string& id) {
  auto it = names.find(id);
  return it == names.end() ? id : it->second + " " + id;
}

void DeviceBlock(std::ostringstream& out, const std::vector<uint8_t>& block) {
  const std::string indent = "    ";
  if (block.empty()) {
    Field(out, indent, "device block", "(none)");
    return;
  }
  const auto& layout = platform::DeviceConfigLayoutFor(platform::CurrentDevice().Config().platformType);
  auto settings = platform::DecodeDeviceConfig(layout, block);
  if (!settings) {
    Field(out, indent, "device block", std::to_string(block.size()) + " bytes, too short to read");
    return;
  }
  Field(out, indent, "modem commands", settings->command.empty() ? "(none)" : U8(settings->command));
  Field(out, indent, "speed", std::to_string(settings->dteSpeed) + " bit/s");
}

void PhonebookEntry(std::ostringstream& out, const platform::PhonebookEntry& p) {
  const std::string indent = "    ";
  const platform::RasEntry& e = p.entry;
  out << "  " << U8(p.name) << "\n";
  Field(out, indent, "number", e.localPhoneNumber[0] ? U8(platform::RasText(e.localPhoneNumber)) : "(none)");
  Field(out, indent, "device",
        U8(platform::RasText(e.deviceName)) + " (" + U8(platform::RasText(e.deviceType)) + ")");
  Field(out, indent, "IP address",
        e.options & platform::kRaseoSpecificIpAddr ? Address(e.ipAddr) : "assigned by the network");
  Field(out, indent, "name servers",
        e.options & platform::kRaseoSpecificNameServers
            ? Address(e.dnsAddr) + ", " + Address(e.altDnsAddr) + " (WINS " + Address(e.winsAddr) +
                  ", " + Address(e.altWinsAddr) + ")"
            : "assigned by the network");
  Field(out, indent, "user name", p.userName.empty() ? "(none)" : U8(p.userName));
  if (p.cellular) {
    Field(out, indent, "access point", U8(p.cellular->accessPointName));
    if (!p.cellular->qosRequested.empty()) Field(out, indent, "QoS requested", U8(p.cellular->qosRequested));
    if (!p.cellular->qosMinimum.empty()) Field(out, indent, "QoS minimum", U8(p.cellular->qosMinimum));
  }
  DeviceBlock(out, p.deviceConfig);
}

void Phonebook(std::ostringstream& out) {
  out << "Phonebook\n";
  std::vector<WString> names;
  platform::ListPhonebookEntries(names);
  if (names.empty()) out << "  (no entries)\n";
  for (const WString& name : names) {
    platform::PhonebookEntry entry;
    platform::ErrorCode e = platform::ReadPhonebookEntry(name, entry);
    if (e == platform::kErrorSuccess)
      PhonebookEntry(out, entry);
    else
      out << "  " << U8(name) << "\n    (unreadable, RAS error " << e << ")\n";
  }
}

NetworkNames Networks(std::ostringstream& out) {
  NetworkNames names;
  out << "  networks\n";
  RegistryKey destinations;
  if (destinations.Open(Hive::LocalMachine, connmgr::kDestinationsKey) == platform::kErrorSuccess) {
    for (const WString& name : platform::SubKeyNames(destinations)) {
      RegistryKey network;
      if (network.Open(destinations, name) != platform::kErrorSuccess) continue;
      const std::string id = Text(network, connmgr::kDestId);
      names.emplace(id, U8(name));
      Field(out, "    ", U8(name), id);
    }
  }
  if (names.empty()) out << "    (none)\n";
  return names;
}

void Connections(std::ostringstream& out, const NetworkNames& names) {
  out << "  connections\n";
  RegistryKey connections;
  std::vector<WString> entries;
  if (connections.Open(Hive::LocalMachine, connmgr::kConnectionsKey) == platform::kErrorSuccess)
    entries = platform::SubKeyNames(connections);
  if (entries.empty()) out << "    (none)\n";
  for (const WString& name : entries) {
    RegistryKey c;
    if (c.Open(connections, name) != platform::kErrorSuccess) continue;
    Field(out, "    ", U8(name),
          Network(names, Text(c, connmgr::kDestId)) + ", Enabled " + Number(c, connmgr::kEnabled));
  }
  RegistryKey current;
  if (current.Open(Hive::LocalMachine, WString(connmgr::kDtptProviderKey) + u"\\" +
                                            connmgr::kCurrentDtptNetworkSubKey) ==
      platform::kErrorSuccess)
    Field(out, "  ", "current network", Network(names, Text(current, connmgr::kDestId)));
}

void Proxies(std::ostringstream& out, const NetworkNames& names) {
  out << "  proxies\n";
  RegistryKey provider;
  std::vector<WString> proxies;
  if (provider.Open(Hive::LocalMachine, connmgr::kProxyProviderKey) == platform::kErrorSuccess)
    proxies = platform::SubKeyNames(provider);
  if (proxies.empty()) out << "    (none)\n";
  for (const WString& name : proxies) {
    RegistryKey p;
    if (p.Open(provider, name) != platform::kErrorSuccess) continue;
    out << "    " << U8(name) << "\n";
    Field(out, "      ", "proxy", Text(p, connmgr::kProxy) + ", type " + Number(p, connmgr::kType) +
                                      ", Enable " + Number(p, connmgr::kEnable));
    Field(out, "      ", "from", Network(names, Text(p, connmgr::kSrcId)));
    Field(out, "      ", "to", Network(names, Text(p, connmgr::kDestId)));
  }
}

void Accounts(std::ostringstream& out, const NetworkNames& names) {
  out << "Messaging accounts\n";
  RegistryKey accounts;
  std::vector<WString> ids;
  if (accounts.Open(Hive::CurrentUser, platform::kMessagingAccountsKey) == platform::kErrorSuccess)
    ids = platform::SubKeyNames(accounts);
  if (ids.empty()) out << "  (none)\n";
  for (const WString& id : ids) {
    RegistryKey account;
    if (account.Open(accounts, id) != platform::kErrorSuccess) continue;
    out << "  " << U8(id) << "\n";
    WString value;
    for (uint32_t i = 0; account.EnumValue(i, value) == platform::kErrorSuccess; ++i) {
      const std::string text = Text(account, value);
      Field(out, "    ", U8(value), value == u"CONNECTIONID" ? Network(names, text) : text);
    }
  }
}

}  // namespace

std::string ConnectionReport() {
  std::ostringstream out;
  Phonebook(out);
  out << "Connection manager\n";
  const NetworkNames names = Networks(out);
  Connections(out, names);
  Proxies(out, names);
  Accounts(out, names);
  return out.str();
}

}  // namespace handheld
