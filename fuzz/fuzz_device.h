#pragma once
// A throw-away emulated device for fuzz targets: one per process, created
// on first use and removed at exit. Targets write each input into its file
// system and read it back through the platform, as the applet would.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/device.h"

namespace fuzz_support {

class FuzzDevice {
 public:
  static FuzzDevice& Get() {
    static FuzzDevice device;
    return device;
  }

  const std::filesystem::path& Root() const { return root_; }

  // Writes the bytes to a file below fs/ (a plain name).
  void WriteFile(std::string_view name, std::string_view bytes) const {
    std::ofstream out(root_ / "fs" / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  FuzzDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velm-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    root_ = pattern;
    std::filesystem::create_directories(root_ / "fs");
    scoped_ = std::make_unique<platform::ScopedDevice>(root_);
  }
  ~FuzzDevice() {
    scoped_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  std::filesystem::path root_;
  std::unique_ptr<platform::ScopedDevice> scoped_;
};

}  // namespace fuzz_support
