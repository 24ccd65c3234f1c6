#include "tools/handheld/operator_import.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "applet/connections/connection_kinds.h"
#include "applet/connections/operator_database.h"
#include "applet/connections/operator_keys.h"
#include "applet/device/country_name.h"
#include "tools/handheld/operator_file_writer.h"
#include "tools/handheld/public_country_codes.h"
#include "tools/handheld/section_names.h"
#include "tools/handheld/value_forms.h"

namespace handheld {

namespace {

using applet::BearerType;
using platform::WString;
using platform::WStringView;
namespace keys = applet::operator_keys;

constexpr char16_t kListSeparator = u',';
// The applet keeps two name servers per kind of connection.
constexpr size_t kMaxDnsServers = 2;
// Numbered suffixes tried for a name before the provider is given up.
constexpr int kMaxNameSuffix = 99;
constexpr size_t kMccDigits = 3;
constexpr size_t kMinMncDigits = 2;
constexpr size_t kMaxMncDigits = 3;

std::string U8(WStringView text) { return platform::ToUtf8(text); }
WString U16(std::string_view text) { return platform::FromUtf8(text); }
std::string Quoted(WStringView text) { return "\"" + U8(text) + "\""; }

bool IsAsciiDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Runs of white space and control characters become one blank, and the
// ends lose them: a name from the list fits on a header line.
WString CleanName(WStringView name) {
  WString out;
  bool blank = false;
  for (char16_t c : name) {
    if (platform::IsSpace(c) || c < 0x20 || c == 0x7F) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += u' ';
    blank = false;
    out += c;
  }
  return out;
}

WString TrimWhite(WStringView text) {
  while (!text.empty() && platform::IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && platform::IsSpace(text.back())) text.remove_suffix(1);
  return WString(text);
}

// The code under which the applet's country table files each region.
class CountryFiling {
 public:
  CountryFiling() {
    for (const applet::CountryRow& row : applet::CountryTable())
      if (std::optional<std::string> region = RegionOfCountryRow(row)) byRegion_.emplace(*region, row.code);
  }
  int32_t CodeOf(const std::string& region) const {
    const auto it = byRegion_.find(region);
    return it == byRegion_.end() ? applet::kNoCountryCode : it->second;
  }

 private:
  std::map<std::string, int32_t> byRegion_;
};

// One access point's login, as compared between access points.
struct Login {
  WString username;
  WString password;
  std::string authentication;
  bool operator==(const Login&) const = default;
};

// The access points of one use that a kind of connection can carry.
struct ChosenAccessPoints {
  std::vector<WString> apns;
  const AccessPoint* first = nullptr;
  Login login;
};

// A section as it will be written.
struct Section {
  std::vector<WString> comments;
  std::vector<std::pair<WString, WString>> values;
  void Add(WStringView key, WStringView value) {
    if (!value.empty()) values.emplace_back(key, value);
  }
};

class Importer {
 public:
  explicit Importer(const ImportSettings& settings)
      : settings_(settings),
        writer_(settings.codePage),
        names_({settings.placeholder, settings.customOperator},
               {WString(applet::OperatorDatabase::kUnknownSection), settings.customOperator}) {}

  ImportResult Run(const ProviderList& list) {
    WriteOpening();
    for (const ProviderCountry& country : list.countries) ImportCountry(country);
    result_.fileText = writer_.Text();
    return std::move(result_);
  }

 private:
  // The provider being imported.
  struct Current {
    const ProviderCountry* country = nullptr;
    const Provider* provider = nullptr;
    WString countryName;
    int32_t code = applet::kNoCountryCode;
    WString section;  // once named
  };

  void WriteOpening() {
    writer_.Comment(u"Operator database imported from the mobile broadband provider list");
    writer_.Comment(U16(settings_.source));
    writer_.Comment(u"by handheld operators import. One section per provider, in the list's order;");
    writer_.Comment(u"the comments of a section tell what the applet cannot use of the provider.");
    writer_.Comment(u"");
    writer_.Comment(U16("This file is written in code page " + std::to_string(settings_.codePage.CodePage()) + "."));
  }

  void Note(NoteKind kind, std::string message) {
    result_.notes.push_back({kind, current_.provider != nullptr ? current_.provider->line : 0,
                             current_.provider != nullptr ? current_.provider->name : std::string(),
                             current_.country->region, current_.section, std::move(message)});
  }
  void Warn(std::string message) { Note(NoteKind::Warning, std::move(message)); }

