#pragma once
// The handheld's screen as a picture: the desktop, every shown top-level
// window from the bottom of the z-order up (its frame and caption, then its
// client area with its controls as they painted themselves), the dropped
// list of a combo box, the input panel when it is up, and the shell's two
// bars: the navigation bar on top (the Start button, the front window's
// title, the clock, and "ok" for a full-screen dialog) and the menu bar
// below (the input panel button).
//
// The picture reads what the windows last painted; take it when the
// threads have settled (automation::Settle), so no window paints meanwhile.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/dib_section.h"

namespace platform {

// A 24-bit bitmap of the screen's size; null only when no bitmap can be
// made.
std::shared_ptr<DibSection> RenderScreen();
// Renders the screen into a PNG file.
bool SaveScreenshot(const std::filesystem::path& path, std::string* why = nullptr);

}  // namespace platform
