#pragma once
// What handheld operators import tells the integrator: one line for each
// provider it skipped, renamed or transliterated and for each value it left
// out or changed, then a summary of the whole import.

#include <ostream>
#include <string>

#include "tools/handheld/operator_import.h"

namespace handheld {

struct ImportReportContext {
  std::string source;       // the provider list, as given
  std::string target;       // device path of the database written
  unsigned codePage = 0;
  std::string noCountry;    // the text the dialog files countryless operators under
  std::string smsCentres;   // where the applet finds SMS centres, or empty for nowhere
  size_t providers = 0;     // in the list
  size_t countries = 0;
};

void PrintImportReport(std::ostream& out, const ImportResult& result, const ImportReportContext& context);

}  // namespace handheld
