#include "applet/connections/ras_session.h"

#include <algorithm>

namespace applet {

platform::ErrorCode RasSession::EnumEntries() {
  size_t records = kFirstEntries;
  platform::ErrorCode result;
  for (;;) {
    entries_.assign(records, platform::RasEntryName{});
    entries_[0].size = sizeof(platform::RasEntryName);
    auto bytes = static_cast<uint32_t>(records * sizeof(platform::RasEntryName));
    uint32_t count = 0;
    result = functions_.enumEntries(nullptr, nullptr, entries_.data(), &bytes, &count);
    if (result == platform::kRasErrorBufferTooSmall && records < kMaxEntries) {
      records *= 2;
      continue;
    }
    count_ = result == kNotEnoughMemory ? 0 : std::min<size_t>(count, records);
    break;
  }
  if (result == platform::kRasErrorBufferTooSmall) count_ = 0;
  entries_.resize(count_);
  return result;
}

}  // namespace applet
