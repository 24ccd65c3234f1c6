#pragma once
// What a skin description asks for that the engine silently ignores, found
// by loading it as a window would and watching the load: sections of no or
// an unknown type, keys the engine never reads, a section or key that an
// earlier one of the same name hides, unusable values, fonts named before
// they are declared, state pictures outside their picture file, picture
// files that do not load.

#include <cstddef>
#include <string>
#include <vector>

#include "base/text.h"

namespace skin_tool {

struct Finding {
  size_t line = 0;  // from 1; 0 when the file has no line for it
  std::string section;
  std::string message;
};

// Loads folder + fileName (device paths) and returns the findings in line
// order. False with *why when the description cannot be opened at all.
bool CheckSkin(platform::WStringView folder, platform::WStringView fileName, std::vector<Finding>& findings,
               std::string* why);

// "FILE:LINE: [section] message"
std::string FormatFinding(const std::string& file, const Finding& finding);

}  // namespace skin_tool
