#pragma once
// Every subkey name of an open key, taken at once in the registry's order,
// so that a caller may remove or add subkeys while it walks the names.

#include <vector>

#include "platform/registry.h"

namespace platform {

inline std::vector<WString> SubKeyNames(const RegistryKey& key) {
  std::vector<WString> names;
  WString name;
  for (uint32_t i = 0; key.EnumSubKey(i, name) == kErrorSuccess; ++i) names.push_back(name);
  return names;
}

}  // namespace platform
