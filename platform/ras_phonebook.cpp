#include "platform/ras_phonebook.h"

#include <algorithm>

#include "platform/registry.h"

namespace platform {

namespace {

constexpr char16_t kOptions[] = u"Options";
constexpr char16_t kCountryCode[] = u"CountryCode";
constexpr char16_t kAreaCode[] = u"AreaCode";
constexpr char16_t kPhone[] = u"Phone";
constexpr char16_t kDeviceType[] = u"DeviceType";
constexpr char16_t kDeviceName[] = u"DeviceName";
constexpr char16_t kIpAddr[] = u"IpAddr";
constexpr char16_t kDnsAddr[] = u"DnsAddr";
constexpr char16_t kAltDnsAddr[] = u"AltDnsAddr";
constexpr char16_t kWinsAddr[] = u"WinsAddr";
constexpr char16_t kAltWinsAddr[] = u"AltWinsAddr";
constexpr char16_t kDevCfg[] = u"DevCfg";
constexpr char16_t kUserName[] = u"UserName";
constexpr char16_t kPassword[] = u"Password";
constexpr char16_t kDomain[] = u"Domain";
constexpr char16_t kAccessPointName[] = u"AccessPointName";
constexpr char16_t kQosRequested[] = u"QosRequested";
constexpr char16_t kQosMinimum[] = u"QosMinimum";

WString EntryPath(WStringView name) { return WString(kRasBookKey) + u"\\" + WString(name); }

RegistryValue TextValue(const char16_t* name, WStringView text) {
  return {name, kRegSz, EncodeRegistryString(text)};
}

RegistryValue DwordValue(const char16_t* name, uint32_t value) {
  return {name, kRegDword,
          {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
           static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)}};
}

// Each read below leaves the default when the value is absent and reports
// a value it cannot use as a corrupt phonebook.
class EntryReader {
 public:
  explicit EntryReader(const RegistryKey& key) : key_(key) {}

  bool Text(const char16_t* name, std::span<char16_t> field) {
    WString text;
    if (!Text(name, text)) return false;
    return CopyRasText(field, text);
  }
  bool Text(const char16_t* name, WString& out) {
    ErrorCode e = key_.QueryString(name, out);
    if (e == kErrorFileNotFound) out.clear();
    return e == kErrorSuccess || e == kErrorFileNotFound;
  }
  bool OptionalText(const char16_t* name, std::optional<WString>& out) {
    WString text;
    ErrorCode e = key_.QueryString(name, text);
    if (e == kErrorSuccess) out = std::move(text);
    return e == kErrorSuccess || e == kErrorFileNotFound;
  }
  bool Dword(const char16_t* name, uint32_t& out) {
    ErrorCode e = key_.QueryDword(name, out);
    return e == kErrorSuccess || e == kErrorFileNotFound;
  }
  bool Address(const char16_t* name, RasIpAddr& out) {
    WString text;
    ErrorCode e = key_.QueryString(name, text);
    if (e == kErrorFileNotFound) return true;
    return e == kErrorSuccess && ParseRasAddress(text, out);
  }
  bool Block(std::vector<uint8_t>& out) {
    uint32_t size = 0;
    ErrorCode e = key_.QueryValue(kDevCfg, nullptr, nullptr, &size);
    if (e == kErrorFileNotFound) return true;
    if (e != kErrorSuccess || size > kMaxDeviceConfigSize) return false;
    return key_.QueryBinary(kDevCfg, out) == kErrorSuccess;
  }
  bool Has(const char16_t* name) {
    uint32_t size = 0;
    return key_.QueryValue(name, nullptr, nullptr, &size) == kErrorSuccess;
  }

