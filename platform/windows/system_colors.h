#pragma once
// The handheld's system colours (GetSysColor) in its default scheme: black
// text on white windows and dialogs, dark blue highlight and captions, grey
// for what is disabled. The controls and the screen renderer draw with them.

#include "platform/drawing_types.h"

namespace platform {

inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_STATIC = 25;
inline constexpr int COLOR_STATICTEXT = 26;

// Unknown indexes give black.
ColorRef GetSysColor(int index);

}  // namespace platform
