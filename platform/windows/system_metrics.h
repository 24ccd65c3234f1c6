#pragma once
// The handheld's system metrics (GetSystemMetrics) for its screen, as a
// Pocket PC with a 240 x 320 display at 96 dots per inch reports them; the
// screen's own width and height follow the screen as it turns.
//
//   index                       value
//   SM_CXSCREEN, SM_CYSCREEN    the screen, now
//   SM_CXVSCROLL, SM_CYHSCROLL  13   width of a vertical / height of a horizontal scroll bar
//   SM_CYVSCROLL, SM_CXHSCROLL  13   the arrows at their ends
//   SM_CYVTHUMB, SM_CXHTHUMB    13
//   SM_CYCAPTION                26   a caption band
//   SM_CXBORDER, SM_CYBORDER    1    a border line
//   SM_CXICON, SM_CYICON        32
//   SM_CYMENU                   26   the menu bar (and the navigation bar)
//   SM_CXFULLSCREEN, SM_CYFULLSCREEN  the working area's size
//   SM_CXSMICON, SM_CYSMICON    16
// Any other index gives 0, as on the handheld.

namespace platform {

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;

int GetSystemMetrics(int index);

}  // namespace platform
