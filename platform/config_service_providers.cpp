#include "platform/config_service_providers.h"

#include <charconv>
#include <optional>

#include "platform/connection_manager_keys.h"
#include "platform/ras.h"
#include "platform/ras_default_entry.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"

namespace platform {

namespace {

constexpr char16_t kGprsEntries[] = u"CM_GPRSEntries";
constexpr char16_t kPppEntries[] = u"CM_PPPEntries";
constexpr char16_t kProxyEntries[] = u"CM_ProxyEntries";
constexpr char16_t kEmail[] = u"EMAIL2";
constexpr char16_t kCellular[] = u"DevSpecificCellular";
// The line GPRS entries dial through.
constexpr char16_t kCellularDevice[] = u"Cellular Line";
constexpr char16_t kModemDeviceType[] = u"modem";

bool Fail(std::string* why, const std::string& message) {
  if (why) *why = message;
  return false;
}

std::string Quoted(WStringView text) { return "\"" + ToUtf8(text) + "\""; }

WString ParmOr(const ConfigCharacteristic& c, WStringView name, WStringView fallback = u"") {
  const WString* v = c.Parm(name);
  return v ? *v : WString(fallback);
}

bool IsOn(const ConfigCharacteristic& c, WStringView name) { return ParmOr(c, name) == u"1"; }

// A decimal number of the document: digits only, nothing else.
std::optional<uint32_t> ParseNumber(WStringView text) {
  const std::string s = ToUtf8(text);
  uint32_t value = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return value;
}

// A key name taken from a document must name one key, not a path.
bool IsSingleKeyName(WStringView name) {
  return IsValidKeyName(name) && !name.empty() && name.find(u'\\') == WStringView::npos;
}

void SetKeyValues(Hive hive, const WString& path, const std::vector<std::pair<WString, WString>>& texts,
                  const std::vector<std::pair<WString, uint32_t>>& numbers) {
  RegistryKey key;
  if (key.Create(hive, path) != kErrorSuccess) return;
  for (const auto& [name, value] : texts) key.SetString(name, value);
  for (const auto& [name, value] : numbers) key.SetDword(name, value);
}

// --- phonebook entries ------------------------------------------------------

struct EntryPlan {
  WString name;
  RasEntry entry{};
  std::optional<CellularInfo> cellular;
  WString userName, password, domain;
  WString destId;
  uint32_t enabled = 0;
  uint32_t requirePw = 0;
};

// The QoS of "DevSpecificCellular" as "precedence,delay,reliability,peak,mean",
// empty when not valid.
bool CellularQos(const ConfigCharacteristic& cell, const std::u16string& prefix, WString& out,
                 std::string* why) {
  out.clear();
  if (ParmOr(cell, u"GPRSInfo" + prefix + u"QOSSettingsValid") != u"1") return true;
  for (const char16_t* cls : {u"Precedence", u"Delay", u"Reliability", u"PeakThru", u"MeanThru"}) {
    const WString name = u"GPRSInfo" + prefix + u"QOS" + cls + u"Class";
    auto n = ParseNumber(ParmOr(cell, name, u"0"));
    if (!n) return Fail(why, ToUtf8(name) + " is not a number");
    if (!out.empty()) out += u",";
    out += FormatInt(*n);
  }
  return true;
}

bool PlanEntry(const ConfigCharacteristic& c, bool gprs, EntryPlan& plan, std::string* why) {
  plan.name = c.type;
  if (!IsValidRasEntryName(c.type))
    return Fail(why, "the phonebook cannot hold an entry named " + Quoted(c.type) +
                         " (1 to 20 characters, no backslash)");
  RasEntry& e = plan.entry;
  e.size = sizeof(RasEntry);
  e.options = kRaseoUseCountryAndAreaCodes;
  if (IsOn(c, u"SpecificIpAddr")) e.options |= kRaseoSpecificIpAddr;
  if (IsOn(c, u"SpecificNameServers")) e.options |= kRaseoSpecificNameServers;
  if (IsOn(c, u"IpHeaderCompression")) e.options |= kRaseoIpHeaderCompression;
  if (IsOn(c, u"SwCompression")) e.options |= kRaseoSwCompression;
  // Read as the platform reads a dialling code anywhere: leniently.
  e.countryCode = static_cast<uint32_t>(TextToLong(ParmOr(c, u"CountryCode")));

  struct Address {
    const char16_t* parm;
    RasIpAddr* field;
  };
  for (Address a : {Address{u"IpAddr", &e.ipAddr}, Address{u"DnsAddr", &e.dnsAddr},
                    Address{u"AltDnsAddr", &e.altDnsAddr}, Address{u"WinsAddr", &e.winsAddr},
                    Address{u"AltWinsAddr", &e.altWinsAddr}})
    if (const WString* v = c.Parm(a.parm); v && !ParseRasAddress(*v, *a.field))
      return Fail(why, ToUtf8(a.parm) + " of " + Quoted(c.type) + " is no address");

  WString phone, deviceName = kCellularDevice, deviceType = kModemDeviceType;
  if (gprs) {
    const ConfigCharacteristic* cell = c.Child(kCellular);
    CellularInfo info;
    if (cell) {
      info.accessPointName = ParmOr(*cell, u"GPRSInfoAccessPointName");
      if (!CellularQos(*cell, u"", info.qosRequested, why) ||
          !CellularQos(*cell, u"Min", info.qosMinimum, why))
        return false;
    }
    plan.cellular = info;
  } else {
    phone = ParmOr(c, u"Phone");
    deviceName = ParmOr(c, u"DeviceName", kCellularDevice);
    deviceType = ParmOr(c, u"DeviceType", kModemDeviceType);
  }
  if (!CopyRasText(e.areaCode, ParmOr(c, u"AreaCode")) ||
      !CopyRasText(e.localPhoneNumber, phone) || !CopyRasText(e.deviceName, deviceName) ||
      !CopyRasText(e.deviceType, deviceType))
    return Fail(why, "a text of " + Quoted(c.type) + " is longer than the phonebook holds");

  plan.userName = ParmOr(c, u"UserName");
  plan.password = ParmOr(c, u"Password");
  plan.domain = ParmOr(c, u"Domain");
  if (plan.userName.size() > kRasMaxUserName || plan.password.size() > kRasMaxPassword ||
      plan.domain.size() > kRasMaxDomain)
    return Fail(why, "the user name, password or domain of " + Quoted(c.type) +
                         " is longer than the phonebook holds");
  plan.destId = ParmOr(c, connmgr::kDestId);
  plan.enabled = IsOn(c, connmgr::kEnabled) ? 1 : 0;
  plan.requirePw = IsOn(c, connmgr::kRequirePw) ? 1 : 0;
  return true;
}

// The block of the built-in default entry, the template of every entry.
std::optional<std::vector<uint8_t>> DefaultDeviceConfig() {
  for (const char16_t* name : {kEnglishDefaultEntry, kFrenchDefaultEntry}) {
    PhonebookEntry entry;
    if (ReadPhonebookEntry(name, entry) == kErrorSuccess && !entry.deviceConfig.empty())
      return entry.deviceConfig;
  }
  return std::nullopt;
}

WString ConnectionKeyPath(WStringView entry) {
  return WString(connmgr::kConnectionsKey) + u"\\" + WString(entry);
}

void ApplyEntry(const EntryPlan& plan) {
  const auto block = DefaultDeviceConfig();
  if (WritePhonebookEntry(plan.name, plan.entry, block ? &*block : nullptr,
                          plan.cellular ? &*plan.cellular : nullptr) != kErrorSuccess)
    return;
  WritePhonebookDialParams(plan.name, plan.userName, &plan.password, plan.domain);
  SetKeyValues(Hive::LocalMachine, ConnectionKeyPath(plan.name), {{connmgr::kDestId, plan.destId}},
               {{connmgr::kEnabled, plan.enabled},
                {connmgr::kRequirePw, plan.requirePw},
                {connmgr::kEntryType, 0}});
}

bool PrepareEntries(const ConfigCharacteristic& list, bool gprs, std::vector<ConfigChange>& changes,
                    std::string* why) {
  for (const ConfigCharacteristic& c : list.children) {
    if (c.removal) {
      if (!IsValidRasEntryName(c.type))
        return Fail(why, "no phonebook entry can be named " + Quoted(c.type));
      changes.push_back([name = c.type] {
        DeletePhonebookEntry(name);
        DeleteRegistryKey(Hive::LocalMachine, ConnectionKeyPath(name));
      });
      continue;
    }
    EntryPlan plan;
    if (!PlanEntry(c, gprs, plan, why)) return false;
    changes.push_back([plan = std::move(plan)] { ApplyEntry(plan); });
  }
  return true;
}

// --- proxies and accounts ---------------------------------------------------

bool PrepareProxies(const ConfigCharacteristic& list, std::vector<ConfigChange>& changes,
                    std::string* why) {
  for (const ConfigCharacteristic& c : list.children) {
    if (!IsSingleKeyName(c.type)) return Fail(why, "no proxy entry can be named " + Quoted(c.type));
    const WString path = WString(connmgr::kProxyProviderKey) + u"\\" + c.type;
    if (c.removal) {
      changes.push_back([path] { DeleteRegistryKey(Hive::LocalMachine, path); });
      continue;
    }
    auto type = ParseNumber(ParmOr(c, connmgr::kType, u"0"));
    if (!type) return Fail(why, "Type of proxy " + Quoted(c.type) + " is not a number");
    std::vector<std::pair<WString, WString>> texts{
        {connmgr::kSrcId, ParmOr(c, connmgr::kSrcId)},
        {connmgr::kDestId, ParmOr(c, connmgr::kDestId)},
        {connmgr::kProxy, ParmOr(c, connmgr::kProxy)}};
    std::vector<std::pair<WString, uint32_t>> numbers{
        {connmgr::kEnable, IsOn(c, connmgr::kEnabled) ? 1u : 0u}, {connmgr::kType, *type}};
    changes.push_back([path, texts = std::move(texts), numbers = std::move(numbers)] {
      DeleteRegistryKey(Hive::LocalMachine, path);
      SetKeyValues(Hive::LocalMachine, path, texts, numbers);
    });
  }
  return true;
}

bool PrepareAccounts(const ConfigCharacteristic& list, std::vector<ConfigChange>& changes,
                     std::string* why) {
  for (const ConfigCharacteristic& c : list.children) {
    if (!IsSingleKeyName(c.type)) return Fail(why, "no account can be named " + Quoted(c.type));
    const WString path = WString(kMessagingAccountsKey) + u"\\" + c.type;
    std::vector<std::pair<WString, WString>> texts;
    for (const ConfigParm& p : c.parms) {
      if (!IsValidValueName(p.name)) return Fail(why, "bad parameter name " + Quoted(p.name));
      texts.emplace_back(p.name, p.value);
    }
    changes.push_back([path, texts = std::move(texts), removal = c.removal] {
      DeleteRegistryKey(Hive::CurrentUser, path);
      if (!removal) SetKeyValues(Hive::CurrentUser, path, texts, {});
    });
  }
  return true;
}

}  // namespace

const WString* ConfigCharacteristic::Parm(WStringView name) const {
  for (const ConfigParm& p : parms)
    if (p.name == name) return &p.value;
  return nullptr;
}

const ConfigCharacteristic* ConfigCharacteristic::Child(WStringView childType) const {
  for (const ConfigCharacteristic& c : children)
    if (!c.removal && c.type == childType) return &c;
  return nullptr;
}

bool IsKnownCharacteristicType(WStringView type) {
  return type == kGprsEntries || type == kPppEntries || type == kProxyEntries || type == kEmail;
}

bool PrepareCharacteristic(const ConfigCharacteristic& c, std::vector<ConfigChange>& changes,
                           std::string* why) {
  if (c.removal) return Fail(why, "a whole " + ToUtf8(c.type) + " cannot be removed");
  if (c.type == kGprsEntries) return PrepareEntries(c, true, changes, why);
  if (c.type == kPppEntries) return PrepareEntries(c, false, changes, why);
  if (c.type == kProxyEntries) return PrepareProxies(c, changes, why);
  if (c.type == kEmail) return PrepareAccounts(c, changes, why);
  return Fail(why, "unknown characteristic " + ToUtf8(c.type));
}

}  // namespace platform
