#include "applet/connections/operator_database.h"

#include <algorithm>

#include "applet/connections/operator_keys.h"
#include "applet/connections/sms_center_database.h"
#include "applet/device/country_name.h"
#include "platform/resource_library.h"

namespace applet {

using platform::WString;
using platform::WStringView;
namespace keys = operator_keys;

namespace {

WString ResourceText(uint32_t number) {
  return platform::LoadString(platform::CurrentResourceSource(), number).value_or(WString());
}

// A kind's key of one purpose, or null when the kind has none.
const char16_t* KindKey(BearerType kind, const char16_t* keys::KindKeys::*purpose) {
  const keys::KindKeys* k = keys::KeysOf(kind);
  return k != nullptr ? k->*purpose : nullptr;
}

bool StartsWithNoCase(WStringView text, WStringView prefix) {
  return text.size() >= prefix.size() &&
         platform::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

void OperatorDatabase::LoadListTexts() {
  customOperator_ = ResourceText(kCustomOperatorString);
  noCountry_ = ResourceText(kNoCountryString);
}

void OperatorDatabase::SetListTexts(WStringView noCountry, WStringView customOperator) {
  noCountry_ = noCountry;
  customOperator_ = customOperator;
}

bool OperatorDatabase::Open(WStringView folder, WStringView operatorName) {
  LoadListTexts();
  if (!reader_.Open(WString(folder) + kFileName)) return false;
  currentOperator_ = operatorName;
  ListOperatorSections();
  return true;
}

void OperatorDatabase::ListOperatorSections() {
  operators_.clear();
  countries_.clear();
  sections_.clear();
  reader_.ListSections(sections_);
  // The country of a code is looked up once: the locale information behind
  // a name is slow, and operators share their countries.
  std::vector<int32_t> codesWithoutName;
  for (const WString& section : sections_) {
    int32_t code = kNoCountryCode;
    if (section != customOperator_) code = reader_.GetInt(section, keys::kCountryProvider, kNoCountryCode);
    // Countries are merged by code: the first operator of a code names it.
    auto known = std::find_if(countries_.begin(), countries_.end(),
                              [code](const Country& c) { return c.code == code; });
    if (known == countries_.end()) {
      if (std::find(codesWithoutName.begin(), codesWithoutName.end(), code) != codesWithoutName.end()) continue;
      WString name;
      int32_t ignored = kNoCountryCode;
      // An operator of a country the table lacks is not offered at all.
      if (!CountryOf(section, name, ignored)) {
        codesWithoutName.push_back(code);
        continue;
      }
      known = countries_.insert(known, Country{std::move(name), code});
    }
    operators_.push_back({section, static_cast<size_t>(known - countries_.begin())});
  }
}

bool OperatorDatabase::CountryOf(WStringView section, WString& name, int32_t& code) {
  if (section == customOperator_) {
    name = noCountry_;
    code = kNoCountryCode;
  } else {
    code = reader_.GetInt(section, keys::kCountryProvider, kNoCountryCode);
    CountryName(code, name, noCountry_);
  }
  return !name.empty();
}

std::vector<WString> OperatorDatabase::ListCountries(WStringView operatorName,
                                                     WString& countryOfOperator) {
  std::vector<WString> list{noCountry_};
  // Operators without a country are filed under a country of code -1; the
  // first entry already stands for it, so it is not listed a second time.
  for (const Country& country : countries_)
    if (country.code != kNoCountryCode) list.push_back(country.name);
  int32_t code = kNoCountryCode;
  if (!CountryOf(operatorName, countryOfOperator, code)) countryOfOperator = noCountry_;
  return list;
}

std::vector<WString> OperatorDatabase::ListOperators(WStringView country, int32_t kinds) {
  std::vector<WString> list{customOperator_};
  for (ListingDecision& decision : DecideOperatorList(country, kinds))
    if (decision.listing == Listing::Listed) list.push_back(std::move(decision.section));
  return list;
}

std::vector<OperatorDatabase::ListingDecision> OperatorDatabase::DecideOperatorList(
    WStringView country, int32_t kinds) {
  std::vector<ListingDecision> decisions;
  std::vector<const WString*> listed{&customOperator_};
  for (const Operator& op : operators_) {
    if (countries_[op.country].name != country) continue;
    ListingDecision& decision = decisions.emplace_back(ListingDecision{op.section, Listing::Listed, {}});
    if (op.section == kUnknownSection) {
      decision.listing = Listing::NeverListed;
      continue;
    }
    const auto taken = std::find_if(listed.begin(), listed.end(), [&](const WString* entry) {
      return StartsWithNoCase(*entry, op.section);
    });
    if (taken != listed.end()) {
      decision.listing = Listing::NameTaken;
      decision.takenBy = **taken;
      continue;
    }
    if (kinds != kAllKinds && (NetworksOf(op.section) & kinds) == 0) {
      decision.listing = Listing::NoKindInCommon;
      continue;
    }
    listed.push_back(&op.section);
  }
  return decisions;
}

int32_t OperatorDatabase::NetworksOf(WStringView section) {
  WString value;
  if (!reader_.GetString(section, keys::kNetwork, value, u"")) return 0;
  int32_t networks = 0;
  for (const WString& token : keys::NetworkTokens(value))
    networks |= keys::NetworkTokenBit(token).value_or(0);
  return networks;
}

bool OperatorDatabase::GetText(const char16_t* key, WString& out, WStringView defaultValue) {
  if (key == nullptr) {
    // The kind has no such key: the default, as for an absent key.
    if (reader_.IsOpen()) out = defaultValue;
    return false;
  }
  return reader_.GetString(currentOperator_, key, out, defaultValue);
}

bool OperatorDatabase::GetAddress(const char16_t* key, CAdresseIP& out) {
  WString text;
  if (key == nullptr || !reader_.GetString(currentOperator_, key, text, u"")) {
    out.Clear();
    return false;
  }
  return out.FromText(text);
}

bool OperatorDatabase::GetQos(const char16_t* key, CQualityOfService& out) {
  WString text;
  if (!reader_.GetString(currentOperator_, key, text, u"")) {
    out.Clear();
    return false;
  }
  return out.FromText(text);
}

bool OperatorDatabase::ConnectionName(BearerType kind, WString& out) {
  const keys::KindKeys* k = keys::KeysOf(kind);
  if (k == nullptr) return GetText(nullptr, out, u"");
  return GetText(k->connectionName, out, k->defaultConnectionName);
}

void OperatorDatabase::ApnList(BearerType kind, std::vector<WString>& out) {
  const keys::KindKeys* k = keys::KeysOf(kind);
  if (k == nullptr || k->apnList == nullptr) {
    out.clear();
    return;
  }
  reader_.GetList(currentOperator_, k->apnList, u',', out);
}

bool OperatorDatabase::PhoneNumber(BearerType kind, WString& out) {
  return GetText(KindKey(kind, &keys::KindKeys::phoneNumber), out, u"");
}

bool OperatorDatabase::ModemCommand(BearerType kind, WString& out) {
  return GetText(KindKey(kind, &keys::KindKeys::modemCommand), out, u"");
}

bool OperatorDatabase::UserName(BearerType kind, WString& out) {
  return GetText(KindKey(kind, &keys::KindKeys::userName), out, u"");
}

bool OperatorDatabase::Password(BearerType kind, WString& out) {
  return GetText(KindKey(kind, &keys::KindKeys::password), out, u"");
}

bool OperatorDatabase::Dns1(BearerType kind, CAdresseIP& out) {
  return GetAddress(KindKey(kind, &keys::KindKeys::dns1), out);
}

bool OperatorDatabase::Dns2(BearerType kind, CAdresseIP& out) {
  return GetAddress(KindKey(kind, &keys::KindKeys::dns2), out);
}

bool OperatorDatabase::IpAddress(BearerType kind, CAdresseIP& out) {
  return GetAddress(KindKey(kind, &keys::KindKeys::ipAddress), out);
}

bool OperatorDatabase::IsOn(const char16_t* key) {
  return key != nullptr && reader_.GetInt(currentOperator_, key, 0) == 1;
}

bool OperatorDatabase::HeaderCompression(BearerType kind) {
  return IsOn(KindKey(kind, &keys::KindKeys::headerCompression));
}

bool OperatorDatabase::DataCompression(BearerType kind) {
  return IsOn(KindKey(kind, &keys::KindKeys::dataCompression));
}

AuthMethod OperatorDatabase::Authentication(BearerType kind) {
  const keys::KindKeys* k = keys::KeysOf(kind);
  WString word;
  if (k == nullptr || !reader_.GetString(currentOperator_, k->authentication, word, u""))
    return AuthMethod::Auto;
  return keys::AuthenticationWord(word).value_or(AuthMethod::Auto);
}

int32_t OperatorDatabase::IconIndex() {
  return reader_.GetInt(currentOperator_, keys::kIconIndex, CRASparam::kNoIcon);
}

bool OperatorDatabase::IconFile(WString& out) { return GetText(keys::kIconFile, out, u""); }

bool OperatorDatabase::QosRequested(CQualityOfService& out) {
  return GetQos(keys::kQosRequested, out);
}

bool OperatorDatabase::QosMinimum(CQualityOfService& out) {
  return GetQos(keys::kQosMinimum, out);
}

bool OperatorDatabase::PdpType(WString& out) {
  return GetText(keys::kPdpType, out, keys::kDefaultPdpType);
}

bool OperatorDatabase::MmsOnly() { return IsOn(keys::kMmsOnly); }

bool OperatorDatabase::MmsGateway(WString& out) { return GetText(keys::kMmsGateway, out, u""); }

bool OperatorDatabase::MmsCenter(WString& out) { return GetText(keys::kMmsCenter, out, u""); }

bool OperatorDatabase::MmsApn(bool useFallback, WString& out) {
  const bool found = GetText(keys::kMmsApn, out, u"");
  if (!useFallback || !out.empty() || !reader_.IsOpen()) return found;
  std::vector<WString> apns;
  ApnList(BearerType::Gprs, apns);
  if (!apns.empty()) out = apns.front();
  return found;
}

bool OperatorDatabase::MmsUserName(WString& out) {
  const bool found = GetText(keys::kMmsUserName, out, u"");
  if (out.empty() && reader_.IsOpen()) UserName(BearerType::Gprs, out);
  return found;
}

bool OperatorDatabase::MmsPassword(WString& out) {
  const bool found = GetText(keys::kMmsPassword, out, u"");
  if (out.empty() && reader_.IsOpen()) Password(BearerType::Gprs, out);
  return found;
}

bool OperatorDatabase::MmsGatewayPort(WString& out) {
  return GetText(keys::kMmsGatewayPort, out, keys::kDefaultMmsGatewayPort);
}

bool OperatorDatabase::WapProxies(WString& proxy, WString& secureProxy) {
  GetText(keys::kWapProxy, proxy, u"");
  GetText(keys::kWapSecureProxy, secureProxy, u"");
  return !proxy.empty() || !secureProxy.empty();
}

bool OperatorDatabase::HomeNetworkNumber(WStringView section, WString& out) {
  return reader_.GetString(section, keys::kHomeNetworkNumber, out, u"");
}

std::vector<WString> OperatorDatabase::HomeNetworkNumbers(WStringView section) {
  std::vector<WString> numbers;
  reader_.GetList(section, keys::kHomeNetworkNumber, u',', numbers);
  return numbers;
}

void OperatorDatabase::FillRecord(const WString* folder, CRASparam& record) {
  if (folder != nullptr)
    Open(*folder, record.operatorName);
  else
    SelectOperator(record.operatorName);
  const BearerType kind = record.bearer;

  record.iconIndex = IconIndex();
  IconFile(record.iconFile);

  if (record.IsGprsFamily()) {
    ApnList(kind, record.apnList);
    if (!record.apnList.empty()) record.apn = record.apnList.front();
    if (record.apn.empty() && record.operatorName == customOperator_)
      record.apn = kCustomOperatorApn;
    QosRequested(record.qosRequested);
    QosMinimum(record.qosMinimum);
    PdpType(record.pdpType);
    record.pdpAddress = u"0.0.0.0";
  }

  PhoneNumber(kind, record.phoneNumber);
  UserName(kind, record.userName);
  Password(kind, record.password);

  const bool dns1 = Dns1(kind, record.dns1);
  const bool dns2 = Dns2(kind, record.dns2);
  record.serverAssignedDns = (dns1 || dns2) ? 0 : 1;

  record.headerCompression = HeaderCompression(kind) ? 1 : 0;
  record.dataCompression = DataCompression(kind) ? 1 : 0;

  record.serverAssignedIp = IpAddress(kind, record.ipAddress) ? 0 : 1;
  record.authentication = Authentication(kind);
}

WString OperatorDatabase::FindByHomeNetwork(WStringView number) {
  WStringView code = number.substr(0, number.find(u','));
  code = code.substr(0, kHomeNetworkNumberLength);
  for (const WString& section : sections_) {
    const std::vector<WString> listed = HomeNetworkNumbers(section);
    if (std::find(listed.begin(), listed.end(), code) != listed.end()) return section;
  }
  return WString();
}

WString OperatorDatabase::FindSmsOperator(WStringView folder, WStringView section) {
  if (!IsOpen() && !Open(folder, section)) return WString();
  const std::vector<WString> numbers = HomeNetworkNumbers(section);
  if (numbers.empty()) return WString();
  SmsCenterDatabase smsCenters;
  const WString smsFolder(folder);
  return smsCenters.FindByHomeNetwork(&smsFolder, numbers.front());
}

}  // namespace applet
