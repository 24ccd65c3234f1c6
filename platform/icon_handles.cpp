#include "platform/icon_handles.h"

#include <map>
#include <mutex>

namespace platform {

namespace {

// Far from small numbers, so a count or an index is never taken for one.
constexpr IconHandle kFirstHandle = 0x00490000;

std::mutex g_mutex;
std::map<IconHandle, IconImage> g_icons;
IconHandle g_next = kFirstHandle;

}  // namespace

IconHandle CreateIconHandle(IconImage image) {
  std::lock_guard lock(g_mutex);
  const IconHandle handle = g_next++;
  g_icons.emplace(handle, std::move(image));
  return handle;
}

std::optional<IconImage> IconOfHandle(IconHandle handle) {
  std::lock_guard lock(g_mutex);
  auto it = g_icons.find(handle);
  if (it == g_icons.end()) return std::nullopt;
  return it->second;
}

bool DestroyIcon(IconHandle handle) {
  std::lock_guard lock(g_mutex);
  return g_icons.erase(handle) != 0;
}

}  // namespace platform
