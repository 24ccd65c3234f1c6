// Feeds arbitrary bytes to the operator database as "GPRSope.inf" (and as
// "OPE.inf", where the operator's SMS centre is looked up). No input may
// crash or leak, the lists must stay consistent, and a section found by a
// home network number must list that number.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "applet/connections/operator_database.h"
#include "fuzz/fuzz_device.h"

namespace {

constexpr char16_t kFolder[] = u"\\";
constexpr applet::BearerType kKinds[] = {applet::BearerType::Gprs, applet::BearerType::Csd,
                                         applet::BearerType::WapOneXRtt};

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckLists(applet::OperatorDatabase& db, const std::vector<platform::WString>& sections) {
  platform::WString country;
  const auto countries = db.ListCountries(sections.empty() ? u"" : sections.front(), country);
  Require(!countries.empty() && countries.front() == db.NoCountry());
  const platform::WString current = db.CurrentOperator();
  for (const auto& name : countries) {
    for (int32_t kinds : {3, applet::OperatorDatabase::kAllKinds}) {
      const auto operators = db.ListOperators(name, kinds);
      Require(!operators.empty() && operators.front() == db.CustomOperator());
    }
  }
  // Listing reads sections without selecting them.
  Require(db.CurrentOperator() == current);
}

// Fills a record of one kind and follows the section's home network
// numbers. Every lookup reads the file, so one section and one kind an
// input keep each input quick; which kind turns with the input's length, so
// the fuzzer reaches all three.
void CheckSection(applet::OperatorDatabase& db, const platform::WString& section, size_t turn) {
  applet::CRASparam record;
  record.operatorName = section;
  record.bearer = kKinds[turn % std::size(kKinds)];
  db.FillRecord(nullptr, record);

  platform::WString numbers;
  db.HomeNetworkNumber(section, numbers);
  for (const auto& number : db.HomeNetworkNumbers(section)) {
    const platform::WString found = db.FindByHomeNetwork(number);
    if (number.size() > applet::OperatorDatabase::kHomeNetworkNumberLength ||
        number.find(u',') != platform::WString::npos)
      continue;
    const auto ofFound = db.HomeNetworkNumbers(found);
    Require(std::find(ofFound.begin(), ofFound.end(), number) != ofFound.end());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz_support::FuzzDevice device;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  device.WriteFile("GPRSope.inf", bytes);
  device.WriteFile("OPE.inf", bytes);

  applet::OperatorDatabase db;
  Require(db.Open(kFolder, u""));
  std::vector<platform::WString> sections;
  for (const auto& op : db.Operators()) {
    Require(op.country < db.Countries().size());
    sections.push_back(op.section);
  }
  CheckLists(db, sections);
  if (!sections.empty()) {
    CheckSection(db, sections.front(), size);
    db.FindSmsOperator(kFolder, sections.front());
  }
  return 0;
}
