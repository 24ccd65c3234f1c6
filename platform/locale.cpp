#include "platform/locale.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <vector>

#include "platform/device.h"

namespace platform {

namespace {

// ICU's own limit for locale names, terminator included.
constexpr int32_t kLocaleNameCapacity = ULOC_FULLNAME_CAPACITY;
// Longer than any country name in any language.
constexpr int32_t kCountryNameCapacity = 256;
// The language of the names of kLocaleEnglishCountryName, and the fallback
// when ICU has no names in the device's UI language.
constexpr const char* kEnglish = "en";

// A locale tag ("en-GB", "en_gb", "zh-SG") as ICU's full form, with the
// script and region it implies ("zh_Hans_SG") and without keywords, so that
// two ways of writing one locale compare equal. Empty when ICU rejects it.
std::string Normalise(std::string tag) {
  std::replace(tag.begin(), tag.end(), '-', '_');
  char canonical[kLocaleNameCapacity] = {};
  char full[kLocaleNameCapacity] = {};
  char base[kLocaleNameCapacity] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_canonicalize(tag.c_str(), canonical, kLocaleNameCapacity, &status);
  uloc_addLikelySubtags(canonical, full, kLocaleNameCapacity, &status);
  uloc_getBaseName(full, base, kLocaleNameCapacity, &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) return {};
  return base;
}

// LOCALE_NEUTRAL (0) and the two default identifiers stand for the user's
// own locale.
bool IsUserDefault(Lcid lcid) {
  return lcid == 0 || lcid == kLocaleUserDefault || lcid == kLocaleSystemDefault;
}

enum class NameResult { Named, NoNamesInLanguage, Failed };

// The name of the locale's country in a language. ICU warns that it fell
// back to its default locale when it has no names in that language.
NameResult DisplayCountry(const std::string& locale, const std::string& language, WString& out) {
  UChar name[kCountryNameCapacity] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n =
      uloc_getDisplayCountry(locale.c_str(), language.c_str(), name, kCountryNameCapacity, &status);
  if (U_FAILURE(status) || n <= 0 || n >= kCountryNameCapacity) return NameResult::Failed;
  if (status == U_USING_DEFAULT_WARNING) return NameResult::NoNamesInLanguage;
  out.assign(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(n));
  return NameResult::Named;
}

std::optional<WString> CountryName(const std::string& locale, uint32_t type) {
  WString name;
  if (type == kLocaleCountryName) {
    std::string ui = CurrentDevice().Config().uiLanguage;
    std::replace(ui.begin(), ui.end(), '-', '_');
    switch (DisplayCountry(locale, ui, name)) {
      case NameResult::Named: return name;
      case NameResult::Failed: return std::nullopt;
      case NameResult::NoNamesInLanguage: break;  // English, as for an English device
    }
  }
  if (DisplayCountry(locale, kEnglish, name) != NameResult::Named) return std::nullopt;
  return name;
}

}  // namespace

std::optional<std::string> KnownLocaleName(Lcid lcid) {
  const DeviceConfig& config = CurrentDevice().Config();
  if (IsUserDefault(lcid)) {
    std::string user = Normalise(config.userLocale);
    if (user.empty()) return std::nullopt;
    return user;
  }
  char name[kLocaleNameCapacity] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_getLocaleForLCID(lcid, name, kLocaleNameCapacity, &status);
  if (U_FAILURE(status) || n <= 0) return std::nullopt;
  std::string locale = Normalise(name);
  if (locale.empty()) return std::nullopt;
  if (config.knownLocales) {
    const bool listed = std::any_of(config.knownLocales->begin(), config.knownLocales->end(),
                                    [&](const std::string& tag) { return Normalise(tag) == locale; });
    if (!listed && locale != Normalise(config.userLocale)) return std::nullopt;
  }
  return locale;
}

std::optional<WString> GetLocaleInfo(Lcid lcid, uint32_t type) {
  if (type != kLocaleCountryName && type != kLocaleEnglishCountryName) {
    SetLastError(kErrorInvalidFlags);
    return std::nullopt;
  }
  std::optional<std::string> locale = KnownLocaleName(lcid);
  std::optional<WString> name;
  if (locale) name = CountryName(*locale, type);
  if (!name) {
    SetLastError(kErrorInvalidParameter);
    return std::nullopt;
  }
  SetLastError(kErrorSuccess);
  return name;
}

int GetLocaleInfo(Lcid lcid, uint32_t type, char16_t* buffer, int capacity) {
  if (capacity < 0 || (buffer == nullptr && capacity != 0)) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::optional<WString> text = GetLocaleInfo(lcid, type);
  if (!text) return 0;
  const size_t needed = text->size() + 1;
  if (capacity == 0) return static_cast<int>(needed);
  if (needed > static_cast<size_t>(capacity)) {
    SetLastError(kErrorInsufficientBuffer);
    return 0;
  }
  std::copy(text->begin(), text->end(), buffer);
  buffer[text->size()] = u'\0';
  return static_cast<int>(needed);
}

}  // namespace platform
