// Loads arbitrary bytes as the applet's document "VELM.DAT" the way the
// settings store does. No input may crash or leak; afterwards the working
// folder holds a document that loads, and an input that did not load (or
// came from a newer version) is kept aside as "VELM.DAT.bad", byte for byte.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "applet/connections/archive_version.h"
#include "applet/shell/settings_store.h"
#include "applet/shell/velm_ras_param_array_doc.h"
#include "fuzz/fuzz_device.h"
#include "platform/file.h"

namespace {

constexpr char16_t kPath[] = u"\\Yvra File Store\\GPRS Settings\\VELM.DAT";
constexpr char16_t kBadPath[] = u"\\Yvra File Store\\GPRS Settings\\VELM.DAT.bad";
constexpr size_t kMaxDocumentSize = 1 << 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::FuzzDevice device;
  if (platform::CreateDeviceDirectory(u"\\Yvra File Store") != platform::kErrorSuccess ||
      platform::CreateDeviceDirectory(u"\\Yvra File Store\\GPRS Settings") != platform::kErrorSuccess)
    std::abort();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (platform::WriteDeviceFile(kPath, std::string(input)) != platform::kErrorSuccess) std::abort();

  bool readable = false;
  {
    applet::CVELMRASparamArrayDoc probe;
    readable = probe.Open(kPath) && applet::archiveVersion <= applet::kDocumentVersion;
  }
  {
    applet::CSettingsStore store;
    store.Load();
  }
  applet::CVELMRASparamArrayDoc after;
  if (!after.Open(kPath)) std::abort();
  std::string kept;
  const bool keptAside =
      platform::ReadDeviceFile(kBadPath, kMaxDocumentSize, kept) == platform::kErrorSuccess;
  if (keptAside == readable) std::abort();
  if (keptAside && kept != input) std::abort();
  return 0;
}
