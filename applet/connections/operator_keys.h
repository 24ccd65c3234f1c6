#pragma once
// The keys of the operator database "GPRSope.inf" and how their values are
// read: the key names of each kind of connection, the "Network" tokens and
// the authentication words. The database reads operators with them, and the
// integrator's checker uses the same tables to say what the applet would
// make of a file.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "applet/connections/connection_kinds.h"
#include "base/text.h"

namespace applet::operator_keys {

// Keys shared by all kinds of connection.
inline constexpr char16_t kCountryProvider[] = u"CountryProvider";
inline constexpr char16_t kNetwork[] = u"Network";
inline constexpr char16_t kIconIndex[] = u"IconIndex";
inline constexpr char16_t kIconFile[] = u"IconFile";
inline constexpr char16_t kHomeNetworkNumber[] = u"HomeNetworkNumber";
inline constexpr char16_t kQosRequested[] = u"QOSRequested";
inline constexpr char16_t kQosMinimum[] = u"QOSMinimum";
inline constexpr char16_t kPdpType[] = u"PDPType";
inline constexpr char16_t kMmsOnly[] = u"MMSonly";
inline constexpr char16_t kMmsGateway[] = u"MMS WapGw";
inline constexpr char16_t kMmsCenter[] = u"MMS Center";
inline constexpr char16_t kMmsApn[] = u"MMS APN";
inline constexpr char16_t kMmsUserName[] = u"MMS Username";
inline constexpr char16_t kMmsPassword[] = u"MMS Password";
inline constexpr char16_t kMmsGatewayPort[] = u"MMS WapGwPort";
inline constexpr char16_t kWapProxy[] = u"WAP PROXY";
inline constexpr char16_t kWapSecureProxy[] = u"WAP SECURE PROXY";

inline constexpr char16_t kDefaultPdpType[] = u"IP";
inline constexpr char16_t kDefaultMmsGatewayPort[] = u"9201";

// The keys of one kind of connection; null where the kind has no such key.
struct KindKeys {
  BearerType kind;
  const char16_t* connectionName;
  const char16_t* defaultConnectionName;
  const char16_t* apnList;
  const char16_t* phoneNumber;
  const char16_t* modemCommand;
  const char16_t* userName;
  const char16_t* password;
  const char16_t* dns1;
  const char16_t* dns2;
  const char16_t* ipAddress;
  const char16_t* headerCompression;
  const char16_t* dataCompression;
  const char16_t* authentication;
};

// The eight kinds, in the order of their bits.
std::span<const KindKeys> AllKindKeys();
// The keys of a kind, or null for a value that is no single kind.
const KindKeys* KeysOf(BearerType kind);

// The kind bit of a "Network" token (already in upper case), or nullopt for
// a token that names no kind.
std::optional<int32_t> NetworkTokenBit(platform::WStringView upperToken);
// The tokens of a "Network" value: cut at every comma and every space,
// empty pieces dropped, each in upper case.
std::vector<platform::WString> NetworkTokens(platform::WStringView value);

// The authentication word of an "Auth" key: "NONE", "PAP", "CHAP" or
// "AUTO", compared exactly; nullopt for any other text.
std::optional<AuthMethod> AuthenticationWord(platform::WStringView value);

// Files a country code among the codes met so far: its index when it is
// there already, else appended with its new index. added tells which.
size_t MergeCountryCode(std::vector<int32_t>& countryNumbers, int32_t code, bool& added);

}  // namespace applet::operator_keys
