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
  // Another compiled resource file of the build (relative to the build
  // folder), such as the gallery's, which holds the applet's resources too.
  InstalledResources(TempDevice& device, std::string_view builtFile);
  InstalledResources(const InstalledResources&) = delete;
  InstalledResources& operator=(const InstalledResources&) = delete;

 private:
  platform::ResourceLibrary library_;
  std::unique_ptr<platform::ScopedResourceSource> current_;
};

// The gallery's resources: the applet's library and the gallery's page in
// portrait (100) and landscape (101). Tests that use them depend on the
// gallery_resources target.
inline constexpr std::string_view kGalleryResources = "tools/handheld/gallery/gallery.res";

// A file of the sample installation data in resources/sample.
std::filesystem::path SamplePath(std::string_view name);
// Copies sample files into a device folder given with forward slashes.
void InstallSampleFiles(TempDevice& device, std::string_view folder,
                        std::initializer_list<std::string_view> names);

}  // namespace test_support
