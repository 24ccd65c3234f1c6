#include "tools/handheld/applet_environment.h"

#include "platform/file.h"
#include "platform/file_finder.h"

namespace handheld {

using platform::WString;
using platform::WStringView;

AppletEnvironment::AppletEnvironment() : folders_(applet::ReadAppletFolders()) {
  platform::FileFinder finder;
  platform::FindData found;
  if (finder.FindFirst(folders_.installed + u"\\RondelRes.*", found) == platform::kErrorSuccess &&
      library_.Load(folders_.installed + u"\\" + found.name) == platform::kErrorSuccess)
    current_.emplace(library_.Handle());
}

std::optional<WString> AppletEnvironment::Text(uint32_t number) const {
  return platform::LoadString(library_.Handle(), number);
}

WString AppletEnvironment::DatabaseFolder(WStringView fileName) const {
  return platform::FileExists(folders_.working + WString(fileName)) ? folders_.working
                                                                     : folders_.installed;
}

}  // namespace handheld