  // The country's name for comments and name suffixes.
  WString CountryName(const ProviderCountry& country) const {
    const WString name = CleanName(U16(country.name));
    if (!name.empty() && !writer_.SectionNameFault(name)) return name;
    if (std::optional<WString> latin = settings_.codePage.Transliterate(name)) return CleanName(*latin);
    return U16(country.region);
  }

  void ImportCountry(const ProviderCountry& country) {
    current_ = Current{&country};
    current_.countryName = CountryName(country);
    current_.code = filing_.CodeOf(country.region);
    const std::optional<int> publicCode = CountryCodeOfRegion(country.region);
    const std::string publicText =
        publicCode ? "public telephone code " + std::to_string(*publicCode) : "no public telephone code";

    size_t written = 0;
    for (const Provider& provider : country.providers) {
      current_.provider = &provider;
      current_.section.clear();
      if (ImportProvider(publicText)) ++written;
    }
    current_.provider = nullptr;
    current_.section.clear();
    if (written == 0) return;
    const std::string name = U8(current_.countryName);
    if (current_.code == applet::kNoCountryCode)
      Note(NoteKind::NoCountry, name + " (" + publicText + ") has no row in the applet's country table; its " +
                                    std::to_string(written) + " operator(s) are filed under no country");
    else if (publicCode != current_.code)
      Note(NoteKind::CountryCode, name + " is filed under " + std::to_string(current_.code) +
                                      ", the code the applet's country table gives it (" + publicText + ")");
  }

  // The provider's name as a section can have it, or nullopt (skipped).
  std::optional<WString> ProviderName() {
    const WString original = CleanName(U16(current_.provider->name));
    if (original.empty()) {
      Note(NoteKind::Skipped, "the provider has no name");
      return std::nullopt;
    }
    WString name = original;
    if (!settings_.codePage.Encode(name)) {
      std::optional<WString> latin = settings_.codePage.Transliterate(name);
      if (!latin) {
        Note(NoteKind::Skipped, "its name cannot be written in code page " +
                                    std::to_string(settings_.codePage.CodePage()) + ", not even in Latin letters");
        return std::nullopt;
      }
      name = CleanName(*latin);
      Note(NoteKind::Transliterated, Quoted(name));
    }
    if (name.find_first_of(u"[]") != WString::npos) {
      std::replace(name.begin(), name.end(), u'[', u'(');
      std::replace(name.begin(), name.end(), u']', u')');
      Note(NoteKind::Renamed, "brackets in the name, which would end the section's header, are written as "
                              "parentheses: " + Quoted(name));
    }
    if (std::optional<std::string> fault = writer_.SectionNameFault(name)) {
      Note(NoteKind::Skipped, "its name " + *fault);
      return std::nullopt;
    }
    return name;
  }

  // The first name in the list of candidates that the applet reads as its
  // own section and the dialog shows.
  std::optional<WString> SectionName(const WString& name, bool listed) {
    std::vector<WString> candidates{name};
    // A name already used in the same country is numbered; one used in
    // another country is told apart by this one.
    const auto key = std::make_pair(current_.country->region, platform::ToUpper(name));
    if (namesInCountry_.insert(key).second)
      candidates.push_back(name + u" (" + current_.countryName + u")");
    for (int n = 2; n <= kMaxNameSuffix; ++n) candidates.push_back(name + u" (" + platform::FormatInt(n) + u")");

    std::optional<SectionNames::Conflict> first = names_.ConflictOf(name, current_.code);
    for (const WString& candidate : candidates) {
      if (writer_.SectionNameFault(candidate) || names_.ConflictOf(candidate, current_.code)) continue;
      names_.Take(candidate, current_.code, listed);
      if (first)
        Note(NoteKind::Renamed,
             "written as " + Quoted(candidate) + ", since " +
                 (first->sameName ? "a section before it is named " + Quoted(first->other)
                                  : "the operator dialog would hide it behind " + Quoted(first->other) +
                                        ", listed before it"));
      return candidate;
    }
    Note(NoteKind::Skipped, "no name derived from " + Quoted(name) + " is free");
    return std::nullopt;
  }

