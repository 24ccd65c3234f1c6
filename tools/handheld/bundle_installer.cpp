#include "tools/handheld/bundle_installer.h"

#include <algorithm>
#include <cstdint>

#include "platform/file.h"
#include "platform/journal.h"
#include "platform/module.h"

namespace handheld {

using platform::WString;

namespace {

using InstallInit = int (*)(void*, int, int, const char16_t*);
using InstallExit = int (*)(void*, const char16_t*, uint16_t, uint16_t, uint16_t, uint16_t, uint16_t);
using UninstallInit = int (*)(void*, const char16_t*);
using UninstallExit = int (*)(void*);

// The answers that let the installer go on: codeINSTALL_INIT_CONTINUE and
// codeUNINSTALL_INIT_CONTINUE.
constexpr int kContinue = 0;

bool Fail(std::string* why, const std::string& message) {
  if (why) *why = message;
  return false;
}

void Note(const std::string& event) { platform::JournalEvent("installer: " + event); }

std::string Answer(const char* entry, int answer, const char* meaning) {
  return std::string(entry) + " answered " + std::to_string(answer) +
         (answer == 0 ? std::string(" (") + meaning + ")" : "");
}

// The manifest writes device paths with forward slashes.
WString DevicePath(const InstallItem& item) {
  WString path = platform::FromUtf8(item.devicePath);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  return path;
}

bool IsSetupExtension(const InstallItem& item) {
  return platform::EqualsNoCase(DevicePath(item), kSetupExtension);
}

std::vector<InstallItem> BundleItems(const std::vector<InstallItem>& items) {
  std::vector<InstallItem> bundle;
  std::copy_if(items.begin(), items.end(), std::back_inserter(bundle),
               [](const InstallItem& item) { return item.bundle; });
  return bundle;
}

bool CopyNoted(const std::vector<InstallItem>& items, std::string* why) {
  for (const InstallItem& item : items) {
    if (!CopyInstallItems({item}, why)) return false;
    Note("copied " + platform::ToUtf8(DevicePath(item)));
  }
  return true;
}

}  // namespace

bool InstallBundle(const std::vector<InstallItem>& items, std::string* why) {
  std::vector<InstallItem> bundle = BundleItems(items);
  std::vector<InstallItem> extension;
  std::copy_if(bundle.begin(), bundle.end(), std::back_inserter(extension), IsSetupExtension);
  std::erase_if(bundle, IsSetupExtension);
  if (!CopyNoted(extension, why)) return false;

  platform::Module setup;
  if (setup.Load(kSetupExtension) != platform::kErrorSuccess) {
    Note("no setup extension " + platform::ToUtf8(kSetupExtension));
    return CopyNoted(bundle, why);
  }
  if (auto init = setup.ExportAs<InstallInit>("Install_Init")) {
    const int answer = init(nullptr, /*fFirstCall=*/1, /*fPreviouslyInstalled=*/0, kInstallFolder);
    Note(Answer("Install_Init", answer, "continue"));
    if (answer != kContinue) return Fail(why, "the setup extension's Install_Init stopped the installation");
  }
  if (!CopyNoted(bundle, why)) return false;
  if (auto exit = setup.ExportAs<InstallExit>("Install_Exit"))
    Note(Answer("Install_Exit", exit(nullptr, kInstallFolder, 0, 0, 0, 0, 0), "done"));
  return true;
}

bool UninstallBundle(const std::vector<InstallItem>& items, std::string* why) {
  std::vector<InstallItem> bundle = BundleItems(items);
  std::erase_if(bundle, IsSetupExtension);

  platform::Module setup;
  const bool hasExtension = setup.Load(kSetupExtension) == platform::kErrorSuccess;
  if (!hasExtension) Note("no setup extension " + platform::ToUtf8(kSetupExtension));
  if (auto init = hasExtension ? setup.ExportAs<UninstallInit>("Uninstall_Init") : nullptr) {
    const int answer = init(nullptr, kInstallFolder);
    Note(Answer("Uninstall_Init", answer, "continue"));
    if (answer != kContinue) return Fail(why, "the setup extension's Uninstall_Init stopped the removal");
  }
  for (const InstallItem& item : bundle)
    if (platform::DeleteDeviceFile(DevicePath(item)) == platform::kErrorSuccess)
      Note("deleted " + platform::ToUtf8(DevicePath(item)));
  if (auto exit = hasExtension ? setup.ExportAs<UninstallExit>("Uninstall_Exit") : nullptr)
    Note(Answer("Uninstall_Exit", exit(nullptr), "done"));
  setup.Free();
  if (platform::DeleteDeviceFile(kSetupExtension) == platform::kErrorSuccess)
    Note("deleted " + platform::ToUtf8(kSetupExtension));
  return true;
}

}  // namespace handheld
