#include "tools/skin/host_skin_folder.h"

#include <stdlib.h>

#include <system_error>

namespace skin_tool {

namespace fs = std::filesystem;

HostSkinFolder::~HostSkinFolder() {
  device_.reset();
  if (!root_.empty()) {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

bool HostSkinFolder::Open(const fs::path& description, std::string* why) {
  std::error_code ec;
  if (!fs::is_regular_file(description, ec)) {
    if (why) *why = description.string() + ": no such file";
    return false;
  }
  std::string pattern = (fs::temp_directory_path() / "velm-skin-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    if (why) *why = "cannot make a temporary folder";
    return false;
  }
  root_ = pattern;
  const fs::path skin = root_ / "fs" / "Skin";
  fs::create_directories(skin, ec);
  const fs::path source = fs::absolute(description, ec).parent_path();
  for (const auto& entry : fs::directory_iterator(source, ec)) {
    if (!entry.is_regular_file()) continue;
    fs::copy_file(entry.path(), skin / entry.path().filename(), ec);
    if (ec) {
      if (why) *why = "cannot copy " + entry.path().string() + ": " + ec.message();
      return false;
    }
  }
  if (ec) {
    if (why) *why = source.string() + ": " + ec.message();
    return false;
  }
  fileName_ = platform::FromUtf8(description.filename().string());
  device_ = std::make_unique<platform::ScopedDevice>(root_);
  return true;
}

}  // namespace skin_tool
