#pragma once
// The SMS-centre database "OPE.inf": one section per operator (named
// independently of the operator database) with its "CountryProvider" code,
// its "HomeNetworkNumber" list and its service centre numbers under
// "SmsCenter0", "SmsCenter1" and so on.
//
// Opening keeps the sections that have a country code and a first centre
// and joins each one's centres with "§" (U+00A7), the separator the
// applet's lists have always used.

#include <cstdint>
#include <vector>

#include "applet/device/sectioned_text_reader.h"
#include "base/text.h"

namespace applet {

class SmsCenterDatabase {
 public:
  static constexpr char16_t kFileName[] = u"OPE.inf";
  // The name the operator database opens it under.
  static constexpr char16_t kLowerCaseFileName[] = u"ope.inf";
  static constexpr char16_t kCenterSeparator = u'\u00A7';

  SmsCenterDatabase() = default;

  // Takes the custom operator's name from the current resource source and
  // opens folder + fileName. A file whose name contains "GPRSOPE" (any
  // letter case) is an operator database: its sections are kept without a
  // centre number. Sections without "CountryProvider", and the custom
  // operator's, are left out.
  // False when the file cannot be opened (the lists are then empty).
  bool Open(platform::WStringView folder, platform::WStringView fileName);
  bool IsOpen() const { return reader_.IsOpen(); }

  const std::vector<platform::WString>& Sections() const { return sections_; }
  // For each section, its centres joined with kCenterSeparator.
  const std::vector<platform::WString>& SmsCenters() const { return smsCenters_; }
  const std::vector<int32_t>& CountryNumbers() const { return countryNumbers_; }
  const std::vector<size_t>& SectionCountry() const { return sectionCountry_; }

  // Why Open left a section out, in file order, for tools that explain it.
  enum class LeftOutReason { NoFirstCenter, NoCountry, CustomOperator };
  struct LeftOutSection {
    platform::WString section;
    LeftOutReason reason;
    bool operator==(const LeftOutSection&) const = default;
  };
  const std::vector<LeftOutSection>& LeftOut() const { return leftOut_; }

  // The first centre of a kept section (found by exact name); false with
  // number untouched when there is no such section.
  bool FirstSmsCenter(platform::WStringView section, platform::WString& number);

  // The entries of a section's "HomeNetworkNumber" list, as
  // FindByHomeNetwork compares them.
  std::vector<platform::WString> HomeNetworkNumbers(platform::WStringView section);

  // The first kept section whose "HomeNetworkNumber" list holds the number
  // (exact text). With a folder, "ope.inf" there is opened first. Empty
  // when none does.
  platform::WString FindByHomeNetwork(const platform::WString* folder,
                                      platform::WStringView number);

 private:
  // Reads the further centres and the country code of a section Open keeps.
  void KeepSection(platform::WString section, platform::WString centers);

  SectionedTextReader reader_;
  platform::WString customOperator_;
  std::vector<platform::WString> sections_;
  std::vector<platform::WString> smsCenters_;
  std::vector<int32_t> countryNumbers_;
  std::vector<size_t> sectionCountry_;
  std::vector<LeftOutSection> leftOut_;
};

}  // namespace applet
