// "QZUtil.dll", the SIM utility library of the handheld's maker: the SIM's
// status word and its subscriber identity (IMSI), as the device's sim.ini
// gives them (platform/sim_config.h).
//
//   uint32_t QZUtil_GetSIMStatus(void)
//     1 when the SIM is ready; otherwise a failure status word. A device
//     without a readable sim.ini has no SIM card: kNoSimStatus.
//   int QZUtil_GetIMSI(char16_t* buffer, uint32_t* length)
//     *length holds the buffer's size in characters. Copies the IMSI with
//     its terminator and sets *length to the IMSI's length; returns 1. Returns
//     0, buffer and *length untouched, when there is no SIM or no IMSI, when
//     an argument is null, or when the IMSI and its terminator do not fit.

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "platform/device.h"
#include "platform/sim_config.h"

namespace {

// What this library reports for a device without a SIM card.
constexpr uint32_t kNoSimStatus = 0xFF000001;

std::optional<platform::SimConfig> Sim() {
  return platform::SimConfig::Load(platform::CurrentDevice().SimPath(), nullptr);
}

}  // namespace

#define QZUTIL_EXPORT extern "C" __attribute__((visibility("default")))

QZUTIL_EXPORT uint32_t QZUtil_GetSIMStatus(void) {
  const auto sim = Sim();
  return sim ? sim->status : kNoSimStatus;
}

QZUTIL_EXPORT int QZUtil_GetIMSI(char16_t* buffer, uint32_t* length) {
  if (buffer == nullptr || length == nullptr) return 0;
  const auto sim = Sim();
  if (!sim || sim->imsi.empty()) return 0;
  const platform::WString imsi = platform::FromUtf8(sim->imsi);
  if (imsi.size() + 1 > *length) return 0;
  imsi.copy(buffer, imsi.size());
  buffer[imsi.size()] = u'\0';
  *length = static_cast<uint32_t>(imsi.size());
  return 1;
}
