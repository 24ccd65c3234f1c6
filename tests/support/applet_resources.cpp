#include "tests/support/applet_resources.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace test_support {

namespace fs = std::filesystem;

namespace {

std::string ReadHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

InstalledResources::InstalledResources(TempDevice& device)
    : InstalledResources(device, "resources/RondelRes.res") {}

InstalledResources::InstalledResources(TempDevice& device, std::string_view builtFile) {
  const fs::path built = fs::path(VELM_BINARY_DIR) / builtFile;
  device.WriteFile("Yvra ROM/GPRS Settings/RondelRes.res", ReadHostFile(built));
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
  for (std::string_view name : names)
    device.WriteFile(std::string(folder) + "/" + std::string(name), ReadHostFile(SamplePath(name)));
}

}  // namespace test_support
