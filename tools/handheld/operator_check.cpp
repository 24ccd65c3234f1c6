#include "tools/handheld/operator_check.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "applet/connections/adresse_ip.h"
#include "applet/connections/operator_database.h"
#include "applet/connections/operator_keys.h"
#include "applet/connections/quality_of_service.h"
#include "applet/connections/sms_center_database.h"
#include "applet/device/country_name.h"
#include "applet/device/sectioned_text_reader.h"

namespace handheld {

using applet::SectionedTextReader;
using platform::WString;
using platform::WStringView;
namespace keys = applet::operator_keys;

namespace {

std::string U8(WStringView text) { return platform::ToUtf8(text); }

bool IsDigits(WStringView text) { return SectionedTextReader::IsDigitText(text); }

// A whole number, sign allowed, nothing else.
std::optional<long long> WholeNumber(WStringView text) {
  WStringView digits = text;
  if (!digits.empty() && (digits.front() == u'-' || digits.front() == u'+')) digits.remove_prefix(1);
  if (!IsDigits(digits) || digits.size() > 9) return std::nullopt;
  return platform::TextToLong(text);
}

// Dotted IPv4: four numbers of one to three digits, each at most 255.
bool IsDottedAddress(WStringView text) {
  int parts = 0;
  size_t start = 0;
  for (;;) {
    const size_t dot = text.find(u'.', start);
    const WStringView part = text.substr(start, dot == WStringView::npos ? WStringView::npos : dot - start);
    if (!IsDigits(part) || part.size() > 3 || platform::TextToLong(part) > 255) return false;
    ++parts;
    if (dot == WStringView::npos) break;
    start = dot + 1;
  }
  return parts == 4;
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
    std::map<int, size_t> centreLines;  // SmsCenter number -> line
  };
  const std::map<WString, Section>& Sections() const { return sections_; }

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
  void Visit(const SectionedTextReader::Entry& e) {
    if (e.isHeader) {
      keysSeen_.clear();
      auto [it, added] = sections_.try_emplace(e.section, Section{e.lineNumber, {}});
      readable_ = added;
      if (!added)
        Report(e.lineNumber, e.section,
               "the section appears again; the applet reads only the first (line " +
                   std::to_string(it->second.headerLine) + ")");
      return;
    }
    if (e.section.empty()) {
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
        } else if (info.type == ValueType::Country && IsDigits(e.value) &&
                   applet::FindCountry(platform::TextToLong(e.value)) == nullptr) {
          Report(e.lineNumber, e.section,
                 place + ": the country table has no country with this code; the applet leaves "
                         "the operator out of every list");
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
        CheckHomeNetworks(e);
        break;
      case ValueType::SmsCenter:
        sections_[e.section].centreLines[platform::TextToLong(
            WStringView(e.key).substr(std::size(kSmsCenterPrefix) - 1))] = e.lineNumber;
        break;
    }
  }

  void CheckHomeNetworks(const SectionedTextReader::Entry& e) {
    const std::vector<WString> entries = SectionedTextReader::SplitList(e.value, u',');
    for (const WString& number : entries) {
      if (number.size() != applet::OperatorDatabase::kHomeNetworkNumberLength || !IsDigits(number)) {
        Report(e.lineNumber, e.section,
               "home network number \"" + U8(number) +
                   "\" is not five digits (country and network code); no SIM card matches it");
        continue;
      }
      auto [it, added] = homeNetworks_.try_emplace(number, e.section, e.lineNumber);
      if (!added && it->second.first != e.section)
        Report(e.lineNumber, e.section,
               "home network number " + U8(number) + " is also listed by [" +
                   U8(it->second.first) + "] (line " + std::to_string(it->second.second) +
                   "); SIM cards of this network find that section");
    }
  }

  WString path_;
  KeyTable keyTable_;
  std::vector<Finding>& out_;
  std::map<WString, Section> sections_;
  std::map<WString, size_t> keysSeen_;
  std::map<WString, std::pair<WString, size_t>> homeNetworks_;
  bool readable_ = false;
};

void CheckSmsCenterSections(FileCheck& check, applet::SmsCenterDatabase& sms,
                            const WString& customOperator) {
  for (const auto& [name, section] : check.Sections()) {
    if (name == customOperator) continue;
    WString provider;
    const bool hasCountry = sms.Reader().GetString(name, keys::kCountryProvider, provider, u"");
    const auto& centres = section.centreLines;
    if (centres.find(0) == centres.end())
      check.Report(section.headerLine, name, "the section has no SmsCenter0; the applet leaves it out");
    else if (!hasCountry)
      check.Report(section.headerLine, name, "the section has no CountryProvider; the applet leaves it out");
    int expected = 0;
    for (const auto& [number, line] : centres) {
      if (number != expected) {
        check.Report(line, name,
                     "SmsCenter" + std::to_string(number) + " follows a gap (no SmsCenter" +
                         std::to_string(expected) + "); the applet stops at the first missing number");
        break;
      }
      ++expected;
    }
  }
}

void CheckOperatorSections(FileCheck& check, applet::OperatorDatabase& db,
                           applet::SmsCenterDatabase* sms, const WString& smsPath) {
  for (const WString& name : db.Sections()) {
    if (name == applet::OperatorDatabase::kUnknownSection || name == db.CustomOperator()) continue;
    const size_t line = check.Sections().at(name).headerLine;
    db.SelectOperator(name);
    if (db.NetworksOf() == 0)
      check.Report(line, name,
                   "Network names no kind of connection; the operator dialog never lists the operator");
    std::vector<WString> numbers;
    db.Reader().GetList(name, keys::kHomeNetworkNumber, u',', numbers);
    if (numbers.empty()) {
      check.Report(line, name,
                   "the operator has no HomeNetworkNumber; no SIM card finds it and it gets no SMS centre");
      continue;
    }
    if (sms == nullptr) continue;
    const WString smsSection = sms->FindByHomeNetwork(nullptr, numbers.front());
    WString centre;
    if (smsSection.empty())
      check.Report(line, name,
                   "the operator has no SMS centre: no section of " + U8(smsPath) +
                       " lists its home network number " + U8(numbers.front()));
    else if (sms->FirstSmsCenter(smsSection, centre) && centre.empty())
      check.Report(line, name,
                   "the operator's SMS section [" + U8(smsSection) + "] has an empty SmsCenter0");
  }
}

}  // namespace

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

  applet::SmsCenterDatabase sms;
  FileCheck smsCentres(smsPath, SmsCenterKey, smsFindings);
  const bool smsOpen = sms.Open(smsFolder, applet::SmsCenterDatabase::kFileName) && smsCentres.Run();
  if (smsOpen)
    CheckSmsCenterSections(smsCentres, sms, db.CustomOperator());
  else
    smsFindings.push_back({smsPath, 0, WString(),
                           "the file cannot be opened; no operator gets an SMS centre"});
  CheckOperatorSections(operators, db, smsOpen ? &sms : nullptr, smsPath);

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
