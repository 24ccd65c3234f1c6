#include "tests/support/applet_resources.h"

#include <stdexcept>
#include <string>

namespace test_support {

namespace fs = std::filesystem;

InstalledResources::InstalledResources(TempDevice& device)
    : InstalledResources(device, "resources/RondelRes.res") {}

InstalledResources::InstalledResources(TempDevice& device, std::string_view builtFile) {
  const fs::path built = fs::path(VELM_BINARY_DIR) / builtFile;
  fs::copy_file(built, device.HostPath("Yvra ROM/GPRS Settings/RondelRes.res"),
                fs::copy_options::overwrite_existing);
  if (library_.Load(u"\\Yvra ROM\\GPRS Settings\\RondelRes.res") != platform::kErrorSuccess)
    throw std::runtime_error("cannot load the built resource library: " +
                             library_.LoadError().message);
  current_ = std::make_unique<platform::ScopedResourceSource>(library_.Handle());
}

fs::path SamplePath(std::string_view name) {
  return fs::path(VELM_SOURCE_DIR) / "resources/sample" / name;
}

void InstallSampleFiles(TempDevice& device, std::string_view folder,
                        std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    const fs::path target = device.HostPath(std::string(folder) + "/" + std::string(name));
    fs::create_directories(target.parent_path());
    fs::copy_file(SamplePath(name), target, fs::copy_options::overwrite_existing);
  }
}

}  // namespace test_support
