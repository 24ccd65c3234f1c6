#pragma once
// The applet's resource library as the build makes it, installed in a test
// device's installed folder and made the current resource source, so that
// code reading the applet's texts sees the shipped ones. Tests that use it
// depend on the velm_resource_library target.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "platform/resource_library.h"
#include "tests/support/temp_device.h"

namespace test_support {

class InstalledResources {
 public:
  explicit InstalledResources(TempDevice& device);
  InstalledResources(const InstalledResources&) = delete;
  InstalledResources& operator=(const InstalledResources&) = delete;

 private:
  platform::ResourceLibrary library_;
  std::unique_ptr<platform::ScopedResourceSource> current_;
};

// A file of the sample installation data in resources/sample.
std::filesystem::path SamplePath(std::string_view name);
// Copies sample files into a device folder given with forward slashes.
void InstallSampleFiles(TempDevice& device, std::string_view folder,
                        std::initializer_list<std::string_view> names);

}  // namespace test_support
