#include "tools/handheld/device_resources.h"

#include <iostream>

#include "platform/file_finder.h"

namespace handheld {

DeviceResources::DeviceResources(const platform::WString& installedFolder) {
  platform::FileFinder finder;
  platform::FindData found;
  if (finder.FindFirst(installedFolder + u"\\RondelRes.*", found) != platform::kErrorSuccess ||
      library_.Load(installedFolder + u"\\" + found.name) != platform::kErrorSuccess) {
    std::cerr << "handheld: warning: no usable resource library in " << platform::ToUtf8(installedFolder)
              << "; the list texts are empty\n";
    return;
  }
  current_.emplace(library_.Handle());
}

platform::WString DeviceResources::Text(uint32_t number) const {
  if (!current_) return platform::WString();
  return platform::LoadString(platform::CurrentResourceSource(), number).value_or(platform::WString());
}

}  // namespace handheld
