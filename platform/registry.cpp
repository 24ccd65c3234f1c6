#include "platform/registry.h"

#include <cstring>

#include "base/registry_file.h"
#include "platform/device.h"

namespace platform {

namespace {

RegistryFile& Store() { return CurrentDevice().Registry(); }

bool ValidPath(const std::vector<WString>& path) {
  if (path.size() > kMaxKeyDepth) return false;
  for (const auto& p : path)
    if (!IsValidKeyName(p)) return false;
  return true;
}

std::vector<WString> Concat(const std::vector<WString>& a, const std::vector<WString>& b) {
  std::vector<WString> out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

}  // namespace

ErrorCode RegistryKey::OpenOrCreate(Hive hive, std::vector<WString> path, bool create,
                                    bool* created) {
  Close();
  if (!ValidPath(path)) return kErrorInvalidParameter;
  ErrorCode e;
  if (create) {
    e = Store().Modify([&](RegistryTree& tree, bool& changed) {
      bool made = false;
      tree.FindOrCreate(hive, path, &made);
      changed = made;
      if (created) *created = made;
      return kErrorSuccess;
    });
  } else {
    e = Store().Read([&](const RegistryTree& tree) {
      return tree.Find(hive, path) != nullptr ? kErrorSuccess : kErrorFileNotFound;
    });
  }
  if (e != kErrorSuccess) return e;
  open_ = true;
  hive_ = hive;
  path_ = std::move(path);
  return kErrorSuccess;
}

ErrorCode RegistryKey::Open(Hive hive, WStringView path) {
  return OpenOrCreate(hive, SplitKeyPath(path), false, nullptr);
}

ErrorCode RegistryKey::Open(const RegistryKey& parent, WStringView subPath) {
  if (!parent.open_) return kErrorInvalidHandle;
  return OpenOrCreate(parent.hive_, Concat(parent.path_, SplitKeyPath(subPath)), false, nullptr);
}

ErrorCode RegistryKey::Create(Hive hive, WStringView path, bool* created) {
  return OpenOrCreate(hive, SplitKeyPath(path), true, created);
}

ErrorCode RegistryKey::Create(const RegistryKey& parent, WStringView subPath, bool* created) {
  if (!parent.open_) return kErrorInvalidHandle;
  return OpenOrCreate(parent.hive_, Concat(parent.path_, SplitKeyPath(subPath)), true, created);
}

void RegistryKey::Close() {
  open_ = false;
  path_.clear();
}

ErrorCode RegistryKey::QueryValue(WStringView name, uint32_t* type, void* data,
                                  uint32_t* size) const {
  if (!open_) return kErrorInvalidHandle;
  if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
  return Store().Read([&](const RegistryTree& tree) {
    const RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    const RegistryValue* v = node->FindValue(name);
    if (v == nullptr) return kErrorFileNotFound;
    if (type) *type = v->type;
    const uint32_t needed = static_cast<uint32_t>(v->data.size());
    if (data == nullptr) {
      if (size) *size = needed;
      return kErrorSuccess;
    }
    if (*size < needed) {
      *size = needed;
      return kErrorMoreData;
    }
    if (needed > 0) std::memcpy(data, v->data.data(), needed);
    *size = needed;
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::ReadValue(WStringView name, RegistryValue& out) const {
  if (!open_) return kErrorInvalidHandle;
  return Store().Read([&](const RegistryTree& tree) {
    const RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    const RegistryValue* v = node->FindValue(name);
    if (v == nullptr) return kErrorFileNotFound;
    out = *v;
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::QueryBinary(WStringView name, std::vector<uint8_t>& out) const {
  RegistryValue v;
  ErrorCode e = ReadValue(name, v);
  if (e == kErrorSuccess) out = std::move(v.data);
  return e;
}

// Reads a value and takes its typed form; a value of another type gives
// kErrorUnsupportedType.
template <typename T, typename Typed>
ErrorCode RegistryKey::QueryTyped(WStringView name, T& out, Typed typed) const {
  RegistryValue v;
  ErrorCode e = ReadValue(name, v);
  if (e != kErrorSuccess) return e;
  auto value = typed(v);
  if (!value) return kErrorUnsupportedType;
  out = std::move(*value);
  return kErrorSuccess;
}

ErrorCode RegistryKey::QueryString(WStringView name, WString& out) const {
  return QueryTyped(name, out, [](const RegistryValue& v) { return v.AsString(); });
}

ErrorCode RegistryKey::QueryDword(WStringView name, uint32_t& out) const {
  return QueryTyped(name, out, [](const RegistryValue& v) { return v.AsDword(); });
}

ErrorCode RegistryKey::QueryMultiString(WStringView name, std::vector<WString>& out) const {
  return QueryTyped(name, out, [](const RegistryValue& v) { return v.AsMultiString(); });
}

ErrorCode RegistryKey::SetValue(WStringView name, uint32_t type, const void* data, uint32_t size) {
  if (!open_) return kErrorInvalidHandle;
  if ((data == nullptr && size != 0) || size > kMaxValueDataSize) return kErrorInvalidParameter;
  RegistryValue value{WString(name), type, {}};
  if (size > 0) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    value.data.assign(bytes, bytes + size);
  }
  return Set(std::move(value));
}

ErrorCode RegistryKey::Set(RegistryValue value) {
  if (!open_) return kErrorInvalidHandle;
  if (!IsValidValueName(value.name) || value.data.size() > kMaxValueDataSize) return kErrorInvalidParameter;
  return Store().Modify([&](RegistryTree& tree, bool& changed) {
    RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    const RegistryValue* old = node->FindValue(value.name);
    if (old != nullptr && old->type == value.type && old->data == value.data) return kErrorSuccess;
    node->SetValue(std::move(value));
    changed = true;
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::SetString(WStringView name, WStringView text) {
  return Set(RegistryValue::String(WString(name), text));
}

ErrorCode RegistryKey::SetDword(WStringView name, uint32_t value) {
  return Set(RegistryValue::Dword(WString(name), value));
}

ErrorCode RegistryKey::SetBinary(WStringView name, const std::vector<uint8_t>& data) {
  return Set(RegistryValue::Binary(WString(name), data));
}

ErrorCode RegistryKey::SetMultiString(WStringView name, const std::vector<WString>& texts) {
  return Set(RegistryValue::MultiString(WString(name), texts));
}

ErrorCode RegistryKey::DeleteValue(WStringView name) {
  if (!open_) return kErrorInvalidHandle;
  return Store().Modify([&](RegistryTree& tree, bool& changed) {
    RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    if (!node->RemoveValue(name)) return kErrorFileNotFound;
    changed = true;
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::DeleteSubKey(WStringView subPath) {
  if (!open_) return kErrorInvalidHandle;
  auto sub = SplitKeyPath(subPath);
  if (sub.empty()) return kErrorInvalidParameter;
  auto full = Concat(path_, sub);
  return Store().Modify([&](RegistryTree& tree, bool& changed) {
    if (tree.Find(hive_, path_) == nullptr) return kErrorKeyDeleted;
    if (!tree.Remove(hive_, full)) return kErrorFileNotFound;
    changed = true;
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::EnumSubKey(uint32_t index, WString& name) const {
  if (!open_) return kErrorInvalidHandle;
  return Store().Read([&](const RegistryTree& tree) {
    const RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    if (index >= node->Children().size()) return kErrorNoMoreItems;
    name = node->Children()[index]->Name();
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::EnumValue(uint32_t index, WString& name, uint32_t* type) const {
  if (!open_) return kErrorInvalidHandle;
  return Store().Read([&](const RegistryTree& tree) {
    const RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    if (index >= node->Values().size()) return kErrorNoMoreItems;
    name = node->Values()[index].name;
    if (type) *type = node->Values()[index].type;
    return kErrorSuccess;
  });
}

ErrorCode RegistryKey::CountEntries(uint32_t* subKeys, uint32_t* values) const {
  if (!open_) return kErrorInvalidHandle;
  return Store().Read([&](const RegistryTree& tree) {
    const RegistryNode* node = tree.Find(hive_, path_);
    if (node == nullptr) return kErrorKeyDeleted;
    if (subKeys) *subKeys = static_cast<uint32_t>(node->Children().size());
    if (values) *values = static_cast<uint32_t>(node->Values().size());
    return kErrorSuccess;
  });
}

ErrorCode DeleteRegistryKey(Hive hive, WStringView path) {
  auto parts = SplitKeyPath(path);
  if (parts.empty()) return kErrorInvalidParameter;
  return Store().Modify([&](RegistryTree& tree, bool& changed) {
    if (!tree.Remove(hive, parts)) return kErrorFileNotFound;
    changed = true;
    return kErrorSuccess;
  });
}

}  // namespace platform
