#pragma once
// The handheld's registry API over the current device's registry file.
//
// A RegistryKey is an open key handle (closed when the object ends). Calls
// return the handheld's error codes: kErrorSuccess, kErrorFileNotFound for a
// missing key or value, kErrorMoreData when a buffer is too small,
// kErrorNoMoreItems at the end of an enumeration, kErrorInvalidParameter for
// bad names, kErrorKeyDeleted when the key went away under an open handle,
// kErrorBadDb while registry.reg does not parse.
//
// The byte forms of texts, numbers and text lists are RegistryValue's.

#include <cstdint>
#include <vector>

#include "base/errors.h"
#include "base/registry_tree.h"
#include "base/text.h"

namespace platform {

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(RegistryKey&&) noexcept = default;
  RegistryKey& operator=(RegistryKey&&) noexcept = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens an existing key; fails with kErrorFileNotFound when it is absent.
  // An empty path opens the hive's root.
  ErrorCode Open(Hive hive, WStringView path);
  ErrorCode Open(const RegistryKey& parent, WStringView subPath);
  // Opens the key, creating it and any missing parents.
  ErrorCode Create(Hive hive, WStringView path, bool* created = nullptr);
  ErrorCode Create(const RegistryKey& parent, WStringView subPath, bool* created = nullptr);
  void Close();
  bool IsOpen() const { return open_; }

  Hive GetHive() const { return hive_; }
  WString Path() const { return JoinKeyPath(path_); }

  // The size-query protocol: with data null, *size receives the size needed;
  // with a buffer too small, kErrorMoreData and *size the size needed (the
  // buffer is left as it was); otherwise the data and its size.
  ErrorCode QueryValue(WStringView name, uint32_t* type, void* data, uint32_t* size) const;

  // Typed reads; a value of another type gives kErrorUnsupportedType.
  ErrorCode QueryString(WStringView name, WString& out) const;  // REG_SZ, REG_EXPAND_SZ
  ErrorCode QueryDword(WStringView name, uint32_t& out) const;
  ErrorCode QueryBinary(WStringView name, std::vector<uint8_t>& out) const;
  ErrorCode QueryMultiString(WStringView name, std::vector<WString>& out) const;

  ErrorCode SetValue(WStringView name, uint32_t type, const void* data, uint32_t size);
  ErrorCode SetString(WStringView name, WStringView text);
  ErrorCode SetDword(WStringView name, uint32_t value);
  ErrorCode SetBinary(WStringView name, const std::vector<uint8_t>& data);
  ErrorCode SetMultiString(WStringView name, const std::vector<WString>& texts);

  ErrorCode DeleteValue(WStringView name);
  // Deletes a subkey with everything below it.
  ErrorCode DeleteSubKey(WStringView subPath);

  // Enumeration in the documented stable order: subkeys by case-folded name,
  // values in the order they were first set.
  ErrorCode EnumSubKey(uint32_t index, WString& name) const;
  ErrorCode EnumValue(uint32_t index, WString& name, uint32_t* type = nullptr) const;
  ErrorCode CountEntries(uint32_t* subKeys, uint32_t* values) const;

 private:
  ErrorCode OpenOrCreate(Hive hive, std::vector<WString> path, bool create, bool* created);
  ErrorCode ReadValue(WStringView name, RegistryValue& out) const;
  template <typename T, typename Typed>
  ErrorCode QueryTyped(WStringView name, T& out, Typed typed) const;
  ErrorCode Set(RegistryValue value);

  bool open_ = false;
  Hive hive_ = Hive::CurrentUser;
  std::vector<WString> path_;
};

// Deletes a key with its subkeys (RegDeleteKey on the handheld does so).
ErrorCode DeleteRegistryKey(Hive hive, WStringView path);

}  // namespace platform
