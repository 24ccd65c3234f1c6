#include "applet/shell/applet_folders.h"

#include <array>

#include "platform/registry.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

WString ReadFolder(const platform::RegistryKey& key, WStringView name, WStringView fallback) {
  std::array<char16_t, kFolderValueCapacity> buffer{};
  uint32_t type = 0;
  uint32_t size = sizeof(buffer);
  WString folder;
  if (key.IsOpen() &&
      key.QueryValue(name, &type, buffer.data(), &size) == platform::kErrorSuccess &&
      type == platform::kRegSz) {
    const WStringView text(buffer.data(), size / sizeof(char16_t));
    folder = text.substr(0, text.find(u'\0'));
  }
  if (folder.empty()) folder = fallback;
  if (folder.back() != u'\\') folder += u'\\';
  return folder;
}

}  // namespace

AppletFolders ReadAppletFolders() {
  platform::RegistryKey key;
  key.Open(platform::Hive::CurrentUser, kSettingsKey);
  return {ReadFolder(key, kInstalledFolderValue, kDefaultInstalledFolder),
          ReadFolder(key, kWorkingFolderValue, kDefaultWorkingFolder)};
}

}  // namespace applet
