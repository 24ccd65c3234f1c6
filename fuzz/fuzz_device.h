#pragma once
// A device in memory for one input: current from construction to the end of
// the input, then dropped with everything on it (files, registry, journal).
// No input sees what an earlier one left, so every crash replays from its
// input alone, and a run never touches the host's files. Targets write the
// input into its file system and read it back through the platform, as the
// applet would.

#include <cstdlib>
#include <string>
#include <string_view>

#include "base/text.h"
#include "platform/device.h"
#include "platform/file.h"

namespace fuzz_support {

class FuzzDevice {
 public:
  FuzzDevice() : scoped_(platform::Device::InMemory{}) {}

  // Writes the bytes to a file in the root folder (a plain name).
  void WriteFile(std::string_view name, std::string_view bytes) const {
    if (platform::WriteDeviceFile(u"\\" + platform::FromUtf8(name), std::string(bytes)) !=
        platform::kErrorSuccess)
      std::abort();
  }

 private:
  platform::ScopedDevice scoped_;
};

}  // namespace fuzz_support
