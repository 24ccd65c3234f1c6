#include "tools/handheld/operator_check.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "applet/connections/adresse_ip.h"
#include "applet/connections/operator_database.h"
#include "applet/connections/operator_keys.h"
#include "applet/connections/quality_of_service.h"
#include "applet/connections/sms_center_database.h"
#include "applet/device/country_name.h"
#include "applet/device/sectioned_text_reader.h"
#include "applet/shell/operator_dialog_lists.h"
#include "tools/handheld/public_country_codes.h"
#include "tools/handheld/value_forms.h"

namespace handheld {

using applet::SectionedTextReader;
using platform::WString;
using platform::WStringView;
namespace keys = applet::operator_keys;

namespace {

std::string U8(WStringView text) { return platform::ToUtf8(text); }

bool IsDigits(WStringView text) { return IsDigitText(text); }

// A whole number, sign allowed, nothing else.
std::optional<long long> WholeNumber(WStringView text) {
  WStringView digits = text;
  if (!digits.empty() && (digits.front() == u'-' || digits.front() == u'+')) digits.remove_prefix(1);
  if (!IsDigits(digits) || digits.size() > 9) return std::nullopt;
  return platform::TextToLong(text);
}

// Five comma-separated classes, each digits with optional blanks around.
bool IsQosText(WStringView text) {
  int parts = 0;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(u',', start);
    WStringView part = text.substr(start, comma == WStringView::npos ? WStringView::npos : comma - start);
    while (!part.empty() && part.front() == u' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == u' ') part.remove_suffix(1);
    if (!IsDigits(part)) return false;
    ++parts;
    if (comma == WStringView::npos) break;
    start = comma + 1;
  }
  return parts == 5;
}

enum class ValueType { Text, Integer, Flag, Country, Address, Qos, Auth, Network, HomeNetworks, SmsCenter };

struct KeyInfo {
  ValueType type;
  int32_t defaultValue = 0;  // of integers
};

std::optional<KeyInfo> OperatorKey(WStringView key) {
  auto is = [&](const char16_t* name) { return name != nullptr && SectionedTextReader::KeysEqual(key, name); };
  if (is(keys::kCountryProvider)) return KeyInfo{ValueType::Country, applet::kNoCountryCode};
  if (is(keys::kNetwork)) return KeyInfo{ValueType::Network};
  if (is(keys::kIconIndex)) return KeyInfo{ValueType::Integer, applet::CRASparam::kNoIcon};
  if (is(keys::kHomeNetworkNumber)) return KeyInfo{ValueType::HomeNetworks};
  if (is(keys::kQosRequested) || is(keys::kQosMinimum)) return KeyInfo{ValueType::Qos};
  if (is(keys::kMmsOnly)) return KeyInfo{ValueType::Flag};
  if (is(keys::kMmsGateway)) return KeyInfo{ValueType::Address};
  for (const char16_t* text : {keys::kIconFile, keys::kPdpType, keys::kMmsCenter, keys::kMmsApn,
                               keys::kMmsUserName, keys::kMmsPassword, keys::kMmsGatewayPort,
                               keys::kWapProxy, keys::kWapSecureProxy})
    if (is(text)) return KeyInfo{ValueType::Text};
  for (const keys::KindKeys& k : keys::AllKindKeys()) {
    for (const char16_t* text : {k.connectionName, k.apnList, k.phoneNumber, k.modemCommand,
                                 k.userName, k.password})
      if (is(text)) return KeyInfo{ValueType::Text};
    if (is(k.dns1) || is(k.dns2) || is(k.ipAddress)) return KeyInfo{ValueType::Address};
    if (is(k.headerCompression) || is(k.dataCompression)) return KeyInfo{ValueType::Flag};
    if (is(k.authentication)) return KeyInfo{ValueType::Auth};
  }
  return std::nullopt;
}

constexpr char16_t kSmsCenterPrefix[] = u"SmsCenter";

std::optional<KeyInfo> SmsCenterKey(WStringView key) {
  if (SectionedTextReader::KeysEqual(key, keys::kCountryProvider))
    return KeyInfo{ValueType::Integer, applet::kNoCountryCode};
  if (SectionedTextReader::KeysEqual(key, keys::kHomeNetworkNumber))
    return KeyInfo{ValueType::HomeNetworks};
  const WStringView prefix(kSmsCenterPrefix);
  if (key.size() > prefix.size() &&
      SectionedTextReader::KeysEqual(key.substr(0, prefix.size()), prefix) &&
      IsDigits(key.substr(prefix.size())))
    return KeyInfo{ValueType::SmsCenter};
  return std::nullopt;
}

// Walks one file and reports what the lookups would skip or misread.
class FileCheck {
 public:
  using KeyTable = std::function<std::optional<KeyInfo>(WStringView)>;

