#include "platform/windows/system_colors.h"

namespace platform {

ColorRef GetSysColor(int index) {
  switch (index) {
    case COLOR_SCROLLBAR: return Rgb(222, 222, 222);
    case COLOR_BACKGROUND: return Rgb(255, 255, 255);
    case COLOR_ACTIVECAPTION: return Rgb(0, 36, 128);
    case COLOR_INACTIVECAPTION: return Rgb(128, 128, 128);
    case COLOR_WINDOW: return Rgb(255, 255, 255);
    case COLOR_WINDOWFRAME: return Rgb(0, 0, 0);
    case COLOR_WINDOWTEXT: return Rgb(0, 0, 0);
    case COLOR_CAPTIONTEXT: return Rgb(255, 255, 255);
    case COLOR_HIGHLIGHT: return Rgb(0, 36, 128);
    case COLOR_HIGHLIGHTTEXT: return Rgb(255, 255, 255);
    case COLOR_BTNFACE: return Rgb(255, 255, 255);
    case COLOR_BTNSHADOW: return Rgb(128, 128, 128);
    case COLOR_GRAYTEXT: return Rgb(128, 128, 128);
    case COLOR_BTNTEXT: return Rgb(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return Rgb(255, 255, 255);
    case COLOR_STATIC: return Rgb(255, 255, 255);
    case COLOR_STATICTEXT: return Rgb(0, 0, 0);
    default: return Rgb(0, 0, 0);
  }
}

}  // namespace platform
