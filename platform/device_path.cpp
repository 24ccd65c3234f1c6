#include "platform/device_path.h"

#include <system_error>

#include "platform/device.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Finds the name in a host folder: exact first, else without regard to case.
// The host's names are compared as UTF-8 decoded to UTF-16.
std::string MatchName(const fs::path& folder, const WString& name) {
  std::string wanted = ToUtf8(name);
  std::error_code ec;
  if (fs::exists(folder / wanted, ec)) return wanted;
  std::string found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (EqualsNoCase(FromUtf8(candidate), name)) {
      // Several names that differ only in case: take the smallest, so the
      // choice does not depend on the order the host lists them in.
      if (found.empty() || candidate < found) found = candidate;
    }
  }
  return found.empty() ? wanted : found;
}

bool IsInside(const fs::path& child, const fs::path& root) {
  auto c = child.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++c) {
    if (c == child.end() || *c != *r) return false;
  }
  return true;
}

}  // namespace

bool IsValidFileName(WStringView name) {
  if (name.empty()) return false;
  for (char16_t c : name) {
    if (c < 0x20) return false;
    switch (c) {
      case u'<': case u'>': case u':': case u'"': case u'/': case u'\\': case u'|':
      case u'?': case u'*':
        return false;
      default:
        break;
    }
  }
  return true;
}

ErrorCode SplitDevicePath(WStringView path, std::vector<WString>& parts) {
  parts.clear();
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    size_t start = i;
    while (i < path.size() && !IsSeparator(path[i])) ++i;
    if (i == start) break;
    WString name(path.substr(start, i - start));
    if (name == u".") continue;
    if (name == u"..") {
      if (parts.empty()) return kErrorBadPathname;
      parts.pop_back();
      continue;
    }
    parts.push_back(std::move(name));
  }
  return kErrorSuccess;
}

ErrorCode CheckDeviceParts(const std::vector<WString>& parts) {
  size_t length = 0;
  for (const auto& p : parts) {
    if (!IsValidFileName(p)) return kErrorInvalidName;
    length += p.size() + 1;
  }
  if (length + 1 > kMaxPath) return kErrorBadPathname;
  return kErrorSuccess;
}

ErrorCode MapOntoHost(const fs::path& folder, const std::vector<WString>& parts, fs::path& hostPath) {
  fs::path current = folder;
  bool folderExists = true;
  for (const auto& p : parts) {
    std::error_code ec;
    if (folderExists && fs::is_directory(current, ec)) {
      current /= MatchName(current, p);
    } else {
      folderExists = false;
      current /= ToUtf8(p);
    }
  }

  // A symbolic link inside the folder must not lead out of it.
  std::error_code ec;
  fs::path canonicalRoot = fs::weakly_canonical(folder, ec);
  if (ec) return kErrorPathNotFound;
  fs::path canonical = fs::weakly_canonical(current, ec);
  if (ec || !IsInside(canonical, canonicalRoot)) return kErrorAccessDenied;
  hostPath = current;
  return kErrorSuccess;
}

ErrorCode LocateDevicePath(WStringView path, FileSystem*& store, std::vector<WString>& parts) {
  if (ErrorCode e = SplitDevicePath(path, parts); e != kErrorSuccess) return e;
  store = CurrentDevice().Files();
  if (store == nullptr) return kErrorPathNotFound;
  return CheckDeviceParts(parts);
}

ErrorCode ResolveDeviceParts(const std::vector<WString>& parts, fs::path& hostPath) {
  Device& device = CurrentDevice();
  if (!device.HasRoot()) return kErrorPathNotFound;
  if (ErrorCode e = CheckDeviceParts(parts); e != kErrorSuccess) return e;
  return MapOntoHost(device.FileSystemRoot(), parts, hostPath);
}

ErrorCode ResolveDevicePath(WStringView path, fs::path& hostPath) {
  std::vector<WString> parts;
  if (ErrorCode e = SplitDevicePath(path, parts); e != kErrorSuccess) return e;
  return ResolveDeviceParts(parts, hostPath);
}

WString DeviceParentPath(WStringView path) {
  size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  size_t sep = end;
  while (sep > 0 && !IsSeparator(path[sep - 1])) --sep;
  return WString(path.substr(0, sep));
}

WString DeviceFileName(WStringView path) {
  size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  size_t sep = end;
  while (sep > 0 && !IsSeparator(path[sep - 1])) --sep;
  return WString(path.substr(sep, end - sep));
}

}  // namespace platform
