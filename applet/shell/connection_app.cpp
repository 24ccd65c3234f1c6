#include "applet/shell/connection_app.h"

#include "applet/shell/applet_message.h"
#include "applet/shell/custom_files.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace applet {

CConnectionApp::CConnectionApp() = default;

bool CConnectionApp::InitInstance() {
  MoveCustomFiles(settings_.WorkingFolder());
  if (!settings_.LoadResourceLibrary()) return false;
  appName_ = platform::LoadString(kApplicationNameString).value_or(platform::WString());
  registryKey_ = kCompanyKey;

  platform::RegistryKey controlPanel;
  if (controlPanel.Open(platform::Hive::LocalMachine, kControlPanelKey) == platform::kErrorSuccess) {
    platform::RegistryKey registration;
    if (registration.Create(controlPanel, kRegistrationKey) == platform::kErrorSuccess)
      registration.SetDword(kGroupValue, kGroup);
  }
  return true;
}

void CConnectionApp::ExitInstance() { settings_.FreeResourceLibrary(); }

bool CConnectionApp::OnCommand(uint32_t command) {
  if (command != kHelpCommand) return false;
  OnHelp();
  return true;
}

void CConnectionApp::OnHelp() { platform::StartProcess(kHelpProgram, kHelpTopic); }

}  // namespace applet
