#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace platform {

namespace {

struct Node;

struct Entry {
  WString name;  // as created
  std::shared_ptr<Node> node;
};

struct Node {
  bool isFolder = false;
  uint64_t serial = 0;
  std::string bytes;                // of a file
  std::map<WString, Entry> children;  // of a folder, by case-folded name
};

// Where a name of a path is, or would be.
struct Place {
  Node* folder = nullptr;   // the folder that holds (or would hold) the name
  Entry* entry = nullptr;   // null when the name is missing
  WString key;              // the case-folded name
};

}  // namespace

struct MemoryTree {
  std::mutex mutex;
  std::shared_ptr<Node> root = std::make_shared<Node>();
  uint64_t nextSerial = 1;

  MemoryTree() {
    root->isFolder = true;
    root->serial = nextSerial++;
  }

  FileId IdOf(const Node& node) const { return {this, 0, node.serial}; }

  std::shared_ptr<Node> NewNode(bool folder) {
    auto node = std::make_shared<Node>();
    node->isFolder = folder;
    node->serial = nextSerial++;
    return node;
  }

  // Finds the folder of the last name, as a path walk of the host does:
  // kErrorFileNotFound for a missing folder on the way, kErrorPathNotFound
  // for a file on the way. The path must not be empty.
  ErrorCode Locate(const DeviceParts& path, Place& out) {
    Node* folder = root.get();
    for (size_t i = 0; i + 1 < path.size(); ++i) {
      auto it = folder->children.find(FoldCase(path[i]));
      if (it == folder->children.end()) return kErrorFileNotFound;
      if (!it->second.node->isFolder) return kErrorPathNotFound;
      folder = it->second.node.get();
    }
    out.folder = folder;
    out.key = FoldCase(path.back());
    auto it = folder->children.find(out.key);
    out.entry = it == folder->children.end() ? nullptr : &it->second;
    return kErrorSuccess;
  }

  // The node a path names, root included.
  ErrorCode Find(const DeviceParts& path, Node*& out) {
    if (path.empty()) {
      out = root.get();
      return kErrorSuccess;
    }
    Place place;
    if (ErrorCode e = Locate(path, place); e != kErrorSuccess) return e;
    if (place.entry == nullptr) return kErrorFileNotFound;
    out = place.entry->node.get();
    return kErrorSuccess;
  }
};

namespace {

// Whether a folder is the node or lies below it.
bool Contains(const Node& outer, const Node* inner) {
  if (&outer == inner) return true;
  for (const auto& [key, entry] : outer.children)
    if (entry.node->isFolder && Contains(*entry.node, inner)) return true;
  return false;
}

class MemoryOpenFile final : public OpenStoreFile {
 public:
  MemoryOpenFile(std::shared_ptr<MemoryTree> tree, std::shared_ptr<Node> node)
      : tree_(std::move(tree)), node_(std::move(node)) {}

  ErrorCode Read(void* buffer, size_t size, size_t* read) override {
    std::lock_guard guard(tree_->mutex);
    const std::string& bytes = node_->bytes;
    size_t n = 0;
    if (position_ < bytes.size()) {
      n = std::min<uint64_t>(size, bytes.size() - position_);
      std::memcpy(buffer, bytes.data() + position_, n);
      position_ += n;
    }
    *read = n;
    return kErrorSuccess;
  }

  ErrorCode Write(const void* data, size_t size, size_t* written) override {
    std::lock_guard guard(tree_->mutex);
    *written = 0;
    if (size > MemoryFileSystem::kMaxFileSize || position_ > MemoryFileSystem::kMaxFileSize - size)
      return kErrorDiskFull;
    std::string& bytes = node_->bytes;
    if (bytes.size() < position_ + size) bytes.resize(position_ + size, '\0');
    if (size > 0) std::memcpy(bytes.data() + position_, data, size);
    position_ += size;
    *written = size;
    return kErrorSuccess;
  }

  ErrorCode Seek(int64_t offset, SeekOrigin origin, uint64_t* position) override {
    std::lock_guard guard(tree_->mutex);
    int64_t base = 0;
    if (origin == SeekOrigin::Current) base = static_cast<int64_t>(position_);
    if (origin == SeekOrigin::End) base = static_cast<int64_t>(node_->bytes.size());
    int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) return kErrorInvalidParameter;
    position_ = static_cast<uint64_t>(target);
    *position = position_;
    return kErrorSuccess;
  }

  ErrorCode Size(uint64_t* size) const override {
    std::lock_guard guard(tree_->mutex);
    *size = node_->bytes.size();
    return kErrorSuccess;
  }

  ErrorCode SetEnd() override {
    std::lock_guard guard(tree_->mutex);
    if (position_ > MemoryFileSystem::kMaxFileSize) return kErrorDiskFull;
    node_->bytes.resize(position_, '\0');
    return kErrorSuccess;
  }

  ErrorCode Flush() override { return kErrorSuccess; }

  FileId Id() const override { return tree_->IdOf(*node_); }

