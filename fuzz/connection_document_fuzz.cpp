// Loads arbitrary bytes as a connection document. No input may crash or
// leak; whatever loads must save, and what is saved must load again and
// save to the same bytes (after one round has brought the login texts to
// the form the code page can hold).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "applet/connections/ras_param_array_doc.h"
#include "fuzz/fuzz_device.h"
#include "platform/file.h"

namespace {

constexpr char16_t kPath[] = u"\\VELM.DAT";
// Documents read back whole for the comparison.
constexpr size_t kMaxDocumentSize = 1 << 24;

std::string SaveAndRead(applet::CRASparamArrayDoc& doc) {
  if (!doc.Save()) std::abort();
  std::string bytes;
  if (platform::ReadDeviceFile(kPath, kMaxDocumentSize, bytes) != platform::kErrorSuccess)
    std::abort();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::FuzzDevice device;
  device.WriteFile("VELM.DAT", std::string_view(reinterpret_cast<const char*>(data), size));

  applet::CRASparamArrayDoc doc;
  if (!doc.Open(kPath)) {
    if (doc.Array().GetSize() != 0) std::abort();
    return 0;
  }
  SaveAndRead(doc);
  applet::CRASparamArrayDoc second;
  if (!second.Open(kPath)) std::abort();
  const std::string secondBytes = SaveAndRead(second);
  applet::CRASparamArrayDoc third;
  if (!third.Open(kPath)) std::abort();
  if (third.Array().GetSize() != doc.Array().GetSize()) std::abort();
  if (SaveAndRead(third) != secondBytes) std::abort();
  return 0;
}
