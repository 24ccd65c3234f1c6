#pragma once
// The applet's resource library of a device, loaded from its installed
// folder and made the current resource source for the object's lifetime,
// so that the tools see the texts the applet shows. A device without a
// usable library gets a warning on stderr, and the texts are then empty.

#include <optional>

#include "platform/resource_library.h"
#include "platform/text.h"

namespace handheld {

class DeviceResources {
 public:
  explicit DeviceResources(const platform::WString& installedFolder);
  DeviceResources(const DeviceResources&) = delete;
  DeviceResources& operator=(const DeviceResources&) = delete;

  // A text of the library, or empty.
  platform::WString Text(uint32_t number) const;

 private:
  platform::ResourceLibrary library_;
  std::optional<platform::ScopedResourceSource> current_;
};

}  // namespace handheld
