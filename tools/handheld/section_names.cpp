#include "tools/handheld/section_names.h"

#include <algorithm>

namespace handheld {

using platform::WString;
using platform::WStringView;

namespace {

bool BeginsWithNoCase(WStringView text, WStringView prefix) {
  return text.size() >= prefix.size() && platform::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

SectionNames::SectionNames(std::vector<WString> firstEntries, std::vector<WString> reserved)
    : firstEntries_(std::move(firstEntries)), taken_(std::move(reserved)) {
  std::erase(firstEntries_, WString());
}

std::optional<SectionNames::Conflict> SectionNames::ConflictOf(WStringView name, int32_t country) const {
  auto same = [&](const WString& other) { return platform::EqualsNoCase(other, name); };
  if (auto it = std::find_if(taken_.begin(), taken_.end(), same); it != taken_.end())
    return Conflict{*it, true};
  auto hides = [&](const WString& entry) { return BeginsWithNoCase(entry, name); };
  if (auto it = std::find_if(firstEntries_.begin(), firstEntries_.end(), hides); it != firstEntries_.end())
    return Conflict{*it, false};
  const auto group = listed_.find(country);
  if (group == listed_.end()) return std::nullopt;
  if (auto it = std::find_if(group->second.begin(), group->second.end(), hides); it != group->second.end())
    return Conflict{*it, false};
  return std::nullopt;
}

void SectionNames::Take(WStringView name, int32_t country, bool listed) {
  taken_.emplace_back(name);
  if (listed) listed_[country].emplace_back(name);
}

}  // namespace handheld