 private:
  const RegistryKey& key_;
};

bool ReadEntryValues(const RegistryKey& key, PhonebookEntry& out) {
  EntryReader r(key);
  RasEntry& e = out.entry;
  e = RasEntry{};
  e.size = sizeof(RasEntry);
  bool ok = r.Dword(kOptions, e.options) && r.Dword(kCountryCode, e.countryCode) &&
            r.Text(kAreaCode, e.areaCode) && r.Text(kPhone, e.localPhoneNumber) &&
            r.Text(kDeviceType, e.deviceType) && r.Text(kDeviceName, e.deviceName) &&
            r.Address(kIpAddr, e.ipAddr) && r.Address(kDnsAddr, e.dnsAddr) &&
            r.Address(kAltDnsAddr, e.altDnsAddr) && r.Address(kWinsAddr, e.winsAddr) &&
            r.Address(kAltWinsAddr, e.altWinsAddr) && r.Block(out.deviceConfig) &&
            r.Text(kUserName, out.userName) && r.OptionalText(kPassword, out.password) &&
            r.Text(kDomain, out.domain);
  if (!ok) return false;
  // The dial parameters are bounded like the entry's own texts.
  if (out.userName.size() > kRasMaxUserName || out.domain.size() > kRasMaxDomain ||
      (out.password && out.password->size() > kRasMaxPassword))
    return false;
  if (r.Has(kAccessPointName)) {
    CellularInfo info;
    if (!r.Text(kAccessPointName, info.accessPointName) ||
        !r.Text(kQosRequested, info.qosRequested) || !r.Text(kQosMinimum, info.qosMinimum))
      return false;
    out.cellular = std::move(info);
  }
  return true;
}

// A text field is usable when it holds its terminator.
bool Terminated(std::span<const char16_t> field) {
  return std::find(field.begin(), field.end(), u'\0') != field.end();
}

bool EntryTextsTerminated(const RasEntry& e) {
  return Terminated(e.areaCode) && Terminated(e.localPhoneNumber) &&
         Terminated(e.deviceType) && Terminated(e.deviceName);
}

}  // namespace

bool IsValidRasEntryName(WStringView name) {
  if (name.empty() || name.size() > kRasMaxEntryName || name.front() == u'.') return false;
  bool allBlank = true;
  for (char16_t c : name) {
    if (c < 0x20 || c == 0x7F || c == u'\\') return false;
    if (c != u' ') allBlank = false;
  }
  return !allBlank;
}

ErrorCode ListPhonebookEntries(std::vector<WString>& names) {
  names.clear();
  RegistryKey book;
  ErrorCode e = book.Open(Hive::CurrentUser, kRasBookKey);
  if (e == kErrorFileNotFound) return kErrorSuccess;
  if (e != kErrorSuccess) return kRasErrorCannotOpenPhonebook;
  for (uint32_t i = 0;; ++i) {
    WString name;
    e = book.EnumSubKey(i, name);
    if (e == kErrorNoMoreItems) return kErrorSuccess;
    if (e != kErrorSuccess) return kRasErrorCannotOpenPhonebook;
    names.push_back(std::move(name));
  }
}

bool PhonebookEntryExists(WStringView name) {
  if (!IsValidRasEntryName(name)) return false;
  RegistryKey key;
  return key.Open(Hive::CurrentUser, EntryPath(name)) == kErrorSuccess;
}

ErrorCode ReadPhonebookEntry(WStringView name, PhonebookEntry& out) {
  if (!IsValidRasEntryName(name)) return kRasErrorCannotFindPhonebookEntry;
  RegistryKey key;
  ErrorCode e = key.Open(Hive::CurrentUser, EntryPath(name));
  if (e == kErrorFileNotFound) return kRasErrorCannotFindPhonebookEntry;
  if (e != kErrorSuccess) return kRasErrorCannotOpenPhonebook;
  out = PhonebookEntry{};
  out.name = WString(name);
  std::vector<WString> names;
  if (ListPhonebookEntries(names) == kErrorSuccess)
    for (const WString& stored : names)
      if (EqualsNoCase(stored, name)) out.name = stored;
  return ReadEntryValues(key, out) ? kErrorSuccess : kRasErrorCorruptPhonebook;
}

std::vector<RegistryValue> EncodeEntryProperties(const RasEntry& e) {
  return {
      DwordValue(kOptions, e.options),
      DwordValue(kCountryCode, e.countryCode),
      TextValue(kAreaCode, RasText(e.areaCode)),
      TextValue(kPhone, RasText(e.localPhoneNumber)),
      TextValue(kDeviceType, RasText(e.deviceType)),
      TextValue(kDeviceName, RasText(e.deviceName)),
      TextValue(kIpAddr, RasAddressText(e.ipAddr)),
      TextValue(kDnsAddr, RasAddressText(e.dnsAddr)),
      TextValue(kAltDnsAddr, RasAddressText(e.altDnsAddr)),
      TextValue(kWinsAddr, RasAddressText(e.winsAddr)),
      TextValue(kAltWinsAddr, RasAddressText(e.altWinsAddr)),
  };
}

