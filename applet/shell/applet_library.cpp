#include "applet/shell/applet_library.h"

#include <memory>
#include <optional>

#include "applet/shell/connection_app.h"
#include "applet/shell/control_panel.h"
#include "applet/shell/operator_dialog.h"
#include "applet/shell/single_instance.h"
#include "applet/shell/stress_tool_guard.h"
#include "platform/resource_library.h"

namespace applet {

namespace {

std::unique_ptr<CConnectionApp>& App() {
  static std::unique_ptr<CConnectionApp> app;
  return app;
}

// The library's resource source for the length of an entry.
class EntryState {
 public:
  EntryState() {
    if (App()) current_.emplace(App()->Resources());
  }

 private:
  std::optional<platform::ScopedResourceSource> current_;
};

}  // namespace

bool AttachLibrary() {
  // The start-up makes the library's resources current for the library;
  // the host that loaded it keeps its own.
  platform::ScopedResourceSource host(platform::CurrentResourceSource());
  auto app = std::make_unique<CConnectionApp>();
  if (!app->InitInstance()) {
    app->ExitInstance();
    return false;
  }
  RegisterSingleInstanceMessage();
  App() = std::move(app);
  return true;
}

void DetachLibrary() {
  platform::ScopedResourceSource host(platform::CurrentResourceSource());
  ReleaseApplets();
  ForgetSingleInstanceMessage();
  if (App()) App()->ExitInstance();
  App().reset();
}

CConnectionApp* TheApp() { return App().get(); }

int32_t CPlAppletEntry(uint32_t message, intptr_t lParam1, intptr_t lParam2) {
  EntryState state;
  return ControlPanelMessage(message, lParam1, lParam2);
}

int OnBootEntry() {
  EntryState state;
  COperatorDialog dialog;
  SingleInstance instance;
  if (instance.AnotherCopyRuns()) return 0;
  if (!StressToolRuns()) {
    dialog.Settings().Load();
    dialog.DetectOperator(/*boot=*/true);
  }
  return 0;
}

int OnDebugEntry() {
  EntryState state;
  COperatorDialog dialog;
  SingleInstance instance;
  if (!instance.AnotherCopyRuns()) dialog.DoModal();
  return 0;
}

}  // namespace applet
