#include "setup/post_install.h"

#include <array>

#include "base/clock.h"
#include "platform/broadcast.h"
#include "platform/file.h"
#include "platform/module.h"
#include "platform/outside_windows.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/windows/window_messages.h"

namespace setup {

using platform::WString;
using platform::WStringView;

namespace {

using CameraFunction = int (*)(uint32_t* present);

void StopToolkitLoader() {
  uintptr_t window = platform::FindOutsideWindow(kLoaderClass, kLoaderTitle);
  for (int look = 1; window == 0 && look < kLoaderLooks; ++look) {
    platform::Sleep(kLoaderLookIntervalMs);
    window = platform::FindOutsideWindow(kLoaderClass, kLoaderTitle);
  }
  if (window != 0) platform::PostToOutsideWindow(window, platform::WM_QUIT, 0, 0);
}

void RemoveToolkitShortcuts() {
  platform::RegistryKey key;
  if (key.Open(platform::Hive::LocalMachine, kToolkitKey) != platform::kErrorSuccess) return;
  std::array<char16_t, kShortcutBufferBytes / sizeof(char16_t)> buffer{};
  uint32_t type = 0;
  uint32_t size = kShortcutBufferBytes;
  if (key.QueryValue(kShortcutValue, &type, buffer.data(), &size) != platform::kErrorSuccess ||
      type != platform::kRegSz)
    return;
  const WStringView stored(buffer.data(), size / sizeof(char16_t));
  const WString name(stored.substr(0, stored.find(u'\0')));
  const WString programs = platform::Format(u"%s%s%s", {WStringView(kProgramsFolder), WStringView(name),
                                                       WStringView(kShortcutExtension)});
  if (platform::DeleteDeviceFile(programs) != platform::kErrorSuccess) return;
  platform::DeleteDeviceFile(platform::Format(
      u"%s%s%s", {WStringView(kStartMenuFolder), WStringView(name), WStringView(kShortcutExtension)}));
}

void RunRegistryFixWithoutCamera() {
  platform::Module library;
  if (library.Load(kDeviceLibrary) != platform::kErrorSuccess) return;
  auto cameraPresent = library.ExportAs<CameraFunction>(kCameraExport);
  uint32_t present = 0;
  if (cameraPresent != nullptr && cameraPresent(&present) != 0 && present != 1)
    platform::StartProcess(kRegistryFix, u"");
}

}  // namespace

void RunPostInstall() {
  platform::BroadcastMessage(platform::Delivery::Sent, platform::WM_SETTINGCHANGE,
                             kSettingChangeWParam, 0);
  StopToolkitLoader();
  RemoveToolkitShortcuts();
  platform::DeleteDeviceFile(kHelpShortcut);
  platform::StartProcess(kSettingsProgram, u"");
  RunRegistryFixWithoutCamera();
}

}  // namespace setup
