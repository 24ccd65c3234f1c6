// Feeds arbitrary bytes to the operator and SMS-centre databases and to the
// integrator's check, as both "GPRSope.inf" and "OPE.inf". No input may
// crash or leak, the lists must stay consistent, and a section found by a
// home network number must list that number.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "applet/connections/operator_database.h"
#include "applet/connections/sms_center_database.h"
#include "fuzz/fuzz_device.h"
#include "tools/handheld/operator_check.h"

namespace {

// Bounds the work one input can cause.
constexpr size_t kMaxSectionsChecked = 16;

constexpr char16_t kFolder[] = u"\\";

void Require(bool condition) {
  if (!condition) std::abort();
}

void ExerciseOperators(applet::OperatorDatabase& db) {
  std::vector<platform::WString> sections;
  for (const auto& op : db.Operators()) {
    Require(op.country < db.Countries().size());
    sections.push_back(op.section);
  }

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

  for (size_t i = 0; i < sections.size() && i < kMaxSectionsChecked; ++i) {
    for (applet::BearerType kind : {applet::BearerType::Gprs, applet::BearerType::Csd,
                                    applet::BearerType::WapOneXRtt}) {
      applet::CRASparam record;
      record.operatorName = sections[i];
      record.bearer = kind;
      db.FillRecord(nullptr, record);
    }
    platform::WString numbers;
    db.HomeNetworkNumber(sections[i], numbers);
    for (const auto& number : db.HomeNetworkNumbers(sections[i])) {
      const platform::WString found = db.FindByHomeNetwork(number);
      if (number.size() > applet::OperatorDatabase::kHomeNetworkNumberLength ||
          number.find(u',') != platform::WString::npos)
        continue;
      const auto ofFound = db.HomeNetworkNumbers(found);
      Require(std::find(ofFound.begin(), ofFound.end(), number) != ofFound.end());
    }
    db.FindSmsOperator(kFolder, sections[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& device = fuzz_support::FuzzDevice::Get();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  device.WriteFile("GPRSope.inf", bytes);
  device.WriteFile("OPE.inf", bytes);

  applet::OperatorDatabase db;
  Require(db.Open(kFolder, u""));
  ExerciseOperators(db);

  applet::SmsCenterDatabase sms;
  Require(sms.Open(kFolder, applet::SmsCenterDatabase::kFileName));
  Require(sms.SmsCenters().size() == sms.Sections().size());
  platform::WString centre;
  for (const auto& section : sms.Sections()) Require(sms.FirstSmsCenter(section, centre));

  for (const auto& finding : handheld::CheckOperatorFiles(kFolder, kFolder))
    Require(!handheld::FormatFinding(finding).empty());
  return 0;
}
