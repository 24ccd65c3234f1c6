// Hands arbitrary bytes, read as UTF-16LE, to the configuration manager. No
// input may crash or leak; an accepted document comes back whole as the
// result, a rejected one gives none. Each input runs on a fresh device in
// memory, so what a document leaves (registry, journal) goes with it.

#include <cstdint>
#include <cstdlib>

#include "base/text.h"
#include "fuzz/fuzz_device.h"
#include "platform/config_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz_support::FuzzDevice device;
  platform::WString document;
  for (size_t i = 0; i + 1 < size; i += 2)
    document.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  platform::ConfigResultText result;
  const long status = platform::DMProcessConfigXML(document, platform::kCfgFlagProcess, &result);
  if (status == platform::kConfigSuccess) {
    if (!result || platform::WStringView(result.get()) != platform::WStringView(document.c_str()))
      std::abort();
  } else if (result) {
    std::abort();
  }
  return 0;
}
