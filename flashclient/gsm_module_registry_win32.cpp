#include "flashclient/gsm_module_registry.h"

#include "flashclient/win32_registry_key.h"

namespace drkclient {

namespace {

constexpr char kKeyPath[] = "Software\\Marvane\\qzDRK";
constexpr char kValueName[] = "Last_GSM_module";

}  // namespace

uint32_t ReadLastGsmModule() {
  auto key = Win32RegistryKey::Open(HKEY_CURRENT_USER, kKeyPath, KEY_QUERY_VALUE);
  if (!key) return kGsmModuleNone;
  return key->Dword(kValueName).value_or(kGsmModuleNone);
}

bool WriteLastGsmModule(uint32_t variant) {
  auto key = Win32RegistryKey::Open(HKEY_CURRENT_USER, kKeyPath, KEY_SET_VALUE);
  return key && key->SetDword(kValueName, variant);
}

}  // namespace drkclient