  FileCheck(WString path, KeyTable keyTable, std::vector<Finding>& out)
      : path_(std::move(path)), keyTable_(std::move(keyTable)), out_(out) {}

  // Per-section facts gathered on the way.
  struct Section {
    size_t headerLine = 0;
    bool indexOnly = false;        // a header only the index sees
    size_t homeNetworkLine = 0;    // of the HomeNetworkNumber the applet reads
    std::map<int, size_t> centreLines;  // SmsCenter number -> line
  };
  // Each section name once, in the order the names first appear.
  const std::vector<WString>& SectionOrder() const { return order_; }
  const Section* Find(WStringView name) const {
    const auto it = sections_.find(WString(name));
    return it == sections_.end() ? nullptr : &it->second;
  }
  size_t HeaderLine(WStringView name) const {
    const Section* section = Find(name);
    return section != nullptr ? section->headerLine : 0;
  }

  bool Run() {
    SectionedTextReader reader;
    if (!reader.Open(path_)) return false;
    reader.ForEachEntry([&](const SectionedTextReader::Entry& e) { Visit(e); });
    return true;
  }

  void Report(size_t line, WStringView section, std::string message) {
    out_.push_back({path_, line, WString(section), std::move(message)});
  }

 private:
  using Kind = SectionedTextReader::EntryKind;

  void Visit(const SectionedTextReader::Entry& e) {
    switch (e.kind) {
      case Kind::Header:
        VisitHeader(e);
        return;
      case Kind::IndexOnlyHeader:
        VisitIndexOnlyHeader(e);
        return;
      case Kind::UnclosedHeader:
        Report(e.lineNumber, e.section,
               "the line has '[' but no ']' and is no header: the applet's lookups stop here and "
               "read none of the lines up to the next header");
        lookupSection_.clear();
        afterUnclosedHeader_ = true;
        return;
      case Kind::Key:
        VisitKey(e);
        return;
    }
  }

  void VisitHeader(const SectionedTextReader::Entry& e) {
    keysSeen_.clear();
    lookupSection_ = e.section;
    afterUnclosedHeader_ = false;
    auto [it, added] = sections_.try_emplace(e.section, Section{e.lineNumber});
    readable_ = added;
    if (added) {
      order_.push_back(e.section);
    } else {
      Report(e.lineNumber, e.section,
             "the section appears again; the applet reads only the first (line " +
                 std::to_string(it->second.headerLine) + ")");
    }
  }

  // The index lists such a section, so the applet offers it, but lookups
  // read its header as a line of the section above and never enter it.
  void VisitIndexOnlyHeader(const SectionedTextReader::Entry& e) {
    Report(e.lineNumber, e.section,
           "the header is indented with a tab (or other white space than blanks): the applet takes "
           "the section for an operator of no country but reads none of its keys, and reads the "
           "lines below as lines of " +
               (lookupSection_.empty() ? std::string("no section") : "[" + U8(lookupSection_) + "]"));
    auto [it, added] = sections_.try_emplace(e.section, Section{e.lineNumber, true});
    if (added) order_.push_back(e.section);
  }

  void VisitKey(const SectionedTextReader::Entry& e) {
    if (e.section.empty()) {
      // Lines after a broken header are covered by its finding.
      if (!afterUnclosedHeader_)
        Report(e.lineNumber, e.section, "the line lies outside any section and is ignored");
      return;
    }
    if (!readable_) return;
    if (e.key.empty()) {
      Report(e.lineNumber, e.section, "the line has no key (no '=' before a value) and is ignored");
      return;
    }
    const std::optional<KeyInfo> info = keyTable_(e.key);
    if (!info) {
      Report(e.lineNumber, e.section, "unknown key \"" + U8(e.key) + "\"; the applet ignores it");
      return;
    }
    const WString folded = platform::ToUpper(e.key);
    if (auto [it, added] = keysSeen_.try_emplace(folded, e.lineNumber); !added) {
      Report(e.lineNumber, e.section,
             U8(e.key) + " is given again; the applet reads only the first (line " +
                 std::to_string(it->second) + ")");
      return;
    }
    CheckValue(e, *info);
  }

