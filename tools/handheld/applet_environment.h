#pragma once
// What the applet sees on a device, for the commands that run its code: its
// two data folders from the registry and its resource library, loaded from
// the installed folder and made the current resource source for the
// object's lifetime (the operator lists, the default modem's name and the
// MMS texts come from it).

#include <cstdint>
#include <optional>
#include <string>

#include "applet/shell/applet_folders.h"
#include "base/text.h"
#include "platform/resource_library.h"

namespace handheld {

class AppletEnvironment {
 public:
  AppletEnvironment();
  AppletEnvironment(const AppletEnvironment&) = delete;
  AppletEnvironment& operator=(const AppletEnvironment&) = delete;

  const applet::AppletFolders& Folders() const { return folders_; }
  bool HasResources() const { return current_.has_value(); }
  std::optional<platform::WString> Text(uint32_t number) const;

  // The folder a database is read from: the working folder when the file
  // is there, else the installed folder.
  platform::WString DatabaseFolder(platform::WStringView fileName) const;

 private:
  applet::AppletFolders folders_;
  platform::ResourceLibrary library_;
  std::optional<platform::ScopedResourceSource> current_;
};

}  // namespace handheld
