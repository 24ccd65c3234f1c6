// Feeds arbitrary bytes to the integrator's check of the operator files, as
// both "GPRSope.inf" and "OPE.inf". No input may crash or leak, and every
// finding must format to a line.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_device.h"
#include "tools/handheld/operator_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz_support::FuzzDevice device;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  device.WriteFile("GPRSope.inf", bytes);
  device.WriteFile("OPE.inf", bytes);
  for (const auto& finding : handheld::CheckOperatorFiles(u"\\", u"\\"))
    if (handheld::FormatFinding(finding).empty()) std::abort();
  return 0;
}
