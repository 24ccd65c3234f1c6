// The exported names of the applet library, installed as \Windows\VELM.CPL:
// CPlApplet for the control panel, OnBoot and OnDebug for the boot
// launcher, and DllMain, which the platform's loader calls when the library
// comes into a process and when it leaves. Nothing else leaves the library
// (exports.map), and no exception crosses these functions: whatever escapes
// an entry is journalled and the entry answers as when it does nothing.

#include <cstdint>
#include <string>

#include "applet/shell/applet_library.h"
#include "base/export_guard.h"
#include "platform/journal.h"
#include "platform/module.h"

#define VELM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

auto NoteFailure(const char* entry) {
  return [entry] { platform::JournalEvent(std::string("VELM.CPL: ") + entry + " ended by an unexpected failure"); };
}

}  // namespace

VELM_EXPORT int DllMain(void* /*module*/, uint32_t reason, void* /*reserved*/) {
  return platform::CallGuarded(
      0,
      [reason] {
        if (reason == platform::kDllProcessAttach) return applet::AttachLibrary() ? 1 : 0;
        if (reason == platform::kDllProcessDetach) applet::DetachLibrary();
        return 1;
      },
      NoteFailure("DllMain"));
}

VELM_EXPORT int32_t CPlApplet(void* /*hwndCPl*/, uint32_t uMsg, intptr_t lParam1, intptr_t lParam2) {
  return platform::CallGuarded<int32_t>(
      0, [&] { return applet::CPlAppletEntry(uMsg, lParam1, lParam2); }, NoteFailure("CPlApplet"));
}

VELM_EXPORT int OnBoot(void) {
  return platform::CallGuarded(0, [] { return applet::OnBootEntry(); }, NoteFailure("OnBoot"));
}

VELM_EXPORT int OnDebug(void) {
  return platform::CallGuarded(0, [] { return applet::OnDebugEntry(); }, NoteFailure("OnDebug"));
}
