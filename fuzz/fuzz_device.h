#pragma once
// Devices in memory for fuzz targets: nothing touches the host's files, so a
// target runs as fast as the code under test allows.
//
// A FuzzDevice made for one input is current until it goes, and takes
// everything on it (files, registry, journal) with it: no input sees what an
// earlier one left, so every crash replays from its input alone. Get() gives
// instead one device for the whole run, for a target that lays out fixed
// files once; there what an input leaves stays for the next.
//
// Targets write the input into the device's file system and read it back
// through the platform, as the applet would.

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
  FuzzDevice(const FuzzDevice&) = delete;
  FuzzDevice& operator=(const FuzzDevice&) = delete;

  static FuzzDevice& Get() {
    static FuzzDevice device;
    return device;
  }

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
