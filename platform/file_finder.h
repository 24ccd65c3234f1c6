#pragma once
// FindFirstFile/FindNextFile of the handheld: lists the names in one folder
// that match a pattern with '*' (any run of characters) and '?' (one
// character), compared without regard to letter case. As on the handheld, a
// pattern ending in ".*" also matches names without a dot ("RondelRes.*"
// finds "RondelRes"), and "*.*" matches every name. "." and ".." are never
// listed. Names come in a stable order (sorted by case-folded name); the
// folder is read once, at FindFirst.

#include <cstdint>
#include <vector>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

struct FindData {
  WString name;
  uint32_t attributes = 0;  // kAttributeDirectory or kAttributeNormal
  uint64_t size = 0;
};

class FileFinder {
 public:
  // Errors: kErrorPathNotFound when the folder does not exist,
  // kErrorFileNotFound when nothing matches.
  ErrorCode FindFirst(WStringView pattern, FindData& out);
  // kErrorNoMoreFiles after the last match.
  ErrorCode FindNext(FindData& out);
  void Close();

 private:
  std::vector<FindData> matches_;
  size_t next_ = 0;
};

// Whether a name matches a pattern by the rules above.
bool MatchesPattern(WStringView pattern, WStringView name);

}  // namespace platform