  // The login of an access point, or nullopt (with a warning) when it
  // cannot be written.
  std::optional<Login> LoginOf(const AccessPoint& ap, const char16_t* userNameKey, const char16_t* passwordKey) {
    Login login{U16(ap.username.value_or("")), U16(ap.password.value_or("")), ap.authentication};
    for (auto [key, value] : {std::pair{userNameKey, &login.username}, std::pair{passwordKey, &login.password}}) {
      if (std::optional<std::string> fault = writer_.ValueFault(key, *value)) {
        Warn("access point " + Quoted(U16(ap.apn)) + " (line " + std::to_string(ap.line) + "): its " +
             U8(key) + " " + *fault + "; the access point is left out");
        return std::nullopt;
      }
    }
    if (!login.authentication.empty() && login.authentication != "pap" && login.authentication != "chap") {
      Warn("access point " + Quoted(U16(ap.apn)) + ": authentication \"" + login.authentication +
           "\" is neither PAP nor CHAP; the applet negotiates it");
      login.authentication.clear();
    }
    return login;
  }

  // The APN of an access point as a list piece, or nullopt (with a warning).
  std::optional<WString> ApnOf(const AccessPoint& ap, WStringView what) {
    const std::string where = " (line " + std::to_string(ap.line) + ")";
    WString apn = U16(ap.apn);
    const WString trimmed = TrimWhite(apn);
    if (trimmed.empty()) {
      Warn(U8(what) + " access point" + where + " has no APN; left out");
      return std::nullopt;
    }
    if (trimmed != apn) {
      Warn("APN " + Quoted(apn) + where + " has white space, which the applet cuts off; written as " +
           Quoted(trimmed));
      apn = trimmed;
    }
    if (std::optional<std::string> fault = writer_.ListPieceFault(apn, kListSeparator)) {
      Warn("APN " + Quoted(apn) + where + " " + *fault + "; left out");
      return std::nullopt;
    }
    return apn;
  }

  // The access points of one use that share the first usable one's login.
  ChosenAccessPoints ChooseAccessPoints(bool AccessPoint::*use, const keys::KindKeys& k, WStringView what) {
    ChosenAccessPoints chosen;
    WString joined;
    for (const AccessPoint& ap : current_.provider->accessPoints) {
      if (!(ap.*use)) continue;
      std::optional<WString> apn = ApnOf(ap, what);
      if (!apn) continue;
      std::optional<Login> login = LoginOf(ap, k.userName, k.password);
      if (!login) continue;
      if (chosen.first != nullptr && *login != chosen.login) {
        Warn(U8(what) + " APN " + Quoted(*apn) + " (line " + std::to_string(ap.line) +
             ") needs another login than " + Quoted(chosen.apns.front()) +
             "; the applet keeps one login per kind of connection, so it is left out");
        continue;
      }
      if (std::find(chosen.apns.begin(), chosen.apns.end(), *apn) != chosen.apns.end()) continue;
      const WString longer = joined.empty() ? *apn : joined + kListSeparator + *apn;
      if (writer_.ValueFault(k.apnList, longer)) {
        Warn(U8(what) + " APN " + Quoted(*apn) + " does not fit on the line of the list; left out");
        continue;
      }
      joined = longer;
      if (chosen.first == nullptr) {
        chosen.first = &ap;
        chosen.login = *login;
      }
      chosen.apns.push_back(*apn);
    }
    return chosen;
  }

  void AddDns(Section& section, const std::vector<std::string>& servers, const keys::KindKeys& k) {
    std::vector<WString> usable;
    for (const std::string& server : servers) {
      const WString text = U16(server);
      if (!IsDottedAddress(text)) {
        Warn("name server " + Quoted(text) + " is no dotted IPv4 address, the only kind the applet takes; left out");
      } else if (usable.size() == kMaxDnsServers) {
        Warn("name server " + Quoted(text) + " is left out; the applet keeps two");
      } else {
        usable.push_back(text);
      }
    }
    if (!usable.empty()) section.Add(k.dns1, usable[0]);
    if (usable.size() > 1) section.Add(k.dns2, usable[1]);
  }

  void AddLogin(Section& section, const Login& login, const keys::KindKeys& k) {
    section.Add(k.userName, login.username);
    section.Add(k.password, login.password);
    if (!login.authentication.empty()) section.Add(k.authentication, platform::ToUpper(U16(login.authentication)));
  }

  void AddAccessPoints(Section& section, const ChosenAccessPoints& chosen, const keys::KindKeys& k) {
    WString joined;
    for (const WString& apn : chosen.apns) joined += (joined.empty() ? WString() : WString(1, kListSeparator)) + apn;
    section.Add(k.apnList, joined);
    AddLogin(section, chosen.login, k);
    AddDns(section, chosen.first->dns, k);
  }

