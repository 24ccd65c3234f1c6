#pragma once
// The applet's two data folders, as the installation records them in the
// registry: the installed folder with the files that came with the handheld
// and the working folder in the persistent store for the applet's document
// and customised databases. Databases are looked for in the working folder
// first and in the installed folder when they cannot be opened there.

#include "base/text.h"

namespace applet {

// The key the installation creates (the applet only opens it).
inline constexpr char16_t kSettingsKey[] = u"SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings";
inline constexpr char16_t kInstalledFolderValue[] = u"installedFolder";
inline constexpr char16_t kWorkingFolderValue[] = u"workingFolder";
inline constexpr char16_t kDefaultInstalledFolder[] = u"\\Yvra ROM\\GPRS Settings";
inline constexpr char16_t kDefaultWorkingFolder[] = u"\\Yvra File Store\\GPRS Settings";
// Folder values are read into buffers of this many characters, terminator
// included; a longer value counts as absent.
inline constexpr size_t kFolderValueCapacity = 260;

struct AppletFolders {
  platform::WString installed;  // each ends with a backslash
  platform::WString working;
};

// Reads both folders from the registry; an absent, empty, over-long or
// unreadable value gives the default. Creates nothing.
AppletFolders ReadAppletFolders();

}  // namespace applet
