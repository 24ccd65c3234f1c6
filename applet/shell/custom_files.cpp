#include "applet/shell/custom_files.h"

#include <vector>

#include "platform/file.h"
#include "platform/file_finder.h"

namespace applet {

using platform::WString;

void MoveCustomFiles(platform::WStringView workingFolder) {
  const WString folder = WString(kCustomFolder) + u"\\";
  std::vector<WString> copied;
  platform::FileFinder finder;
  platform::FindData found;
  for (platform::ErrorCode e = finder.FindFirst(folder + u"*.*", found); e == platform::kErrorSuccess;
       e = finder.FindNext(found)) {
    if ((found.attributes & platform::kAttributeDirectory) != 0) continue;
    if (platform::CopyDeviceFile(folder + found.name, WString(workingFolder) + found.name,
                                 /*failIfExists=*/false) == platform::kErrorSuccess)
      copied.push_back(found.name);
  }
  finder.Close();
  for (const WString& name : copied) platform::DeleteDeviceFile(folder + name);
  platform::RemoveDeviceDirectory(kCustomFolder);
}

}  // namespace applet
