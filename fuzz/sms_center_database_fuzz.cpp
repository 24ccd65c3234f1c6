// Feeds arbitrary bytes to the SMS-centre database as "OPE.inf". No input
// may crash or leak, its lists must stay parallel, every section it keeps
// must have a centre, and a home network number that a kept section lists
// must find a section that lists it.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "applet/connections/sms_center_database.h"
#include "fuzz/fuzz_device.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz_support::FuzzDevice device;
  device.WriteFile("OPE.inf", std::string_view(reinterpret_cast<const char*>(data), size));

  applet::SmsCenterDatabase sms;
  Require(sms.Open(u"\\", applet::SmsCenterDatabase::kFileName));
  Require(sms.SmsCenters().size() == sms.Sections().size());
  Require(sms.SectionCountry().size() == sms.Sections().size());
  platform::WString centre;
  for (const auto& section : sms.Sections()) Require(sms.FirstSmsCenter(section, centre));
  // A number the first kept section lists finds a section that lists it.
  // Each search reads every section, so one section an input keeps each
  // input quick.
  if (sms.Sections().empty()) return 0;
  for (const auto& number : sms.HomeNetworkNumbers(sms.Sections().front())) {
    const auto ofFound = sms.HomeNetworkNumbers(sms.FindByHomeNetwork(nullptr, number));
    Require(std::find(ofFound.begin(), ofFound.end(), number) != ofFound.end());
  }
  return 0;
}
