#include "base/registry_tree.h"

#include <algorithm>

namespace platform {

namespace {

bool HasControlCharacter(WStringView name) {
  return std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20; });
}

}  // namespace

std::vector<std::unique_ptr<RegistryNode>>::const_iterator RegistryNode::LowerBound(WStringView name) const {
  return std::lower_bound(children_.begin(), children_.end(), name,
                          [](const std::unique_ptr<RegistryNode>& c, WStringView n) {
                            return CompareNoCase(c->name_, n) < 0;
                          });
}

RegistryNode* RegistryNode::FindChild(WStringView name) {
  auto it = LowerBound(name);
  return it != children_.end() && EqualsNoCase((*it)->name_, name) ? it->get() : nullptr;
}

const RegistryNode* RegistryNode::FindChild(WStringView name) const {
  return const_cast<RegistryNode*>(this)->FindChild(name);
}

RegistryNode& RegistryNode::AddChild(WStringView name, bool* created) {
  auto pos = LowerBound(name);
  if (pos != children_.end() && EqualsNoCase((*pos)->name_, name)) {
    if (created) *created = false;
    return **pos;
  }
  RegistryNode& ref = **children_.insert(pos, std::make_unique<RegistryNode>(WString(name)));
  if (created) *created = true;
  return ref;
}

bool RegistryNode::RemoveChild(WStringView name) {
  auto it = LowerBound(name);
  if (it == children_.end() || !EqualsNoCase((*it)->name_, name)) return false;
  children_.erase(it);
  return true;
}

const RegistryValue* RegistryNode::FindValue(WStringView name) const {
  auto it = valueIndex_.find(FoldCase(name));
  return it != valueIndex_.end() ? &values_[it->second] : nullptr;
}

void RegistryNode::SetValue(RegistryValue value) {
  auto [it, added] = valueIndex_.try_emplace(FoldCase(value.name), values_.size());
  if (added) {
    values_.push_back(std::move(value));
    return;
  }
  // The stored name keeps the case it was created with.
  RegistryValue& existing = values_[it->second];
  existing.type = value.type;
  existing.data = std::move(value.data);
}

bool RegistryNode::RemoveValue(WStringView name) {
  auto it = valueIndex_.find(FoldCase(name));
  if (it == valueIndex_.end()) return false;
  const size_t place = it->second;
  valueIndex_.erase(it);
  values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(place));
  for (auto& entry : valueIndex_)
    if (entry.second > place) --entry.second;
  return true;
}

std::unique_ptr<RegistryNode> RegistryNode::Clone() const {
  auto copy = std::make_unique<RegistryNode>(name_);
  copy->values_ = values_;
  copy->valueIndex_ = valueIndex_;
  copy->children_.reserve(children_.size());
  for (const auto& c : children_) copy->children_.push_back(c->Clone());
  return copy;
}

bool RegistryNode::operator==(const RegistryNode& other) const {
  if (name_ != other.name_ || children_.size() != other.children_.size()) return false;
  if (values_.size() != other.values_.size()) return false;
  for (size_t i = 0; i < values_.size(); ++i) {
    const auto& a = values_[i];
    const auto& b = other.values_[i];
    if (a.name != b.name || a.type != b.type || a.data != b.data) return false;
  }
  for (size_t i = 0; i < children_.size(); ++i)
    if (!(*children_[i] == *other.children_[i])) return false;
  return true;
}

RegistryTree::RegistryTree()
    : localMachine_(std::make_unique<RegistryNode>(u"HKEY_LOCAL_MACHINE")),
      currentUser_(std::make_unique<RegistryNode>(u"HKEY_CURRENT_USER")) {}

RegistryTree::RegistryTree(const RegistryTree& other)
    : localMachine_(other.localMachine_->Clone()), currentUser_(other.currentUser_->Clone()) {}

RegistryTree& RegistryTree::operator=(const RegistryTree& other) {
  if (this != &other) {
    localMachine_ = other.localMachine_->Clone();
    currentUser_ = other.currentUser_->Clone();
  }
  return *this;
}

RegistryNode& RegistryTree::Root(Hive hive) {
  return hive == Hive::LocalMachine ? *localMachine_ : *currentUser_;
}

const RegistryNode& RegistryTree::Root(Hive hive) const {
  return hive == Hive::LocalMachine ? *localMachine_ : *currentUser_;
}

RegistryNode* RegistryTree::Find(Hive hive, const std::vector<WString>& path) {
  RegistryNode* node = &Root(hive);
  for (const auto& part : path) {
    node = node->FindChild(part);
    if (node == nullptr) return nullptr;
  }
  return node;
}

const RegistryNode* RegistryTree::Find(Hive hive, const std::vector<WString>& path) const {
  return const_cast<RegistryTree*>(this)->Find(hive, path);
}

RegistryNode& RegistryTree::FindOrCreate(Hive hive, const std::vector<WString>& path,
                                         bool* created) {
  RegistryNode* node = &Root(hive);
  bool any = false;
  for (const auto& part : path) {
    bool made = false;
    node = &node->AddChild(part, &made);
    any = any || made;
  }
  if (created) *created = any;
  return *node;
}

bool RegistryTree::Remove(Hive hive, const std::vector<WString>& path) {
  if (path.empty()) return false;
  std::vector<WString> parentPath(path.begin(), path.end() - 1);
  RegistryNode* parent = Find(hive, parentPath);
  return parent != nullptr && parent->RemoveChild(path.back());
}

bool RegistryTree::operator==(const RegistryTree& other) const {
  return *localMachine_ == *other.localMachine_ && *currentUser_ == *other.currentUser_;
}

std::vector<WString> SplitKeyPath(WStringView path) {
  std::vector<WString> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == WStringView::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

WString JoinKeyPath(const std::vector<WString>& path) {
  WString out;
  for (size_t i = 0; i < path.size(); ++i) {
    if (i > 0) out.push_back(u'\\');
    out += path[i];
  }
  return out;
}

std::optional<Hive> HiveFromName(WStringView name) {
  if (EqualsNoCase(name, u"HKEY_LOCAL_MACHINE") || EqualsNoCase(name, u"HKLM"))
    return Hive::LocalMachine;
  if (EqualsNoCase(name, u"HKEY_CURRENT_USER") || EqualsNoCase(name, u"HKCU"))
    return Hive::CurrentUser;
  return std::nullopt;
}

const char16_t* HiveName(Hive hive) {
  return hive == Hive::LocalMachine ? u"HKEY_LOCAL_MACHINE" : u"HKEY_CURRENT_USER";
}

bool IsValidKeyName(WStringView name) {
  return !name.empty() && name.size() <= kMaxKeyNameLength && !HasControlCharacter(name) &&
         name.find(u'\\') == WStringView::npos;
}

bool IsValidValueName(WStringView name) {
  return name.size() <= kMaxValueNameLength && !HasControlCharacter(name);
}

}  // namespace platform
