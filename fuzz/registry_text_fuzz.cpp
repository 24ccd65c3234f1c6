// Feeds arbitrary text to the registry file reader; whatever parses must
// format and parse back to the same tree.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::RegistryTree tree;
  platform::RegistryParseError error;
  if (!platform::ParseRegistryText(text, tree, &error)) return 0;
  platform::RegistryTree again;
  if (!platform::ParseRegistryText(platform::FormatRegistryText(tree), again, &error)) std::abort();
  if (!(again == tree)) std::abort();
  return 0;
}
