#pragma once
// An open key of the Windows registry, closed with the object. The driver
// only opens keys that exist, never creates one, and reads values of a
// known type and bounded size.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace drkclient {

class Win32RegistryKey {
 public:
  // The key under root, or nothing when it is absent or refused.
  static std::optional<Win32RegistryKey> Open(HKEY root, const char* path, REGSAM access);

  Win32RegistryKey(Win32RegistryKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  Win32RegistryKey& operator=(Win32RegistryKey&&) = delete;
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;
  ~Win32RegistryKey();

  // A REG_SZ value of at most maxBytes bytes (its terminator included);
  // nothing when it is absent, of another type or longer.
  std::optional<std::string> String(const char* name, size_t maxBytes) const;
  // A REG_DWORD value; nothing when it is absent or of another type.
  std::optional<uint32_t> Dword(const char* name) const;
  bool SetDword(const char* name, uint32_t value) const;

 private:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  HKEY key_;
};

}  // namespace drkclient
