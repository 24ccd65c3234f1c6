#include "applet/device/country_name.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_device.h"

namespace applet {
namespace {

TEST(CountryName, TheTableHoldsTheFortyRows) {
  // Code, English name, primary and secondary language of the row's locale.
  const CountryRow expected[] = {
      {1, u"US", 9, 1},          {7, u"Russia", 25, 1},         {30, u"Greece", 8, 1},
      {31, u"The Netherlands", 0, 0}, {32, u"Belgium", 12, 2},  {33, u"France", 12, 1},
      {34, u"Spain", 10, 1},     {36, u"Hungary", 14, 1},       {39, u"Italy", 16, 1},
      {41, u"Switzerland", 12, 4}, {43, u"Austria", 7, 3},      {44, u"UK", 9, 2},
      {45, u"Denmark", 6, 1},    {46, u"Sweden", 29, 1},        {47, u"Norway", 20, 1},
      {48, u"Poland", 21, 1},    {49, u"Germany", 7, 1},        {60, u"Malaysia", 62, 1},
      {61, u"Australia", 9, 3},  {62, u"Indonesia", 33, 1},     {63, u"Philippines", 9, 13},
      {64, u"New zealand", 9, 5}, {65, u"Singapore", 4, 4},     {66, u"Thailand", 30, 1},
      {81, u"Japan", 17, 1},     {86, u"China", 4, 2},          {90, u"Turkey", 31, 1},
      {91, u"India", 57, 1},     {107, u"Canada", 9, 4},        {351, u"Brazil", 22, 1},
      {358, u"Finland", 29, 2},  {370, u"Lithuania", 39, 1},    {385, u"Croatia", 26, 1},
      {386, u"Slovenia", 36, 1}, {420, u"Czech Republic", 5, 1}, {421, u"Slovakia", 27, 1},
      {852, u"Hongkong", 4, 3},  {886, u"Taiwan", 4, 1},        {971, u"United Arab Emirates", 1, 14},
      {972, u"Israel", 13, 1},
  };
  const auto table = CountryTable();
  ASSERT_EQ(table.size(), std::size(expected));
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].code, expected[i].code) << i;
    EXPECT_EQ(std::u16string(table[i].name), expected[i].name) << i;
    EXPECT_EQ(table[i].primaryLanguage, expected[i].primaryLanguage) << i;
    EXPECT_EQ(table[i].secondaryLanguage, expected[i].secondaryLanguage) << i;
    EXPECT_EQ(FindCountry(expected[i].code), &table[i]) << i;
  }
  EXPECT_EQ(FindCountry(55), nullptr);
}

struct Device {
  const char* uiLanguage;
  std::optional<std::vector<std::string>> knownLocales;
};

TEST(CountryName, PrefersTheLocalisedNameAndFallsBackToEnglish) {
  test_support::TempDevice device;
  const Device everyLocale{"en", std::nullopt};
  const Device german{"de", std::nullopt};
  const Device noEnglishUk{"en", std::vector<std::string>{"fr-FR", "de-DE", "en-US"}};
  struct Case {
    Device device;
    int code;
    std::u16string name;
  };
  const Case cases[] = {
      {everyLocale, 44, u"United Kingdom"},
      {noEnglishUk, 44, u"UK"},
      {german, 44, u"Vereinigtes Königreich"},
      {everyLocale, 31, u"The Netherlands"},  // no locale: never looked up
      {german, 31, u"The Netherlands"},
      {everyLocale, 1, u"United States"},
      {noEnglishUk, 1, u"United States"},
      {noEnglishUk, 49, u"Germany"},
      {german, 49, u"Deutschland"},
      {noEnglishUk, 33, u"France"},
      {noEnglishUk, 64, u"New zealand"},  // the table's own spelling
      {everyLocale, 64, u"New Zealand"},
      // The table's codes for Canada and Brazil, not their calling codes.
      {german, 107, u"Kanada"},
      {german, 351, u"Brasilien"},
      {noEnglishUk, 107, u"Canada"},
      {noEnglishUk, 351, u"Brazil"},
      {everyLocale, 358, u"Finland"},  // from the Swedish (Finland) locale
      {german, 971, u"Vereinigte Arabische Emirate"},
  };
  for (const Case& c : cases) {
    platform::DeviceConfig config;
    config.uiLanguage = c.device.uiLanguage;
    config.knownLocales = c.device.knownLocales;
    config.userLocale = "pt-PT";  // always known; not one of the rows tested
    device.SetConfig(config);
    platform::WString out = u"stale";
    EXPECT_TRUE(CountryName(c.code, out, u"(No country)")) << c.code;
    EXPECT_EQ(out, c.name) << c.code << " on a device in " << c.device.uiLanguage;
  }
}

TEST(CountryName, NoCountryAndUnknownCodes) {
  test_support::TempDevice device;
  struct Case {
    int code;
    std::u16string fallback;
    bool result;
    std::u16string name;
  };
  const Case cases[] = {
      {-1, u"(No country)", true, u"(No country)"},
      {-1, u"", false, u""},
      {55, u"(No country)", false, u""},  // not in the table: the fallback is ignored
      {0, u"(No country)", false, u""},
      {-2, u"(No country)", false, u""},
  };
  for (const Case& c : cases) {
    platform::WString out = u"stale";
    EXPECT_EQ(CountryName(c.code, out, c.fallback), c.result) << c.code;
    EXPECT_EQ(out, c.name) << c.code;
  }
}

}  // namespace
}  // namespace applet
