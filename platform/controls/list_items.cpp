#include "platform/controls/list_items.h"

#include <algorithm>

namespace platform::controls {

int ListItems::Add(WStringView text, bool sorted) {
  if (items_.size() >= kMaxListEntries) return kNone;
  size_t at = items_.size();
  if (sorted) {
    at = static_cast<size_t>(std::upper_bound(items_.begin(), items_.end(), text,
                                              [](WStringView a, const WString& b) { return CompareNoCase(a, b) < 0; }) -
                             items_.begin());
  }
  items_.insert(items_.begin() + static_cast<long>(at), WString(text));
  if (selection_ >= static_cast<int>(at)) ++selection_;
  return static_cast<int>(at);
}

int ListItems::Insert(int index, WStringView text) {
  if (items_.size() >= kMaxListEntries || index > Count()) return kNone;
  if (index < 0) index = Count();
  items_.insert(items_.begin() + index, WString(text));
  if (selection_ >= index) ++selection_;
  return index;
}

int ListItems::Delete(int index) {
  if (!Valid(index)) return kNone;
  items_.erase(items_.begin() + index);
  if (selection_ == index) {
    selection_ = kNone;
  } else if (selection_ > index) {
    --selection_;
  }
  return Count();
}

void ListItems::Clear() {
  items_.clear();
  selection_ = kNone;
}

int ListItems::Find(int after, WStringView text, bool exact) const {
  const int count = Count();
  if (count == 0) return kNone;
  const int start = after < 0 || after >= count ? 0 : after + 1;
  for (int i = 0; i < count; ++i) {
    const int index = (start + i) % count;
    const WString& item = At(index);
    const bool match = exact ? EqualsNoCase(item, text)
                             : item.size() >= text.size() && EqualsNoCase(WStringView(item).substr(0, text.size()), text);
    if (match) return index;
  }
  return kNone;
}

bool ListItems::Select(int index) {
  if (index != kNone && !Valid(index)) {
    selection_ = kNone;
    return false;
  }
  selection_ = index;
  return true;
}

}  // namespace platform::controls
