#pragma once
// Drawing a skin description as a window shows it, for skin authors: the
// window picture after the load, optionally with elements disabled or held
// down, and optionally as the screen shows it (reduced to its 16 levels per
// channel by error diffusion).

#include <filesystem>
#include <string>
#include <vector>

#include "applet/skin/skin_dib.h"
#include "base/text.h"

namespace skin_tool {

struct RenderOptions {
  std::vector<platform::WString> disable;  // sections set disabled, in order
  std::vector<platform::WString> press;    // sections held down (pen down at their centre)
  bool display = false;                    // the error-diffused copy
};

// Loads folder + fileName (device paths), applies the options and leaves the
// picture in out. False with *why when the window picture cannot be made or
// an option names no element.
bool RenderSkin(platform::WStringView folder, platform::WStringView fileName, const RenderOptions& options,
                applet::SkinDib& out, std::string* why);

}  // namespace skin_tool
