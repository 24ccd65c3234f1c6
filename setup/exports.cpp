// Kaldset.dll, the bundle's cabinet setup extension: the four entries the
// platform's cabinet installer calls, in its shapes. The installer's
// arguments are not used; the work happens when installation has finished
// (post_install.h). No exception leaves an entry: each answers "continue"
// or "done" whatever happens.

#include <cstdint>

#include "base/export_guard.h"
#include "setup/post_install.h"

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The installer's answers: codeINSTALL_INIT_CONTINUE, codeINSTALL_EXIT_DONE,
// codeUNINSTALL_INIT_CONTINUE, codeUNINSTALL_EXIT_DONE.
constexpr int kContinue = 0;
constexpr int kDone = 0;

}  // namespace

SETUP_EXPORT int Install_Init(void* /*hwndParent*/, int /*fFirstCall*/, int /*fPreviouslyInstalled*/,
                              const char16_t* /*pszInstallDir*/) {
  return kContinue;
}

SETUP_EXPORT int Install_Exit(void* /*hwndParent*/, const char16_t* /*pszInstallDir*/,
                              uint16_t /*cFailedDirs*/, uint16_t /*cFailedFiles*/,
                              uint16_t /*cFailedRegKeys*/, uint16_t /*cFailedRegVals*/,
                              uint16_t /*cFailedShortcuts*/) {
  platform::RunGuarded([] { setup::RunPostInstall(); }, [] {});
  return kDone;
}

SETUP_EXPORT int Uninstall_Init(void* /*hwndParent*/, const char16_t* /*pszInstallDir*/) {
  return kContinue;
}

SETUP_EXPORT int Uninstall_Exit(void* /*hwndParent*/) { return kDone; }
