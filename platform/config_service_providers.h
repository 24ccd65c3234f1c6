#pragma once
// What the configuration manager does with the characteristics of an
// accepted document, as the handheld's configuration service providers do
// for the types the applet writes:
//
//   CM_GPRSEntries, CM_PPPEntries  each inner characteristic creates or
//       replaces the phonebook entry of its name (properties, dial user name
//       and password, the device configuration block of the default entry;
//       for GPRS the access point and QoS of "DevSpecificCellular") and its
//       connection-manager connection key ("DestId", "Enabled",
//       "RequirePw", "EntryType" 0); a nocharacteristic removes both.
//   CM_ProxyEntries  each inner characteristic creates or replaces the proxy
//       entry of its name under the proxy provider key ("SrcId", "DestId",
//       "Proxy", "Enable", "Type"); a nocharacteristic removes it.
//   EMAIL2  each inner characteristic is a messaging account, named by its
//       identifier; its parameters are kept as texts (REG_SZ, named like the
//       parameters) under kMessagingAccountsKey\<identifier> in
//       HKEY_CURRENT_USER, replacing what the account held; a
//       nocharacteristic removes the account. The MMS account is
//       "{751F77F6-920D-43e3-AFCB-7888B2666C63}".
//
// Every characteristic is checked before anything is applied, so a
// document either applies whole or not at all.

#include <functional>
#include <string>
#include <vector>

#include "base/text.h"

namespace platform {

inline constexpr char16_t kMessagingAccountsKey[] = u"\\Software\\Messaging\\Accounts";

struct ConfigParm {
  WString name;
  WString value;
};

struct ConfigCharacteristic {
  WString type;
  bool removal = false;  // a nocharacteristic
  std::vector<ConfigParm> parms;
  std::vector<ConfigCharacteristic> children;

  // The first parameter of that name, or null.
  const WString* Parm(WStringView name) const;
  const ConfigCharacteristic* Child(WStringView type) const;
};

// A checked change, applied after every characteristic of the document
// passed its check.
using ConfigChange = std::function<void()>;

bool IsKnownCharacteristicType(WStringView type);

// Checks a characteristic of a known type and appends the changes it makes;
// false, with *why, when the device cannot apply it.
bool PrepareCharacteristic(const ConfigCharacteristic& characteristic,
                           std::vector<ConfigChange>& changes, std::string* why);

}  // namespace platform