 private:
  std::shared_ptr<MemoryTree> tree_;
  std::shared_ptr<Node> node_;
  uint64_t position_ = 0;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem() : tree_(std::make_shared<MemoryTree>()) {}
MemoryFileSystem::~MemoryFileSystem() = default;

ErrorCode MemoryFileSystem::Status(const DeviceParts& path, FileStatus& out) {
  std::lock_guard guard(tree_->mutex);
  Node* node = nullptr;
  if (ErrorCode e = tree_->Find(path, node); e != kErrorSuccess) return e;
  out.isFolder = node->isFolder;
  out.size = node->isFolder ? 0 : node->bytes.size();
  out.id = tree_->IdOf(*node);
  return kErrorSuccess;
}

ErrorCode MemoryFileSystem::Open(const DeviceParts& path, const OpenMode& mode,
                                 std::unique_ptr<OpenStoreFile>& out) {
  std::lock_guard guard(tree_->mutex);
  if (path.empty()) return kErrorAccessDenied;
  Place place;
  if (ErrorCode e = tree_->Locate(path, place); e != kErrorSuccess)
    return e == kErrorFileNotFound && mode.create ? kErrorPathNotFound : e;
  std::shared_ptr<Node> node;
  if (place.entry != nullptr) {
    if (mode.create && mode.exclusive) return kErrorAlreadyExists;
    node = place.entry->node;
    if (node->isFolder) return kErrorAccessDenied;
  } else {
    if (!mode.create) return kErrorFileNotFound;
    node = tree_->NewNode(false);
    place.folder->children.emplace(place.key, Entry{path.back(), node});
  }
  if (mode.truncate) node->bytes.clear();
  out = std::make_unique<MemoryOpenFile>(tree_, std::move(node));
  return kErrorSuccess;
}

ErrorCode MemoryFileSystem::RemoveFile(const DeviceParts& path) {
  std::lock_guard guard(tree_->mutex);
  if (path.empty()) return kErrorAccessDenied;
  Place place;
  if (ErrorCode e = tree_->Locate(path, place); e != kErrorSuccess) return e;
  if (place.entry == nullptr) return kErrorFileNotFound;
  if (place.entry->node->isFolder) return kErrorAccessDenied;
  place.folder->children.erase(place.key);
  return kErrorSuccess;
}

ErrorCode MemoryFileSystem::Rename(const DeviceParts& from, const DeviceParts& to) {
  std::lock_guard guard(tree_->mutex);
  // The root has no name to change, nor can anything take its place.
  if (from.empty()) return kErrorAccessDenied;
  if (to.empty()) return kErrorAlreadyExists;
  Place source, target;
  if (ErrorCode e = tree_->Locate(from, source); e != kErrorSuccess) return e;
  if (source.entry == nullptr) return kErrorFileNotFound;
  if (ErrorCode e = tree_->Locate(to, target); e != kErrorSuccess) return e;
  std::shared_ptr<Node> moving = source.entry->node;
  if (target.entry != nullptr) {
    const Node& replaced = *target.entry->node;
    if (&replaced == moving.get()) return kErrorSuccess;  // the same file by another name
    if (moving->isFolder && !replaced.isFolder) return kErrorPathNotFound;
    if (!moving->isFolder && replaced.isFolder) return kErrorAccessDenied;
    if (replaced.isFolder && !replaced.children.empty()) return kErrorDirNotEmpty;
  }
  // A folder cannot move into itself.
  if (moving->isFolder && Contains(*moving, target.folder)) return kErrorInvalidParameter;
  // The name that is replaced keeps its spelling, as the host resolves to it.
  WString name = target.entry != nullptr ? target.entry->name : to.back();
  source.folder->children.erase(source.key);
  target.folder->children.insert_or_assign(target.key, Entry{std::move(name), std::move(moving)});
  return kErrorSuccess;
}

ErrorCode MemoryFileSystem::CreateFolder(const DeviceParts& path) {
  std::lock_guard guard(tree_->mutex);
  if (path.empty()) return kErrorAlreadyExists;
  Place place;
  if (ErrorCode e = tree_->Locate(path, place); e != kErrorSuccess)
    return e == kErrorFileNotFound ? kErrorPathNotFound : e;
  if (place.entry != nullptr) return kErrorAlreadyExists;
  place.folder->children.emplace(place.key, Entry{path.back(), tree_->NewNode(true)});
  return kErrorSuccess;
}

ErrorCode MemoryFileSystem::RemoveFolder(const DeviceParts& path) {
  std::lock_guard guard(tree_->mutex);
  if (path.empty()) return kErrorAccessDenied;
  Place place;
  if (ErrorCode e = tree_->Locate(path, place); e != kErrorSuccess) return e;
  if (place.entry == nullptr) return kErrorFileNotFound;
  const Node& node = *place.entry->node;
  if (!node.isFolder) return kErrorPathNotFound;
  if (!node.children.empty()) return kErrorDirNotEmpty;
  place.folder->children.erase(place.key);
  return kErrorSuccess;
}

ErrorCode MemoryFileSystem::List(const DeviceParts& folder, std::vector<FindData>& out) {
  std::lock_guard guard(tree_->mutex);
  Node* node = nullptr;
  if (tree_->Find(folder, node) != kErrorSuccess || !node->isFolder) return kErrorPathNotFound;
  for (const auto& [key, entry] : node->children) {
    FindData d;
    d.name = entry.name;
    d.attributes = entry.node->isFolder ? kAttributeDirectory : kAttributeNormal;
    d.size = entry.node->isFolder ? 0 : entry.node->bytes.size();
    out.push_back(std::move(d));
  }
  return kErrorSuccess;
}

}  // namespace platform
