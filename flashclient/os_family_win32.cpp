#include "flashclient/os_family.h"

#include "flashclient/win32_registry_key.h"

namespace drkclient {

namespace {

constexpr char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kVersionValue[] = "CurrentVersion";
constexpr size_t kMaxVersionBytes = 100;

}  // namespace

// Systems outside the NT family have no such key; a value that cannot be
// read leaves the family at 0 as well.
int32_t ReadOsFamily() {
  auto key = Win32RegistryKey::Open(HKEY_LOCAL_MACHINE, kVersionKey, KEY_READ);
  if (!key) return kOsFamilyOther;
  auto version = key->String(kVersionValue, kMaxVersionBytes);
  return version ? OsFamilyFromVersion(*version) : kOsFamilyOther;
}

}  // namespace drkclient
