#pragma once
// The handheld's default RAS phonebook: one registry key per entry under
// HKEY_CURRENT_USER\Comm\RasBook, named like the entry (names compare
// without regard to letter case, as the registry's do). Values:
//
//   "Options"       REG_DWORD   the entry's RASEO_ option bits
//   "CountryCode"   REG_DWORD   dialling country code
//   "AreaCode"      REG_SZ
//   "Phone"         REG_SZ      local phone number
//   "DeviceType"    REG_SZ      "modem"
//   "DeviceName"    REG_SZ      the RAS device, e.g. "Cellular Line"
//   "IpAddr", "DnsAddr", "AltDnsAddr", "WinsAddr", "AltWinsAddr"
//                   REG_SZ      dotted addresses a.b.c.d
//   "DevCfg"        REG_BINARY  the device configuration block
//                               (ras_device_config.h)
//   "UserName", "Password", "Domain"
//                   REG_SZ      dial parameters; "Password" only while one
//                               is saved
//   "AccessPointName", "QosRequested", "QosMinimum"
//                   REG_SZ      what the configuration manager knows of a
//                               GPRS entry it made (QoS classes as
//                               "precedence,delay,reliability,peak,mean");
//                               absent for other entries
//
// The other fields of the entry structure (script, X.25, framing) are not
// kept and read back as zero. A value of the wrong type, or a text longer
// than its field, makes the entry unreadable (kRasErrorCorruptPhonebook):
// the phonebook never hands out a cut text.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/errors.h"
#include "base/registry_tree.h"
#include "base/text.h"
#include "platform/ras.h"

namespace platform {

inline constexpr char16_t kRasBookKey[] = u"Comm\\RasBook";
// The largest device configuration block the phonebook keeps.
inline constexpr size_t kMaxDeviceConfigSize = 4096;

struct CellularInfo {
  WString accessPointName;
  WString qosRequested;
  WString qosMinimum;
  bool operator==(const CellularInfo&) const = default;
};

struct PhonebookEntry {
  WString name;
  RasEntry entry{};  // size field set by ReadPhonebookEntry
  std::vector<uint8_t> deviceConfig;
  WString userName;
  std::optional<WString> password;  // nullopt when none is saved
  WString domain;
  std::optional<CellularInfo> cellular;
};

// Whether the phonebook can hold an entry of that name: 1 to 20
// characters, no backslash or control character, not starting with a dot,
// not only blanks.
bool IsValidRasEntryName(WStringView name);

// The entries' names in the registry's order.
ErrorCode ListPhonebookEntries(std::vector<WString>& names);
bool PhonebookEntryExists(WStringView name);
// kRasErrorCannotFindPhonebookEntry when absent; the name read is the one
// the entry was created with.
ErrorCode ReadPhonebookEntry(WStringView name, PhonebookEntry& out);

// The registry values of an entry's properties (the values every write of
// the properties sets, so that none is left over from an earlier one).
std::vector<RegistryValue> EncodeEntryProperties(const RasEntry& entry);
RegistryValue EncodeDeviceConfig(const std::vector<uint8_t>& block);

// Creates or replaces an entry's properties; a null block keeps the one the
// entry has. Cellular information is replaced by the given one (none
// removes it). Dial parameters are kept.
ErrorCode WritePhonebookEntry(WStringView name, const RasEntry& entry,
                              const std::vector<uint8_t>* deviceConfig,
                              const CellularInfo* cellular);
// The entry must exist. A null password removes the saved one.
ErrorCode WritePhonebookDialParams(WStringView name, WStringView userName,
                                   const WString* password, WStringView domain);
ErrorCode DeletePhonebookEntry(WStringView name);

}  // namespace platform
