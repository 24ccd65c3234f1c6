#include "platform/windows/system_metrics.h"

#include "platform/windows/screen.h"

namespace platform {

namespace {

constexpr int kScrollBarSize = 13;
constexpr int kCaptionHeight = 26;
constexpr int kBorder = 1;

}  // namespace

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return GetScreenSize().width;
    case SM_CYSCREEN: return GetScreenSize().height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return kScrollBarSize;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CYMENU: return kMenuBarHeight;
    case SM_CXFULLSCREEN: return GetWorkArea().Width();
    case SM_CYFULLSCREEN: return GetWorkArea().Height();
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    default: return 0;
  }
}

}  // namespace platform
