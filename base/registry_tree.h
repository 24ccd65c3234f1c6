#pragma once
// The registry as a tree in memory: two hives of keys, each key holding
// subkeys and typed values. No I/O here; persistence is RegistryFile's.
//
// Names of keys and values are compared without regard to letter case and
// keep the case they were created with. Enumeration order is stable and
// documented: subkeys sorted by their case-folded names (so the order does
// not depend on the history of the file), values in the order they were
// first set (a value that is set again keeps its place).
//
// Lookups take about constant time for values (an index by case-folded
// name beside the ordered list) and logarithmic time for subkeys (binary
// search in the sorted list), so a key of ten thousand values reads as fast
// as ten thousand values spread over keys.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/registry_value.h"
#include "base/text.h"

namespace platform {

enum class Hive : uint8_t { LocalMachine, CurrentUser };

// Limits of names and data. Longer names are refused with
// kErrorInvalidParameter rather than cut.
inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxValueNameLength = 16383;
inline constexpr size_t kMaxValueDataSize = 1024 * 1024;
inline constexpr size_t kMaxKeyDepth = 512;

class RegistryNode {
 public:
  explicit RegistryNode(WString name) : name_(std::move(name)) {}

  const WString& Name() const { return name_; }

  RegistryNode* FindChild(WStringView name);
  const RegistryNode* FindChild(WStringView name) const;
  // Returns the existing child of that name or a new one.
  RegistryNode& AddChild(WStringView name, bool* created = nullptr);
  bool RemoveChild(WStringView name);
  const std::vector<std::unique_ptr<RegistryNode>>& Children() const { return children_; }

  const RegistryValue* FindValue(WStringView name) const;
  void SetValue(RegistryValue value);
  bool RemoveValue(WStringView name);
  const std::vector<RegistryValue>& Values() const { return values_; }

  std::unique_ptr<RegistryNode> Clone() const;
  bool operator==(const RegistryNode& other) const;

 private:
  // The first child whose name is not below name, by case-folded order.
  std::vector<std::unique_ptr<RegistryNode>>::const_iterator LowerBound(WStringView name) const;

  WString name_;
  std::vector<std::unique_ptr<RegistryNode>> children_;
  std::vector<RegistryValue> values_;
  // Case-folded value name -> its place in values_.
  std::unordered_map<WString, size_t> valueIndex_;
};

class RegistryTree {
 public:
  RegistryTree();
  RegistryTree(const RegistryTree& other);
  RegistryTree& operator=(const RegistryTree& other);
  RegistryTree(RegistryTree&&) noexcept = default;
  RegistryTree& operator=(RegistryTree&&) noexcept = default;

  RegistryNode& Root(Hive hive);
  const RegistryNode& Root(Hive hive) const;

  RegistryNode* Find(Hive hive, const std::vector<WString>& path);
  const RegistryNode* Find(Hive hive, const std::vector<WString>& path) const;
  RegistryNode& FindOrCreate(Hive hive, const std::vector<WString>& path, bool* created = nullptr);
  // Removes a key with everything below it; the hive roots cannot be removed.
  bool Remove(Hive hive, const std::vector<WString>& path);

  bool operator==(const RegistryTree& other) const;

 private:
  std::unique_ptr<RegistryNode> localMachine_;
  std::unique_ptr<RegistryNode> currentUser_;
};

// Splits a key path at backslashes; empty components (a leading, trailing or
// doubled separator) are dropped.
std::vector<WString> SplitKeyPath(WStringView path);
WString JoinKeyPath(const std::vector<WString>& path);

// "HKEY_LOCAL_MACHINE" / "HKEY_CURRENT_USER" (and the short forms HKLM, HKCU).
std::optional<Hive> HiveFromName(WStringView name);
const char16_t* HiveName(Hive hive);

// Whether a name may be stored: no control characters, not too long.
bool IsValidKeyName(WStringView name);
bool IsValidValueName(WStringView name);

}  // namespace platform
