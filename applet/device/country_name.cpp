#include "applet/device/country_name.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "platform/locale.h"

namespace applet {

namespace {

// Room for the localised name, terminator included.
constexpr int kCountryNameCapacity = 128;

// Two rows hold codes that are not the public calling codes of their
// countries (107 for Canada, 351 for Brazil); operator databases file their
// operators under these codes, so they stay as they are. The Netherlands
// has no locale: its name is always the English one. Finland's name comes
// from the Swedish (Finland) locale.
constexpr std::array<CountryRow, 40> kCountries = {{
    {1, u"US", 9, 1},
    {7, u"Russia", 25, 1},
    {30, u"Greece", 8, 1},
    {31, u"The Netherlands", 0, 0},
    {32, u"Belgium", 12, 2},
    {33, u"France", 12, 1},
    {34, u"Spain", 10, 1},
    {36, u"Hungary", 14, 1},
    {39, u"Italy", 16, 1},
    {41, u"Switzerland", 12, 4},
    {43, u"Austria", 7, 3},
    {44, u"UK", 9, 2},
    {45, u"Denmark", 6, 1},
    {46, u"Sweden", 29, 1},
    {47, u"Norway", 20, 1},
    {48, u"Poland", 21, 1},
    {49, u"Germany", 7, 1},
    {60, u"Malaysia", 62, 1},
    {61, u"Australia", 9, 3},
    {62, u"Indonesia", 33, 1},
    {63, u"Philippines", 9, 13},
    {64, u"New zealand", 9, 5},
    {65, u"Singapore", 4, 4},
    {66, u"Thailand", 30, 1},
    {81, u"Japan", 17, 1},
    {86, u"China", 4, 2},
    {90, u"Turkey", 31, 1},
    {91, u"India", 57, 1},
    {107, u"Canada", 9, 4},
    {351, u"Brazil", 22, 1},
    {358, u"Finland", 29, 2},
    {370, u"Lithuania", 39, 1},
    {385, u"Croatia", 26, 1},
    {386, u"Slovenia", 36, 1},
    {420, u"Czech Republic", 5, 1},
    {421, u"Slovakia", 27, 1},
    {852, u"Hongkong", 4, 3},
    {886, u"Taiwan", 4, 1},
    {971, u"United Arab Emirates", 1, 14},
    {972, u"Israel", 13, 1},
}};

}  // namespace

std::span<const CountryRow> CountryTable() { return kCountries; }

const CountryRow* FindCountry(int code) {
  auto it = std::find_if(kCountries.begin(), kCountries.end(),
                         [code](const CountryRow& row) { return row.code == code; });
  return it == kCountries.end() ? nullptr : &*it;
}

bool CountryName(int code, platform::WString& out, platform::WStringView fallback) {
  out.clear();
  if (code == kNoCountryCode) {
    out = fallback;
    return !out.empty();
  }
  const CountryRow* row = FindCountry(code);
  if (row == nullptr) return false;
  if (row->primaryLanguage != 0 && row->secondaryLanguage != 0) {
    char16_t buffer[kCountryNameCapacity] = {};
    const platform::Lcid lcid = platform::MakeLcid(row->primaryLanguage, row->secondaryLanguage);
    if (platform::GetLocaleInfo(lcid, platform::kLocaleCountryName, buffer, kCountryNameCapacity) > 0)
      out = buffer;
  }
  if (out.empty()) out = row->name;
  return !out.empty();
}

}  // namespace applet
