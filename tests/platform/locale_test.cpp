#include "platform/locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

constexpr Lcid kEnglishUk = MakeLcid(9, 2);     // 0x0809
constexpr Lcid kFrenchFrance = MakeLcid(12, 1);  // 0x040C
constexpr Lcid kChineseSingapore = MakeLcid(4, 4);

DeviceConfig Config(const char* uiLanguage, std::optional<std::vector<std::string>> known,
                    const char* userLocale = "pt-PT") {
  DeviceConfig c;
  c.uiLanguage = uiLanguage;
  c.knownLocales = std::move(known);
  c.userLocale = userLocale;
  return c;
}

TEST(Locale, MakesIdentifiersFromLanguageIdentifiers) {
  EXPECT_EQ(kEnglishUk, 0x0809u);
  EXPECT_EQ(MakeLcid(1, 14), 0x3801u);
  EXPECT_EQ(MakeLcid(9, 13), 0x3409u);
}

TEST(Locale, CountryNamesInTheDevicesLanguage) {
  test_support::TempDevice device;
  struct Case {
    const char* ui;
    std::optional<std::vector<std::string>> known;
    Lcid lcid;
    uint32_t type;
    std::optional<std::u16string> name;
  };
  const Case cases[] = {
      {"en", std::nullopt, kEnglishUk, kLocaleCountryName, u"United Kingdom"},
      {"de", std::nullopt, kEnglishUk, kLocaleCountryName, u"Vereinigtes Königreich"},
      {"de", std::nullopt, kEnglishUk, kLocaleEnglishCountryName, u"United Kingdom"},
      {"fr-FR", std::nullopt, MakeLcid(7, 1), kLocaleCountryName, u"Allemagne"},
      // ICU has no names in this language: English, whatever the host's locale.
      {"xx", std::nullopt, kFrenchFrance, kLocaleCountryName, u"France"},
      // Known locales, written in either form and any letter case.
      {"en", std::vector<std::string>{"fr-FR", "en_gb"}, kEnglishUk, kLocaleCountryName, u"United Kingdom"},
      {"en", std::vector<std::string>{"zh-SG"}, kChineseSingapore, kLocaleCountryName, u"Singapore"},
      {"en", std::vector<std::string>{"fr-FR"}, kEnglishUk, kLocaleCountryName, std::nullopt},
      {"en", std::vector<std::string>{}, kFrenchFrance, kLocaleEnglishCountryName, std::nullopt},
      // The user's own locale is always known.
      {"en", std::vector<std::string>{}, kLocaleUserDefault, kLocaleEnglishCountryName, u"Portugal"},
      {"en", std::vector<std::string>{}, MakeLcid(22, 2), kLocaleCountryName, u"Portugal"},
      {"en", std::nullopt, 0x7777, kLocaleCountryName, std::nullopt},
  };
  for (const Case& c : cases) {
    device.SetConfig(Config(c.ui, c.known));
    SetLastError(12345);
    EXPECT_EQ(GetLocaleInfo(c.lcid, c.type), c.name) << c.ui << " " << std::hex << c.lcid;
    EXPECT_EQ(LastError(), c.name ? kErrorSuccess : kErrorInvalidParameter) << std::hex << c.lcid;
  }
}

TEST(Locale, TheUserDefaultLocaleFollowsTheDevice) {
  test_support::TempDevice device;
  device.SetConfig(Config("de", std::vector<std::string>{}, "fr-CH"));
  for (Lcid lcid : {kLocaleUserDefault, kLocaleSystemDefault, Lcid{0}}) {
    EXPECT_EQ(GetLocaleInfo(lcid, kLocaleEnglishCountryName), u"Switzerland") << lcid;
    EXPECT_EQ(GetLocaleInfo(lcid, kLocaleCountryName), u"Schweiz") << lcid;
  }
}

TEST(Locale, GetLocaleInfoBufferProtocol) {
  test_support::TempDevice device;
  device.SetConfig(Config("en", std::nullopt));
  const std::u16string expected = u"United Kingdom";
  const int needed = static_cast<int>(expected.size()) + 1;

  // The size query writes nothing.
  EXPECT_EQ(GetLocaleInfo(kEnglishUk, kLocaleCountryName, nullptr, 0), needed);

  std::vector<char16_t> buffer(40, u'#');
  EXPECT_EQ(GetLocaleInfo(kEnglishUk, kLocaleCountryName, buffer.data(), needed), needed);
  EXPECT_EQ(LastError(), kErrorSuccess);
  EXPECT_EQ(std::u16string(buffer.data()), expected);
  EXPECT_TRUE(std::all_of(buffer.begin() + needed, buffer.end(), [](char16_t c) { return c == u'#'; }));

  std::fill(buffer.begin(), buffer.end(), u'#');
  EXPECT_EQ(GetLocaleInfo(kEnglishUk, kLocaleCountryName, buffer.data(), needed - 1), 0);
  EXPECT_EQ(LastError(), kErrorInsufficientBuffer);
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char16_t c) { return c == u'#'; }));

  struct Case {
    const char* what;
    uint32_t type;
    char16_t* out;
    int capacity;
    ErrorCode error;
  };
  const Case cases[] = {
      {"an unknown information type", 0x0001, buffer.data(), 40, kErrorInvalidFlags},
      {"a null buffer", kLocaleCountryName, nullptr, 40, kErrorInvalidParameter},
      {"a negative capacity", kLocaleCountryName, buffer.data(), -1, kErrorInvalidParameter},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetLocaleInfo(kEnglishUk, c.type, c.out, c.capacity), 0) << c.what;
    EXPECT_EQ(LastError(), c.error) << c.what;
  }
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char16_t c) { return c == u'#'; }));
}

}  // namespace
}  // namespace platform
