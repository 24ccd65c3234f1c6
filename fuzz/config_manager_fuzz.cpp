// Hands arbitrary bytes, read as UTF-16LE, to the configuration manager. No
// input may crash or leak; an accepted document comes back whole as the
// result, a rejected one gives none. What the documents leave on the device
// (records, journal, registry) is cleared after each input so that a long
// run does not fill the disk.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/text.h"
#include "fuzz/fuzz_device.h"
#include "platform/config_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& device = fuzz_support::FuzzDevice::Get();
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

  std::error_code ec;
  std::filesystem::remove_all(device.Root() / "provisioning", ec);
  std::filesystem::remove(device.Root() / "journal.log", ec);
  std::filesystem::remove(device.Root() / "registry.reg", ec);
  return 0;
}
