#pragma once
// Locale information of the handheld (GetLocaleInfo), from ICU's locale
// data. A locale is named by its identifier (LCID): the language identifier
// (primary language in the low 10 bits, sublanguage above them) with the
// default sort order. Names are given in the device's UI language
// (device.ini "UILanguage"), or in English where the type asks for it.
//
// The device knows the locales that device.ini's "KnownLocales" lists (tags
// such as "en-GB"), or, without that key, every locale ICU knows. The user's
// own locale ("UserLocale") is always known. Asking for a locale the device
// does not know fails, as it does on a handheld whose ROM lacks the locale.

#include <cstdint>
#include <optional>
#include <string>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

using Lcid = uint32_t;

// The identifier of a locale from its primary and secondary language
// identifiers, with the default sort order.
constexpr Lcid MakeLcid(uint16_t primaryLanguage, uint16_t subLanguage) {
  return static_cast<Lcid>(subLanguage) << 10 | primaryLanguage;
}

// The device's user default locale (device.ini "UserLocale").
inline constexpr Lcid kLocaleUserDefault = 0x0400;
inline constexpr Lcid kLocaleSystemDefault = 0x0800;

// Information types.
inline constexpr uint32_t kLocaleCountryName = 0x0006;         // in the UI language
inline constexpr uint32_t kLocaleEnglishCountryName = 0x1002;  // in English

// The ICU name of a locale the device knows ("en_GB"), or nullopt.
std::optional<std::string> KnownLocaleName(Lcid lcid);

// GetLocaleInfo: writes the information and a 0 terminator into buffer and
// returns the count of units written, terminator included. With capacity 0
// nothing is written and the count needed is returned (the size query). On
// failure returns 0 and sets the last error: kErrorInvalidParameter for a
// locale the device does not know, a null buffer with a non-zero capacity or
// a negative capacity; kErrorInvalidFlags for an information type not listed
// above; kErrorInsufficientBuffer when the text and its terminator do not
// fit (the buffer is then left as it was).
int GetLocaleInfo(Lcid lcid, uint32_t type, char16_t* buffer, int capacity);

// The same as a text; nullopt on failure (the last error tells why).
std::optional<WString> GetLocaleInfo(Lcid lcid, uint32_t type);

}  // namespace platform