  // The MMS gateway from host:port: an IPv4 host and a port of digits.
  void AddMmsGateway(Section& section, const AccessPoint& ap) {
    if (ap.mmsProxy.empty()) return;
    const WString proxy = U16(ap.mmsProxy);
    const size_t colon = proxy.rfind(u':');
    const WString host = proxy.substr(0, colon);
    const WString port = colon == WString::npos ? WString() : proxy.substr(colon + 1);
    if (!IsDottedAddress(host)) {
      Warn("MMS proxy " + Quoted(proxy) + " has no dotted IPv4 address, the only kind the applet takes; left out");
      return;
    }
    section.Add(keys::kMmsGateway, host);
    if (IsDigitText(port)) {
      section.Add(keys::kMmsGatewayPort, port);
    } else {
      Warn("MMS proxy " + Quoted(proxy) + " names no port; the applet uses " + U8(keys::kDefaultMmsGatewayPort));
    }
  }

  void AddMms(Section& section, const Login& internetLogin) {
    for (const AccessPoint& ap : current_.provider->accessPoints) {
      if (!ap.mms) continue;
      const WString apn = U16(ap.apn);
      const WString centre = U16(ap.mmsc);
      if (centre.empty()) {
        Warn("MMS access point " + Quoted(apn) + " (line " + std::to_string(ap.line) + ") names no MMS centre; left out");
        continue;
      }
      std::optional<std::string> fault = writer_.ValueFault(keys::kMmsApn, apn);
      if (!fault) fault = writer_.ValueFault(keys::kMmsCenter, centre);
      if (fault) {
        Warn("MMS access point " + Quoted(apn) + " (line " + std::to_string(ap.line) + "): a value " + *fault +
             "; left out");
        continue;
      }
      std::optional<Login> login = LoginOf(ap, keys::kMmsUserName, keys::kMmsPassword);
      if (!login) continue;
      section.Add(keys::kMmsOnly, u"1");
      section.Add(keys::kMmsApn, apn);
      section.Add(keys::kMmsCenter, centre);
      AddMmsGateway(section, ap);
      section.Add(keys::kMmsUserName, login->username);
      section.Add(keys::kMmsPassword, login->password);
      // An empty MMS login is no login to the applet: it takes the internet one.
      if (login->username.empty() && !internetLogin.username.empty())
        Warn("the MMS access point has no username; the applet uses the internet one, " +
             Quoted(internetLogin.username));
      if (login->password.empty() && !internetLogin.password.empty())
        Warn("the MMS access point has no password; the applet uses the internet one");
      return;
    }
  }

  // The network codes: five-digit ones that no earlier section lists go to
  // the list, the others to comments.
  void AddNetworkCodes(Section& section) {
    std::vector<WString> listed;
    std::vector<WString> sixDigit;
    std::map<WString, std::vector<WString>> claimed;  // by the section that lists them
    for (const NetworkCode& id : current_.provider->networks) {
      if (id.mcc.size() != kMccDigits || id.mnc.size() < kMinMncDigits || id.mnc.size() > kMaxMncDigits ||
          !IsAsciiDigits(id.mcc) || !IsAsciiDigits(id.mnc)) {
        Warn("network code mcc=\"" + id.mcc + "\" mnc=\"" + id.mnc +
             "\" is not three digits and two or three digits; left out");
        continue;
      }
      const WString code = U16(id.mcc + id.mnc);
      if (std::find(listed.begin(), listed.end(), code) != listed.end() ||
          std::find(sixDigit.begin(), sixDigit.end(), code) != sixDigit.end())
        continue;
      if (!IsHomeNetworkNumber(code)) {
        sixDigit.push_back(code);
        Note(NoteKind::SixDigitCode, U8(code));
        continue;
      }
      if (const auto holder = codeHolders_.find(code); holder != codeHolders_.end()) {
        auto& codes = claimed[holder->second];
        if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
        Note(NoteKind::ClaimedCode, U8(code) + " (listed by " + Quoted(holder->second) + ")");
        continue;
      }
      listed.push_back(code);
    }
    auto join = [](const std::vector<WString>& codes) {
      WString text;
      for (const WString& c : codes) text += (text.empty() ? u"" : u", ") + c;
      return text;
    };
    if (!sixDigit.empty())
      section.comments.push_back(u"six-digit network codes, which no SIM card finds (the applet compares five "
                                 u"digits): " + join(sixDigit));
    for (const auto& [holder, codes] : claimed)
      section.comments.push_back(u"network codes that [" + holder + u"] lists before this section: " + join(codes));
    WString joined;
    for (const WString& code : listed) {
      joined += (joined.empty() ? WString() : WString(1, kListSeparator)) + code;
      codeHolders_.emplace(code, current_.section);
    }
    section.Add(keys::kHomeNetworkNumber, joined);
  }