  void CheckValue(const SectionedTextReader::Entry& e, const KeyInfo& info) {
    const std::string place = U8(e.key) + "=" + U8(e.value);
    switch (info.type) {
      case ValueType::Text:
        break;
      case ValueType::Integer:
      case ValueType::Country:
        if (!IsDigits(e.value) && WholeNumber(e.value) != info.defaultValue) {
          Report(e.lineNumber, e.section,
                 place + " is not a number of digits only; the applet reads " +
                     std::to_string(info.defaultValue));
        } else if (info.type == ValueType::Country && IsDigits(e.value)) {
          const int code = platform::TextToLong(e.value);
          auto [known, added] = countryFaults_.try_emplace(code);
          if (added) known->second = CountryCodeFault(code);
          if (known->second) Report(e.lineNumber, e.section, place + ": " + *known->second);
        }
        break;
      case ValueType::Flag:
        if (!IsDigits(e.value) || platform::TextToLong(e.value) > 1)
          Report(e.lineNumber, e.section, place + " is neither 0 nor 1; the applet reads it as off");
        break;
      case ValueType::Address:
        if (!e.value.empty() && !IsDottedAddress(e.value)) {
          applet::CAdresseIP address;
          Report(e.lineNumber, e.section,
                 place + " is not a dotted IPv4 address; " +
                     (address.FromText(e.value) ? "the applet reads " + U8(address.ToText())
                                                : std::string("the applet ignores it")));
        }
        break;
      case ValueType::Qos:
        if (!e.value.empty() && !IsQosText(e.value)) {
          applet::CQualityOfService qos;
          Report(e.lineNumber, e.section,
                 place + " is not five comma-separated classes (precedence,delay,reliability,"
                         "peak,mean); " +
                     (qos.FromText(e.value) ? std::string("the applet reads the numbers it can find")
                                            : std::string("the applet ignores it")));
        }
        break;
      case ValueType::Auth:
        if (!e.value.empty() && !keys::AuthenticationWord(e.value))
          Report(e.lineNumber, e.section,
                 place + " is not NONE, PAP, CHAP or AUTO (upper case); the applet uses AUTO");
        break;
      case ValueType::Network:
        for (const WString& token : keys::NetworkTokens(e.value))
          if (!keys::NetworkTokenBit(token))
            Report(e.lineNumber, e.section,
                   "Network names \"" + U8(token) + "\", which is no kind of connection; ignored");
        break;
      case ValueType::HomeNetworks:
        sections_[e.section].homeNetworkLine = e.lineNumber;
        for (const WString& number : SectionedTextReader::SplitList(e.value, u','))
          if (!IsHomeNetworkNumber(number))
            Report(e.lineNumber, e.section,
                   "home network number \"" + U8(number) +
                       "\" is not five digits (country and network code); no SIM card matches it");
        break;
      case ValueType::SmsCenter:
        sections_[e.section].centreLines[platform::TextToLong(
            WStringView(e.key).substr(std::size(kSmsCenterPrefix) - 1))] = e.lineNumber;
        break;
    }
  }

