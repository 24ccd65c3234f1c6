#include "launcher/boot_launcher.h"

#include "platform/module.h"

namespace launcher {

namespace {

using EntryFunction = int (*)();

}  // namespace

const char* EntryFor(platform::WStringView commandLine) {
  return commandLine.find(kDebugSwitch) == platform::WStringView::npos ? kBootEntry : kDebugEntry;
}

bool CVELMautoApp::InitInstance() {
  platform::Module applet;
  if (applet.Load(kAppletLibrary) != platform::kErrorSuccess) return false;
  if (auto entry = applet.ExportAs<EntryFunction>(EntryFor(commandLine_))) entry();
  applet.Free();
  return false;
}

}  // namespace launcher
