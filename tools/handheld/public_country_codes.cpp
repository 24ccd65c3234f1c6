#include "tools/handheld/public_country_codes.h"

#include <phonenumbers/phonenumberutil.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>

#include <cctype>
#include <list>
#include <string_view>

#include "platform/locale.h"

namespace handheld {

namespace {

using i18n::phonenumbers::PhoneNumberUtil;

// Room for locale names and region names, terminator included.
constexpr int32_t kNameCapacity = 157;

// What libphonenumber answers for a region it does not know.
constexpr char kUnknownRegion[] = "ZZ";

std::string EnglishRegionName(const char* region) {
  const std::string locale = std::string("und_") + region;
  UChar name[kNameCapacity] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_getDisplayCountry(locale.c_str(), "en", name, kNameCapacity, &status);
  if (U_FAILURE(status) || n <= 0 || n >= kNameCapacity) return std::string();
  std::string utf8;
  icu::UnicodeString(name, n).toUTF8String(utf8);
  return utf8;
}

std::string Folded(std::string text) {
  constexpr std::string_view kArticle = "the ";
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (text.starts_with(kArticle)) text.erase(0, kArticle.size());
  return text;
}

std::optional<std::string> RegionOfLocale(platform::Lcid lcid) {
  char locale[kNameCapacity] = {};
  char region[kNameCapacity] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLocaleForLCID(lcid, locale, kNameCapacity, &status);
  if (U_FAILURE(status)) return std::nullopt;
  const int32_t n = uloc_getCountry(locale, region, kNameCapacity, &status);
  if (U_FAILURE(status) || n <= 0) return std::nullopt;
  return std::string(region, static_cast<size_t>(n));
}

std::optional<std::string> RegionNamed(const std::string& name) {
  const std::string wanted = Folded(name);
  for (const char* const* region = uloc_getISOCountries(); *region != nullptr; ++region)
    if (Folded(EnglishRegionName(*region)) == wanted) return std::string(*region);
  return std::nullopt;
}

}  // namespace

std::vector<std::string> RegionsOfCountryCode(int code) {
  const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
  std::string main;
  util.GetRegionCodeForCountryCode(code, &main);
  if (main == kUnknownRegion) return {};
  std::list<std::string> all;
  util.GetRegionCodesForCountryCallingCode(code, &all);
  std::vector<std::string> regions{main};
  for (std::string& region : all)
    if (region != main) regions.push_back(std::move(region));
  return regions;
}

std::optional<int> CountryCodeOfRegion(const std::string& region) {
  const int code = PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(region);
  if (code == 0) return std::nullopt;
  return code;
}

std::string RegionName(const std::string& region) {
  std::string name = EnglishRegionName(region.c_str());
  return name.empty() ? region : name;
}

std::optional<std::string> RegionOfCountryRow(const applet::CountryRow& row) {
  if (row.primaryLanguage != 0 && row.secondaryLanguage != 0)
    return RegionOfLocale(platform::MakeLcid(row.primaryLanguage, row.secondaryLanguage));
  return RegionNamed(platform::ToUtf8(row.name));
}

}  // namespace handheld
