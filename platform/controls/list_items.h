#pragma once
// The entries of a list box or of a combo box's list, with the current
// selection (inside the controls). Searches compare without regard to
// letter case, start after a given entry and wrap round, as the handheld's
// lists do.

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace platform::controls {

// More entries than a handheld list holds; adding beyond it fails.
inline constexpr size_t kMaxListEntries = 32767;

class ListItems {
 public:
  static constexpr int kNone = -1;

  // Returns the index the entry got, or kNone when the list is full. A
  // sorted list puts it in order, others at the end.
  int Add(WStringView text, bool sorted);
  // At index (−1: at the end); kNone when the index is beyond the end or the
  // list is full.
  int Insert(int index, WStringView text);
  // Returns the count left, or kNone for a bad index.
  int Delete(int index);
  void Clear();

  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  const WString& At(int index) const { return items_[static_cast<size_t>(index)]; }

  // The first entry after `after` (−1: from the first) that starts with
  // prefix, or equals text when exact; kNone when none does.
  int Find(int after, WStringView text, bool exact) const;

  int Selection() const { return selection_; }
  // kNone clears the selection; a bad index clears it and returns false.
  bool Select(int index);

 private:
  std::vector<WString> items_;
  int selection_ = kNone;
};

}  // namespace platform::controls