  // Imports the current provider; false when it is skipped.
  bool ImportProvider(const std::string& publicText) {
    const Provider& provider = *current_.provider;
    std::optional<WString> name = ProviderName();
    if (!name) return false;
    if (!provider.hasGsm && !provider.hasCdma) {
      Note(NoteKind::Skipped, "the provider has neither GSM nor CDMA settings");
      return false;
    }

    Section section;
    std::vector<WString> network;
    const keys::KindKeys& gprs = *keys::KeysOf(BearerType::Gprs);
    ChosenAccessPoints internet;
    if (provider.hasGsm) {
      internet = ChooseAccessPoints(&AccessPoint::internet, gprs, u"internet");
      if (internet.apns.empty()) {
        if (!provider.hasCdma) {
          Note(NoteKind::Skipped, "the provider has no usable internet access point");
          return false;
        }
        Warn("the provider has no usable internet access point; only its CDMA settings are written");
      }
    }
    const bool gsm = !internet.apns.empty();

    std::optional<WString> sectionName = SectionName(*name, gsm);
    if (!sectionName) return false;
    current_.section = *sectionName;

    // The provider's own name, also where the section has another.
    const WString original = CleanName(U16(provider.name));
    section.comments.push_back((original != *name ? u"original name: " : u"") + original + u" (" +
                               current_.countryName + u"), line " +
                               platform::FormatInt(static_cast<long long>(provider.line)) + u" of the provider list");
    if (current_.code == applet::kNoCountryCode)
      section.comments.push_back(current_.countryName + u" (" + U16(publicText) +
                                 u") has no row in the applet's country table: filed under no country");
    if (current_.code != applet::kNoCountryCode)
      section.Add(keys::kCountryProvider, platform::FormatInt(current_.code));
    const size_t networkAt = section.values.size();

    if (gsm) {
      network.push_back(u"GPRS");
      AddNetworkCodes(section);
      AddAccessPoints(section, internet, gprs);
      const keys::KindKeys& wapKeys = *keys::KeysOf(BearerType::WapGprs);
      ChosenAccessPoints wap = ChooseAccessPoints(&AccessPoint::wap, wapKeys, u"WAP");
      if (!wap.apns.empty()) {
        network.push_back(u"WAPGPRS");
        AddAccessPoints(section, wap, wapKeys);
      }
      AddMms(section, internet.login);
    }
    if (provider.hasCdma) {
      const keys::KindKeys& cdma = *keys::KeysOf(BearerType::OneXRtt);
      network.push_back(u"1XRTT");
      // CDMA has no access point; its login is told apart as "CDMA".
      const AccessPoint login{.apn = "CDMA", .username = provider.cdmaUsername, .password = provider.cdmaPassword,
                              .line = provider.line};
      if (std::optional<Login> l = LoginOf(login, cdma.userName, cdma.password)) AddLogin(section, *l, cdma);
      AddDns(section, provider.cdmaDns, cdma);
    }
    WString networkValue;
    for (const WString& token : network) networkValue += (networkValue.empty() ? u"" : u",") + token;
    section.values.insert(section.values.begin() + static_cast<ptrdiff_t>(networkAt),
                          {WString(keys::kNetwork), networkValue});

    Write(section);
    result_.sections.push_back({current_.section, provider.name, current_.country->region, provider.line,
                                current_.code, gsm});
    return true;
  }

  void Write(const Section& section) {
    writer_.BlankLine();
    writer_.Header(current_.section);
    for (const WString& comment : section.comments) writer_.Comment(comment);
    for (const auto& [key, value] : section.values) writer_.KeyLine(key, value);
  }

  const ImportSettings& settings_;
  OperatorFileWriter writer_;
  SectionNames names_;
  CountryFiling filing_;
  ImportResult result_;
  Current current_;
  std::set<std::pair<std::string, WString>> namesInCountry_;  // region and upper-case name
  std::map<WString, WString> codeHolders_;                     // network code -> section
};

}  // namespace

ImportResult ImportOperators(const ProviderList& providers, const ImportSettings& settings) {
  return Importer(settings).Run(providers);
}

}  // namespace handheld
