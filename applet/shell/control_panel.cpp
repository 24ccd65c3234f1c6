#include "applet/shell/control_panel.h"

#include <cstring>
#include <memory>
#include <vector>

#include "applet/shell/connection_applet.h"

namespace applet {

using platform::WString;

namespace {

std::vector<std::unique_ptr<CConnectionApplet>>& Applets() {
  static std::vector<std::unique_ptr<CConnectionApplet>> applets;
  return applets;
}

CConnectionApplet* AppletAt(intptr_t index) {
  auto& applets = Applets();
  if (index < 0 || static_cast<size_t>(index) >= applets.size()) return nullptr;
  return applets[static_cast<size_t>(index)].get();
}

// Copies text with its terminator into a field of N characters, cutting it
// to N - 1 characters without splitting a surrogate pair.
template <size_t N>
void CopyField(char16_t (&field)[N], const WString& text) {
  size_t length = text.size() < N ? text.size() : N - 1;
  if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
    --length;
  std::memcpy(field, text.data(), length * sizeof(char16_t));
  field[length] = u'\0';
}

void FillNewCplInfo(CConnectionApplet& applet, NewCplInfo& info) {
  info.dwSize = sizeof(NewCplInfo);
  info.lData = 0;
  info.hIcon = applet.GetIcon();
  CopyField(info.szName, applet.GetName());
  CopyField(info.szInfo, applet.GetInfo());
}

}  // namespace

int32_t ControlPanelMessage(uint32_t message, intptr_t lParam1, intptr_t lParam2) {
  switch (message) {
    case kCplInit:
      Applets().push_back(std::make_unique<CConnectionApplet>());
      return 1;
    case kCplGetCount:
      return static_cast<int32_t>(Applets().size());
    case kCplSelect:
    case kCplDblClk:
      if (CConnectionApplet* applet = AppletAt(lParam1)) applet->Run();
      return 0;
    case kCplNewInquire:
      if (CConnectionApplet* applet = AppletAt(lParam1); applet != nullptr && lParam2 != 0)
        FillNewCplInfo(*applet, *reinterpret_cast<NewCplInfo*>(lParam2));
      return 0;
    case kCplIdName:
      if (lParam2 != 0)
        std::memcpy(reinterpret_cast<void*>(lParam2), kAppletIdName, sizeof(kAppletIdName));
      return 0;
    default:
      return 0;
  }
}

void ReleaseApplets() { Applets().clear(); }

}  // namespace applet
