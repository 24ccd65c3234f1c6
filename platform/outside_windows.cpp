#include "platform/outside_windows.h"

#include "base/errors.h"
#include "platform/broadcast.h"
#include "platform/device.h"
#include "platform/journal.h"
#include "platform/windows/window_messages.h"

namespace platform {

namespace {

// Handles are the window's place in the list plus this, so that no handle
// is 0 or looks like a small number.
constexpr uintptr_t kFirstHandle = 0x10000;

}  // namespace

uintptr_t FindOutsideWindow(WStringView className, WStringView title) {
  const auto& windows = CurrentDevice().Config().outsideWindows;
  const std::string cls = ToUtf8(className), text = ToUtf8(title);
  for (size_t i = 0; i < windows.size(); ++i)
    if (windows[i].className == cls && windows[i].title == text) return kFirstHandle + i;
  return 0;
}

bool PostToOutsideWindow(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Device& device = CurrentDevice();
  DeviceConfig config = device.Config();
  if (window < kFirstHandle || window - kFirstHandle >= config.outsideWindows.size()) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  const OutsideWindow target = config.outsideWindows[window - kFirstHandle];
  std::string event = "posted " + MessageNameOf(message) + " to window " + target.className +
                      " \"" + target.title + "\"";
  if (message != WM_QUIT) {
    event += " wParam=" + std::to_string(wParam) + " lParam=" + std::to_string(lParam);
  } else {
    config.outsideWindows.erase(config.outsideWindows.begin() +
                                static_cast<std::ptrdiff_t>(window - kFirstHandle));
    if (device.HasRoot() && config.ToIni().Save(device.ConfigPath())) {
      device.ReloadConfig();
      event += ": its program ends";
    }
  }
  JournalEvent(event);
  return true;
}

}  // namespace platform
