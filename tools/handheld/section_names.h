#pragma once
// Section names for an operator database that the applet reads as meant.
// The reader consults only the first section of a name, so every name must
// be new to the file; the operator dialog lists a country's operators after
// its first entries and hides an operator whose name an entry listed before
// begins with (letter case ignored), so within a country a name must not
// begin one listed before it. "Unknown" is never listed, and a section
// named as the applet's custom operator entry is taken for that entry.
// Letter case is ignored throughout, as the dialog ignores it.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "base/text.h"

namespace handheld {

class SectionNames {
 public:
  // firstEntries: what the dialog's operator lists begin with (its
  // placeholder and the database's custom operator entry). reserved: names
  // that no section may have.
  SectionNames(std::vector<platform::WString> firstEntries, std::vector<platform::WString> reserved);

  // What keeps a name from use in the list of a country.
  struct Conflict {
    platform::WString other;
    bool sameName;  // else other is listed before and begins with the name
  };
  std::optional<Conflict> ConflictOf(platform::WStringView name, int32_t country) const;

  // Takes a name free of conflicts for a section of country; a section the
  // dialog lists hides later names that begin its own.
  void Take(platform::WStringView name, int32_t country, bool listed);

 private:
  std::vector<platform::WString> firstEntries_;
  std::vector<platform::WString> taken_;
  std::map<int32_t, std::vector<platform::WString>> listed_;  // by country code, in order
};

}  // namespace handheld
