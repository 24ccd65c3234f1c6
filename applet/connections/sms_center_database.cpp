#include "applet/connections/sms_center_database.h"

#include <algorithm>

#include "applet/connections/operator_database.h"
#include "applet/connections/operator_keys.h"
#include "applet/device/country_name.h"
#include "platform/resource_library.h"

namespace applet {

using platform::WString;
using platform::WStringView;
namespace keys = operator_keys;

namespace {

constexpr char16_t kOperatorDatabaseMark[] = u"GPRSOPE";

WString CenterKey(int index) { return platform::Format(u"SmsCenter%i", {index}); }

}  // namespace

bool SmsCenterDatabase::Open(WStringView folder, WStringView fileName) {
  // The custom operator's entry is the user's own, never an operator's.
  customOperator_ = platform::LoadString(platform::CurrentResourceSource(),
                                         OperatorDatabase::kCustomOperatorString)
                        .value_or(WString());

  const WString path = platform::ToUpper(WString(folder) + WString(fileName));
  const bool isOperatorDatabase =
      platform::ToUpper(fileName).find(kOperatorDatabaseMark) != WString::npos;

  sections_.clear();
  smsCenters_.clear();
  countryNumbers_.clear();
  sectionCountry_.clear();
  leftOut_.clear();
  if (!reader_.Open(path)) return false;

  std::vector<WString> all;
  reader_.ListSections(all);
  for (WString& section : all) {
    WString centers;
    const bool hasFirst = reader_.GetString(section, CenterKey(0), centers, u"");
    WString provider;
    if (!hasFirst && !isOperatorDatabase)
      leftOut_.push_back({std::move(section), LeftOutReason::NoFirstCenter});
    else if (section == customOperator_)
      leftOut_.push_back({std::move(section), LeftOutReason::CustomOperator});
    else if (!reader_.GetString(section, keys::kCountryProvider, provider, u""))
      leftOut_.push_back({std::move(section), LeftOutReason::NoCountry});
    else
      KeepSection(std::move(section), std::move(centers));
  }
  return true;
}

void SmsCenterDatabase::KeepSection(WString section, WString centers) {
  WString more;
  for (int i = 1; reader_.GetString(section, CenterKey(i), more, u""); ++i) {
    centers += kCenterSeparator;
    centers += more;
  }
  const int32_t code = reader_.GetInt(section, keys::kCountryProvider, kNoCountryCode);
  bool added = false;
  sectionCountry_.push_back(keys::MergeCountryCode(countryNumbers_, code, added));
  sections_.push_back(std::move(section));
  smsCenters_.push_back(std::move(centers));
}

bool SmsCenterDatabase::FirstSmsCenter(WStringView section, WString& number) {
  const auto it = std::find(sections_.begin(), sections_.end(), section);
  if (it == sections_.end()) return false;
  const WString& centers = smsCenters_[static_cast<size_t>(it - sections_.begin())];
  number = centers.substr(0, centers.find(kCenterSeparator));
  return true;
}

WString SmsCenterDatabase::FindByHomeNetwork(const WString* folder, WStringView number) {
  if (folder != nullptr) Open(*folder, kLowerCaseFileName);
  for (const WString& section : sections_) {
    const std::vector<WString> listed = HomeNetworkNumbers(section);
    if (std::find(listed.begin(), listed.end(), number) != listed.end()) return section;
  }
  return WString();
}

std::vector<WString> SmsCenterDatabase::HomeNetworkNumbers(WStringView section) {
  std::vector<WString> numbers;
  reader_.GetList(section, keys::kHomeNetworkNumber, u',', numbers);
  return numbers;
}

}  // namespace applet
