#pragma once
// The international telephone country codes as the world uses them, from
// libphonenumber's metadata, and the countries that the applet's country
// table stands for, from ICU's locale data. The applet's table is its own
// and may differ from the public codes; tools compare the two so that an
// integrator learns where an operator ends up under another country.

#include <optional>
#include <string>
#include <vector>

#include "applet/device/country_name.h"

namespace handheld {

// The regions (ISO 3166 codes such as "PT") that use a telephone country
// code, the code's main region first; empty when no country uses it.
std::vector<std::string> RegionsOfCountryCode(int code);

// The telephone country code of a region, or nullopt for a region that
// has none.
std::optional<int> CountryCodeOfRegion(const std::string& region);

// A region's name in English ("Portugal"), or the region code itself when
// the locale data has no name for it.
std::string RegionName(const std::string& region);

// The region a row of the applet's country table stands for: the country
// of the row's locale, or, for a row without a locale, the region whose
// English name is the row's name (a leading "The " and letter case aside).
// nullopt when neither tells.
std::optional<std::string> RegionOfCountryRow(const applet::CountryRow& row);

}  // namespace handheld
