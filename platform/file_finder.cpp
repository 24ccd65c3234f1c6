#include "platform/file_finder.h"

#include <algorithm>

#include "platform/device_path.h"
#include "platform/file_system.h"

namespace platform {

namespace {

char16_t Fold(char16_t c) {
  WString s = ToLower(WStringView(&c, 1));
  return s.size() == 1 ? s[0] : c;
}

bool Match(WStringView p, WStringView n) {
  // Iterative wildcard matching with one backtrack point.
  size_t pi = 0, ni = 0, star = WStringView::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == u'?' || Fold(p[pi]) == Fold(n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == u'*') {
      star = pi++;
      mark = ni;
    } else if (star != WStringView::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == u'*') ++pi;
  return pi == p.size();
}

}  // namespace

bool MatchesPattern(WStringView pattern, WStringView name) {
  if (Match(pattern, name)) return true;
  // "name.*" also finds "name" without an extension.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
      name.find(u'.') == WStringView::npos)
    return Match(pattern.substr(0, pattern.size() - 2), name);
  return false;
}

ErrorCode FileFinder::FindFirst(WStringView pattern, FindData& out) {
  Close();
  WString folder = DeviceParentPath(pattern);
  WString namePattern = DeviceFileName(pattern);
  if (namePattern.empty()) {
    SetLastError(kErrorFileNotFound);
    return kErrorFileNotFound;
  }
  FileSystem* store = nullptr;
  DeviceParts parts;
  if (ErrorCode e = LocateDevicePath(folder, store, parts); e != kErrorSuccess) {
    SetLastError(e == kErrorFileNotFound ? kErrorPathNotFound : e);
    return LastError();
  }
  std::vector<FindData> names;
  if (ErrorCode e = store->List(parts, names); e != kErrorSuccess) {
    SetLastError(e == kErrorFileNotFound ? kErrorPathNotFound : e);
    return LastError();
  }
  for (FindData& d : names)
    if (MatchesPattern(namePattern, d.name)) matches_.push_back(std::move(d));
  std::sort(matches_.begin(), matches_.end(), [](const FindData& a, const FindData& b) {
    int c = CompareNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  if (matches_.empty()) {
    SetLastError(kErrorFileNotFound);
    return kErrorFileNotFound;
  }
  out = matches_[0];
  next_ = 1;
  return kErrorSuccess;
}

ErrorCode FileFinder::FindNext(FindData& out) {
  if (next_ >= matches_.size()) {
    SetLastError(kErrorNoMoreFiles);
    return kErrorNoMoreFiles;
  }
  out = matches_[next_++];
  return kErrorSuccess;
}

void FileFinder::Close() {
  matches_.clear();
  next_ = 0;
}

}  // namespace platform
