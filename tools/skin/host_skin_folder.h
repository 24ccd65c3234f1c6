#pragma once
// A skin description on the host, made readable through the platform: a
// throw-away device whose file system holds a copy of the description's
// folder (its files, not its subfolders), current while the object lives.
// The engine then reads the description and its pictures by device path,
// exactly as on a device.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/device.h"
#include "base/text.h"

namespace skin_tool {

class HostSkinFolder {
 public:
  // The device folder the copy lives in.
  static constexpr char16_t kDeviceFolder[] = u"\\Skin\\";

  HostSkinFolder() = default;
  ~HostSkinFolder();
  HostSkinFolder(const HostSkinFolder&) = delete;
  HostSkinFolder& operator=(const HostSkinFolder&) = delete;

  // Copies the folder of description and makes the device current. False
  // with *why when the description is not a readable file or the copy fails.
  bool Open(const std::filesystem::path& description, std::string* why);

  platform::WString Folder() const { return kDeviceFolder; }
  const platform::WString& FileName() const { return fileName_; }

 private:
  std::filesystem::path root_;
  std::unique_ptr<platform::ScopedDevice> device_;
  platform::WString fileName_;
};

}  // namespace skin_tool