RegistryValue EncodeDeviceConfig(const std::vector<uint8_t>& block) {
  return {kDevCfg, kRegBinary, block};
}

namespace {

ErrorCode SetAll(RegistryKey& key, const std::vector<RegistryValue>& values) {
  for (const RegistryValue& v : values)
    if (key.SetValue(v.name, v.type, v.data.data(), static_cast<uint32_t>(v.data.size())) !=
        kErrorSuccess)
      return kRasErrorCannotWritePhonebook;
  return kErrorSuccess;
}

ErrorCode RemoveValue(RegistryKey& key, const char16_t* name) {
  ErrorCode e = key.DeleteValue(name);
  return e == kErrorSuccess || e == kErrorFileNotFound ? kErrorSuccess
                                                       : kRasErrorCannotWritePhonebook;
}

}  // namespace

ErrorCode WritePhonebookEntry(WStringView name, const RasEntry& entry,
                              const std::vector<uint8_t>* deviceConfig,
                              const CellularInfo* cellular) {
  if (!IsValidRasEntryName(name)) return kErrorInvalidName;
  if (!EntryTextsTerminated(entry)) return kErrorInvalidParameter;
  if (deviceConfig && deviceConfig->size() > kMaxDeviceConfigSize) return kErrorInvalidParameter;
  RegistryKey key;
  if (key.Create(Hive::CurrentUser, EntryPath(name)) != kErrorSuccess)
    return kRasErrorCannotWritePhonebook;
  std::vector<RegistryValue> values = EncodeEntryProperties(entry);
  if (deviceConfig) values.push_back(EncodeDeviceConfig(*deviceConfig));
  if (cellular) {
    values.push_back(TextValue(kAccessPointName, cellular->accessPointName));
    values.push_back(TextValue(kQosRequested, cellular->qosRequested));
    values.push_back(TextValue(kQosMinimum, cellular->qosMinimum));
  }
  if (ErrorCode e = SetAll(key, values); e != kErrorSuccess) return e;
  if (!cellular)
    for (const char16_t* v : {kAccessPointName, kQosRequested, kQosMinimum})
      if (ErrorCode e = RemoveValue(key, v); e != kErrorSuccess) return e;
  return kErrorSuccess;
}

ErrorCode WritePhonebookDialParams(WStringView name, WStringView userName,
                                   const WString* password, WStringView domain) {
  if (!IsValidRasEntryName(name)) return kRasErrorCannotFindPhonebookEntry;
  if (userName.size() > kRasMaxUserName || domain.size() > kRasMaxDomain ||
      (password && password->size() > kRasMaxPassword))
    return kErrorInvalidParameter;
  RegistryKey key;
  ErrorCode e = key.Open(Hive::CurrentUser, EntryPath(name));
  if (e == kErrorFileNotFound) return kRasErrorCannotFindPhonebookEntry;
  if (e != kErrorSuccess) return kRasErrorCannotOpenPhonebook;
  std::vector<RegistryValue> values{TextValue(kUserName, userName), TextValue(kDomain, domain)};
  if (password) values.push_back(TextValue(kPassword, *password));
  if (ErrorCode w = SetAll(key, values); w != kErrorSuccess) return w;
  return password ? kErrorSuccess : RemoveValue(key, kPassword);
}

ErrorCode DeletePhonebookEntry(WStringView name) {
  if (!IsValidRasEntryName(name)) return kRasErrorCannotFindPhonebookEntry;
  ErrorCode e = DeleteRegistryKey(Hive::CurrentUser, EntryPath(name));
  if (e == kErrorFileNotFound) return kRasErrorCannotFindPhonebookEntry;
  return e == kErrorSuccess ? kErrorSuccess : kRasErrorCannotWritePhonebook;
}

}  // namespace platform
