#pragma once
// VELMauto, the boot launcher: the platform starts it after every reset. It
// loads the applet library, calls its boot entry "OnBoot" (or "OnDebug"
// when the command line holds "/DEBUG" anywhere, letter case as written),
// waits for it to return, frees the library and ends. No window, no
// message loop; a missing library or entry passes in silence.

#include "base/text.h"

namespace launcher {

inline constexpr char16_t kAppletLibrary[] = u"\\Windows\\VELM.CPL";
inline constexpr char kBootEntry[] = "OnBoot";
inline constexpr char kDebugEntry[] = "OnDebug";
inline constexpr char16_t kDebugSwitch[] = u"/DEBUG";

// The entry the command line selects.
const char* EntryFor(platform::WStringView commandLine);

// The launcher's application object: its start-up does all the work and
// then says that the application is not to continue.
class CVELMautoApp {
 public:
  explicit CVELMautoApp(platform::WString commandLine) : commandLine_(std::move(commandLine)) {}

  // Always false: the program ends after the start-up.
  bool InitInstance();

 private:
  platform::WString commandLine_;
};

}  // namespace launcher
