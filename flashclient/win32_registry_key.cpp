#include "flashclient/win32_registry_key.h"

#include <vector>

namespace drkclient {

std::optional<Win32RegistryKey> Win32RegistryKey::Open(HKEY root, const char* path, REGSAM access) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS) return std::nullopt;
  return Win32RegistryKey(key);
}

Win32RegistryKey::~Win32RegistryKey() {
  if (key_ != nullptr) ::RegCloseKey(key_);
}

std::optional<std::string> Win32RegistryKey::String(const char* name, size_t maxBytes) const {
  std::vector<char> data(maxBytes);
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(data.size());
  // A longer value fails with ERROR_MORE_DATA.
  if (::RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
      type != REG_SZ || size > data.size())
    return std::nullopt;
  // The stored text need not carry its terminator.
  std::string text(data.data(), size);
  if (size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
  return text;
}

std::optional<uint32_t> Win32RegistryKey::Dword(const char* name) const {
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  if (::RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  return value;
}

bool Win32RegistryKey::SetDword(const char* name, uint32_t value) const {
  const DWORD data = value;
  return ::RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
         ERROR_SUCCESS;
}

}  // namespace drkclient
