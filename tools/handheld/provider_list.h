#pragma once
// The providers of mobile-broadband-provider-info ("serviceproviders.xml",
// format 2.0): per country, each provider's name, its GSM network codes and
// access points, and its CDMA login. Only what the operator import uses is
// kept; texts are UTF-8 as in the file, with white space around them
// removed (but for the APN and the login, which are kept as written).
//
// The shape of the file, as read:
//
//   <serviceproviders format="2.0">
//     <country code="fr"> <name>France</name>
//       <provider> <name>Orange</name> <name xml:lang="..">..</name>
//         <gsm> <network-id mcc="208" mnc="01"/>
//           <apn value="orange.fr"> <usage type="internet"/>
//             <username/> <password/> <authentication method="pap"/>
//             <dns/> <mmsc/> <mmsproxy>host:port</mmsproxy> </apn>
//         </gsm>
//         <cdma> <username/> <password/> <dns/> </cdma>
//       </provider>
//     </country>
//   </serviceproviders>
//
// An access point without <usage> serves the internet, as the package's
// other readers take it.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace handheld {

// The file the Debian package installs.
inline constexpr char kDefaultProviderFile[] =
    "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";
// Larger files are refused before they are read (the package's is 0.4 MB).
inline constexpr size_t kMaxProviderFileSize = 64u << 20;

struct AccessPoint {
  std::string apn;
  bool internet = false;  // usage "internet", an "mms-internet-..." usage, or none
  bool mms = false;       // usage "mms" or "mms-internet-..."
  bool wap = false;       // usage "wap"
  std::optional<std::string> username;
  std::optional<std::string> password;
  std::string authentication;  // "pap", "chap" or empty
  std::vector<std::string> dns;
  std::string mmsc;
  std::string mmsProxy;  // host:port
  size_t line = 0;
};

struct NetworkCode {
  std::string mcc;
  std::string mnc;
};

struct Provider {
  std::string name;   // the name without a language, else the first
  size_t line = 0;    // of <provider>
  bool hasGsm = false;
  std::vector<NetworkCode> networks;
  std::vector<AccessPoint> accessPoints;
  bool hasCdma = false;
  std::optional<std::string> cdmaUsername;
  std::optional<std::string> cdmaPassword;
  std::vector<std::string> cdmaDns;
};

struct ProviderCountry {
  std::string region;  // ISO 3166 code in upper case ("FR")
  std::string name;    // the country's <name>, or empty
  std::vector<Provider> providers;
};

struct ProviderList {
  std::vector<ProviderCountry> countries;
};

// Reads the file. False with why ("path:line: what") when it cannot be read,
// is too large, is not well-formed XML or is no provider list.
bool LoadProviderList(const std::filesystem::path& path, ProviderList& out, std::string& why);
// The same for the bytes of such a file; name stands for it in why.
bool ParseProviderList(std::string_view data, const std::string& name, ProviderList& out, std::string& why);

}  // namespace handheld