  WString path_;
  KeyTable keyTable_;
  std::vector<Finding>& out_;
  std::map<WString, Section> sections_;
  std::vector<WString> order_;
  std::map<WString, size_t> keysSeen_;
  std::map<int, std::optional<std::string>> countryFaults_;  // by code, as computed once
  WString lookupSection_;  // the section whose lookups read the next line
  bool afterUnclosedHeader_ = false;
  bool readable_ = false;
};

// For each home network number, the first section in the given order
// whose list holds it: the section a lookup by that number ends at. One
// pass finds them all, where asking the database number by number would
// read the file once for every pair of sections. A five-digit number that
// a later section lists too is reported there, since no SIM card reaches
// the later one through it.
using HomeNetworkHolders = std::map<WString, WString>;

HomeNetworkHolders FindHomeNetworkHolders(
    FileCheck& check, const std::vector<WString>& sections,
    const std::function<std::vector<WString>(WStringView)>& numbersOf) {
  HomeNetworkHolders firstHolder;
  for (const WString& name : sections) {
    for (const WString& number : numbersOf(name)) {
      const auto [it, added] = firstHolder.try_emplace(number, name);
      if (added || it->second == name || !IsHomeNetworkNumber(number)) continue;
      const FileCheck::Section* holder = check.Find(it->second);
      const FileCheck::Section* self = check.Find(name);
      check.Report(self != nullptr ? self->homeNetworkLine : 0, name,
                   "home network number " + U8(number) + " is also listed by [" + U8(it->second) +
                       "] (line " + std::to_string(holder != nullptr ? holder->homeNetworkLine : 0) +
                       "); SIM cards of this network find that section");
    }
  }
  return firstHolder;
}

// Names once each, in their order.
std::vector<WString> Distinct(const std::vector<WString>& names) {
  std::vector<WString> distinct;
  std::set<WString> seen;
  for (const WString& name : names)
    if (seen.insert(name).second) distinct.push_back(name);
  return distinct;
}

// A section whose header only the index sees has one finding that says all.
bool IsIndexOnly(const FileCheck& check, WStringView name) {
  const FileCheck::Section* section = check.Find(name);
  return section != nullptr && section->indexOnly;
}

const char* LeftOutText(applet::SmsCenterDatabase::LeftOutReason reason) {
  using Reason = applet::SmsCenterDatabase::LeftOutReason;
  switch (reason) {
    case Reason::NoFirstCenter: return "the section has no SmsCenter0; the applet leaves it out";
    case Reason::NoCountry: return "the section has no CountryProvider; the applet leaves it out";
    case Reason::CustomOperator:
      return "the section has the name of the applet's custom operator entry; the applet leaves it out";
  }
  return "the applet leaves the section out";
}

// Returns which kept section each home network number finds.
HomeNetworkHolders CheckSmsCenterSections(FileCheck& check, applet::SmsCenterDatabase& sms) {
  std::set<WString> reported;
  for (const auto& [name, reason] : sms.LeftOut()) {
    if (IsIndexOnly(check, name) || !reported.insert(name).second) continue;
    check.Report(check.HeaderLine(name), name, LeftOutText(reason));
  }
  for (const WString& name : check.SectionOrder()) {
    int expected = 0;
    for (const auto& [number, line] : check.Find(name)->centreLines) {
      if (number != expected) {
        check.Report(line, name,
                     "SmsCenter" + std::to_string(number) + " follows a gap (no SmsCenter" +
                         std::to_string(expected) + "); the applet stops at the first missing number");
        break;
      }
      ++expected;
    }
  }
  return FindHomeNetworkHolders(check, Distinct(sms.Sections()),
                                [&](WStringView name) { return sms.HomeNetworkNumbers(name); });
}

// Operators that a SIM card cannot find or that get no SMS centre.
// smsHolders is null when the SMS-centre database cannot be read.
void CheckOperatorSections(FileCheck& check, applet::OperatorDatabase& db,
                           applet::SmsCenterDatabase& sms, const HomeNetworkHolders* smsHolders,
                           const WString& smsPath, const WString& customOperator) {
  std::set<WString> seen;
  for (const auto& op : db.Operators()) {
    const WString& name = op.section;
    if (name == applet::OperatorDatabase::kUnknownSection || name == customOperator ||
        !seen.insert(name).second || IsIndexOnly(check, name))
      continue;
    const size_t line = check.HeaderLine(name);
    const std::vector<WString> numbers = db.HomeNetworkNumbers(name);
    if (numbers.empty()) {
      check.Report(line, name,
                   "the operator has no HomeNetworkNumber; no SIM card finds it and it gets no SMS centre");
      continue;
    }
    if (smsHolders == nullptr) continue;
    // The SMS section is the one that lists the operator's first number.
    const auto holder = smsHolders->find(numbers.front());
    WString centre;
    if (holder == smsHolders->end())
      check.Report(line, name,
                   "the operator has no SMS centre: no section of " + U8(smsPath) +
                       " lists its home network number " + U8(numbers.front()));
    else if (sms.FirstSmsCenter(holder->second, centre) && centre.empty())
      check.Report(line, name,
                   "the operator's SMS section [" + U8(holder->second) + "] has an empty SmsCenter0");
  }
  FindHomeNetworkHolders(check, check.SectionOrder(),
                         [&](WStringView name) { return db.HomeNetworkNumbers(name); });
}

// Operators that the operator dialog never offers, country by country, as
// the dialog's own list decides.
void CheckDialogLists(FileCheck& check, applet::OperatorDatabase& db, const WString& customOperator) {
  using Listing = applet::OperatorDatabase::Listing;
  std::set<WString> countries;
  for (const auto& country : db.Countries()) {
    if (!countries.insert(country.name).second) continue;
    for (const auto& d : db.DecideOperatorList(country.name, applet::kOperatorDialogKinds)) {
      if (d.section == customOperator || IsIndexOnly(check, d.section)) continue;
      const size_t line = check.HeaderLine(d.section);
      switch (d.listing) {
        case Listing::Listed:
        case Listing::NeverListed:
          break;
        case Listing::NameTaken:
          // A second section of the same name has its own finding.
          if (d.takenBy == d.section) break;
          check.Report(line, d.section,
                       "the operator dialog never lists the operator: " +
                           (d.takenBy == db.CustomOperator()
                                ? "the list's first entry \"" + U8(d.takenBy) + "\""
                                : "[" + U8(d.takenBy) + "], listed before it,") +
                           " begins with its name (letter case ignored)");
          break;
        case Listing::NoKindInCommon: {
          const int32_t networks = db.NetworksOf(d.section);
          check.Report(line, d.section,
                       (networks == 0 ? std::string("Network names no kind of connection")
                                      : "the operator offers only " + KindNames(networks)) +
                           "; the operator dialog lists only operators with GPRS or CSD, and a "
                           "SIM card of the operator configures nothing");
          break;
        }
      }
    }
  }
}

}  // namespace

std::string KindNames(int32_t networks) {
  std::string names;
  for (const auto& k : keys::AllKindKeys()) {
    if ((networks & applet::BearerBit(k.kind)) == 0) continue;
    if (!names.empty()) names += ' ';
    names += U8(k.connectionName);
  }
  return names.empty() ? "(none)" : names;
}

std::optional<std::string> CountryCodeFault(int code) {
  const std::vector<std::string> regions = RegionsOfCountryCode(code);
  const applet::CountryRow* row = applet::FindCountry(code);
  if (row == nullptr) {
    std::string fault =
        "the country table has no country with this code; the applet leaves the operator out of "
        "every list";
    if (regions.empty()) return fault;
    fault += " (" + std::to_string(code) + " is the public code of " + RegionName(regions.front());
    for (const applet::CountryRow& other : applet::CountryTable())
      if (RegionOfCountryRow(other) == regions.front())
        fault += ", which the table has under " + std::to_string(other.code);
    return fault + ")";
  }
  const std::optional<std::string> region = RegionOfCountryRow(*row);
  if (!region || std::find(regions.begin(), regions.end(), *region) != regions.end())
    return std::nullopt;
  const std::optional<int> publicCode = CountryCodeOfRegion(*region);
  return "the applet lists the operator under " + U8(row->name) +
         ", the country its table gives this code, but " +
         (publicCode ? "the public code of " + U8(row->name) + " is " + std::to_string(*publicCode)
                     : U8(row->name) + " has no public code") +
         " and " + std::to_string(code) + " is " +
         (regions.empty() ? std::string("no country's") : "the public code of " + RegionName(regions.front()));
}

std::vector<Finding> CheckOperatorFiles(WStringView operatorFolder, WStringView smsFolder) {
  std::vector<Finding> operatorFindings;
  std::vector<Finding> smsFindings;
  const WString operatorPath = WString(operatorFolder) + applet::OperatorDatabase::kFileName;
  const WString smsPath = WString(smsFolder) + applet::SmsCenterDatabase::kFileName;

  applet::OperatorDatabase db;
  FileCheck operators(operatorPath, OperatorKey, operatorFindings);
  if (!db.Open(operatorFolder, u"") || !operators.Run()) {
    operatorFindings.push_back({operatorPath, 0, WString(), "the file cannot be opened"});
    return operatorFindings;
  }
  // The database's own custom operator entry, before the dialog's texts
  // replace it: a section of that name is the template of the user's own.
  const WString customOperator = db.CustomOperator();
  applet::UseDialogListTexts(db);

  applet::SmsCenterDatabase sms;
  FileCheck smsCentres(smsPath, SmsCenterKey, smsFindings);
  std::optional<HomeNetworkHolders> smsHolders;
  if (sms.Open(smsFolder, applet::SmsCenterDatabase::kFileName) && smsCentres.Run())
    smsHolders = CheckSmsCenterSections(smsCentres, sms);
  else
    smsFindings.push_back({smsPath, 0, WString(),
                           "the file cannot be opened; no operator gets an SMS centre"});
  CheckOperatorSections(operators, db, sms, smsHolders ? &*smsHolders : nullptr, smsPath,
                        customOperator);
  CheckDialogLists(operators, db, customOperator);

  auto byLine = [](const Finding& a, const Finding& b) { return a.line < b.line; };
  std::stable_sort(operatorFindings.begin(), operatorFindings.end(), byLine);
  std::stable_sort(smsFindings.begin(), smsFindings.end(), byLine);
  operatorFindings.insert(operatorFindings.end(), smsFindings.begin(), smsFindings.end());
  return operatorFindings;
}

std::string FormatFinding(const Finding& finding) {
  std::string text = U8(finding.file);
  if (finding.line != 0) text += ":" + std::to_string(finding.line);
  text += ": ";
  if (!finding.section.empty()) text += "[" + U8(finding.section) + "] ";
  return text + finding.message;
}

}  // namespace handheld
