#include "platform/windows/font_handles.h"

#include <map>
#include <mutex>

namespace platform {

namespace {

struct FontTable {
  std::mutex mutex;
  std::map<uintptr_t, std::weak_ptr<const Font>> fonts;
};

FontTable& Table() {
  static FontTable* table = new FontTable;
  return *table;
}

}  // namespace

uintptr_t FontHandle(const std::shared_ptr<const Font>& font) {
  if (!font) return 0;
  const auto handle = reinterpret_cast<uintptr_t>(font.get());
  FontTable& t = Table();
  std::lock_guard lock(t.mutex);
  // Forget fonts that are gone, so the table stays as small as the fonts
  // in use.
  std::erase_if(t.fonts, [](const auto& entry) { return entry.second.expired(); });
  t.fonts[handle] = font;
  return handle;
}

std::shared_ptr<const Font> FontFromHandle(uintptr_t handle) {
  if (handle == 0) return nullptr;
  FontTable& t = Table();
  std::lock_guard lock(t.mutex);
  auto it = t.fonts.find(handle);
  return it == t.fonts.end() ? nullptr : it->second.lock();
}

}  // namespace platform
