#pragma once
// Country names for display, from international telephone country codes.
// The applet's country table ties each code it knows to an English name and
// to a locale of that country; the name shown is the one the device's locale
// information gives for that locale (in the device's language), or the
// English name when the device does not know the locale.

#include <cstdint>
#include <span>

#include "base/text.h"

namespace applet {

struct CountryRow {
  int code;                     // international telephone country code
  const char16_t* name;         // English name
  uint16_t primaryLanguage;     // the locale used for the localised name;
  uint16_t secondaryLanguage;   // both 0: the row has no locale
};

// The country table, in ascending order of code.
std::span<const CountryRow> CountryTable();

// The row for a code, or null when the table lacks it.
const CountryRow* FindCountry(int code);

// The country code that stands for "no country".
inline constexpr int kNoCountryCode = -1;

// Sets out to the name of a country code: the localised name of the row's
// locale (at most 127 characters), else the row's English name. The code -1
// gives the fallback instead; a code the table lacks gives an empty text and
// ignores the fallback. Returns whether out is not empty.
bool CountryName(int code, platform::WString& out, platform::WStringView fallback);

}  // namespace applet
