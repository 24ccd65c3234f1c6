#include "platform/windows/screen.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "platform/device.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"

namespace platform {

namespace {

// The screen of the device a process runs on. It is read from device.ini
// when first asked for, and again when another device became current (a
// test's temporary device) or its device.ini changed, so one device's turns
// never show on another.
struct ScreenState {
  std::mutex mutex;
  std::string deviceRoot;
  unsigned configWidth = 0;   // what device.ini said when last read
  unsigned configHeight = 0;
  bool known = false;
  ScreenSize size;
  bool panelUp = false;

  // Under the lock.
  void Refresh() {
    Device& device = CurrentDevice();
    const std::string root = device.Root().string();
    const DeviceConfig& config = device.Config();
    if (known && root == deviceRoot && config.screenWidth == configWidth && config.screenHeight == configHeight)
      return;
    configWidth = config.screenWidth;
    configHeight = config.screenHeight;
    size.width = static_cast<int>(std::clamp(config.screenWidth, 1u, 4096u));
    size.height = static_cast<int>(std::clamp(config.screenHeight, 1u, 4096u));
    panelUp = false;
    deviceRoot = root;
    known = true;
  }
};

ScreenState& State() {
  static ScreenState* state = new ScreenState;
  return *state;
}

Rect WorkAreaOf(const ScreenSize& s) {
  return {0, kNavigationBarHeight, s.width, std::max(kNavigationBarHeight, s.height - kMenuBarHeight)};
}

void TellTopLevelWindows(uintptr_t what) { SendMessage(kBroadcast, WM_SETTINGCHANGE, what, 0); }

}  // namespace

ScreenSize GetScreenSize() {
  ScreenState& s = State();
  std::lock_guard lock(s.mutex);
  s.Refresh();
  return s.size;
}

Rect GetWorkArea() { return WorkAreaOf(GetScreenSize()); }

bool RotateScreen(Orientation orientation) {
  {
    ScreenState& s = State();
    std::lock_guard lock(s.mutex);
    s.Refresh();
    const int longSide = std::max(s.size.width, s.size.height);
    const int shortSide = std::min(s.size.width, s.size.height);
    const ScreenSize wanted = orientation == Orientation::Portrait ? ScreenSize{shortSide, longSide}
                                                                   : ScreenSize{longSide, shortSide};
    if (wanted.width == s.size.width && wanted.height == s.size.height) return false;
    s.size = wanted;
  }
  TellTopLevelWindows(SETTINGCHANGE_RESET);
  return true;
}

SipInfo SipGetInfo() {
  ScreenSize size;
  bool up = false;
  {
    ScreenState& s = State();
    std::lock_guard lock(s.mutex);
    s.Refresh();
    size = s.size;
    up = s.panelUp;
  }
  const Rect work = WorkAreaOf(size);
  const int panelTop = std::max(work.top, work.bottom - kInputPanelHeight);
  SipInfo info;
  info.sipRect = {0, panelTop, size.width, work.bottom};
  info.flags = up ? SIPF_ON : 0;
  info.visibleDesktop = up ? Rect{0, work.top, size.width, panelTop} : work;
  return info;
}

bool SipShow(bool up) {
  {
    ScreenState& s = State();
    std::lock_guard lock(s.mutex);
    s.Refresh();
    if (s.panelUp == up) return false;
    s.panelUp = up;
  }
  TellTopLevelWindows(SPI_SETSIPINFO);
  return true;
}

bool ShSipPreference(Hwnd hwnd, SipRequest request) {
  if (!IsWindow(hwnd)) return false;
  switch (request) {
    case SipRequest::Up: SipShow(true); break;
    case SipRequest::Down:
    case SipRequest::ForceDown: SipShow(false); break;
    case SipRequest::Unchanged: break;
  }
  return true;
}

}  // namespace platform
