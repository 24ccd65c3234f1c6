#include "flashclient/gsm_module_registry.h"

#include <cstdlib>
#include <system_error>

#include "base/registry_file.h"
#include "base/text.h"

namespace drkclient {

namespace {

constexpr char16_t kKeyPath[] = u"Software\\Marvane\\qzDRK";
constexpr char16_t kValueName[] = u"Last_GSM_module";

const char* NonEmptyEnv(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? v : nullptr;
}

// The file only when it exists: a missing file is a missing key.
bool ExistingRegistry(std::filesystem::path& path) {
  path = DesktopRegistryPath();
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::filesystem::path DesktopRegistryPath() {
  if (const char* explicitPath = NonEmptyEnv("DRK_REGISTRY")) return explicitPath;
  if (const char* config = NonEmptyEnv("XDG_CONFIG_HOME"))
    return std::filesystem::path(config) / "drkclient" / "registry.reg";
  if (const char* home = NonEmptyEnv("HOME"))
    return std::filesystem::path(home) / ".config" / "drkclient" / "registry.reg";
  return {};
}

uint32_t ReadLastGsmModule() {
  std::filesystem::path path;
  if (!ExistingRegistry(path)) return kGsmModuleNone;
  platform::RegistryFile file(path);
  uint32_t result = kGsmModuleNone;
  file.Read([&](const platform::RegistryTree& tree) {
    const platform::RegistryNode* key = tree.Find(platform::Hive::CurrentUser, platform::SplitKeyPath(kKeyPath));
    if (key == nullptr) return platform::kErrorFileNotFound;
    const platform::RegistryValue* value = key->FindValue(kValueName);
    const auto variant = value != nullptr ? value->AsDword() : std::nullopt;
    if (!variant) return platform::kErrorFileNotFound;
    result = *variant;
    return platform::kErrorSuccess;
  });
  return result;
}

bool WriteLastGsmModule(uint32_t variant) {
  std::filesystem::path path;
  if (!ExistingRegistry(path)) return false;
  platform::RegistryFile file(path);
  bool stored = false;
  platform::ErrorCode e = file.Modify([&](platform::RegistryTree& tree, bool& changed) {
    platform::RegistryNode* key = tree.Find(platform::Hive::CurrentUser, platform::SplitKeyPath(kKeyPath));
    if (key == nullptr) return platform::kErrorFileNotFound;
    key->SetValue(platform::RegistryValue::Dword(kValueName, variant));
    changed = true;
    stored = true;
    return platform::kErrorSuccess;
  });
  return e == platform::kErrorSuccess && stored;
}

}  // namespace drkclient
