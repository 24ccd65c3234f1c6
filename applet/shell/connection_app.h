#pragma once
// The library's application object: it lives while the library is loaded.
// Its start-up moves the customisation files into the working folder, loads
// the resource library and keeps it as the library's resource source, takes
// the application's name from it, and registers the applet with the control
// panel; without a resource library the start-up fails and the library does
// not load. Its shut-down gives the resource source back and frees the
// resource library.
//
// Registry: HKEY_LOCAL_MACHINE "\ControlPanel\ORLO_VELM", "Group" = 2
// (REG_DWORD), written at every start-up; failures are ignored.

#include <cstdint>

#include "applet/shell/settings_store.h"
#include "base/text.h"

namespace applet {

class CConnectionApp {
 public:
  static constexpr char16_t kCompanyKey[] = u"ORLO";
  static constexpr char16_t kControlPanelKey[] = u"\\ControlPanel";
  static constexpr char16_t kRegistrationKey[] = u"ORLO_VELM";
  static constexpr char16_t kGroupValue[] = u"Group";
  static constexpr uint32_t kGroup = 2;
  // The framework's help command (ID_HELP) and what it starts.
  static constexpr uint32_t kHelpCommand = 57670;
  static constexpr char16_t kHelpProgram[] = u"peghelp.exe";
  static constexpr char16_t kHelpTopic[] = u"file:velm.htm#Main_Contents";

  CConnectionApp();
  CConnectionApp(const CConnectionApp&) = delete;
  CConnectionApp& operator=(const CConnectionApp&) = delete;

  // False when the resource library cannot be loaded.
  bool InitInstance();
  void ExitInstance();

  // Handles the commands the application object owns; true when handled.
  bool OnCommand(uint32_t command);
  void OnHelp();

  // The resource library the library's entries work with.
  const platform::ResourceHandle& Resources() const { return settings_.ResourceLibrary(); }
  const platform::WString& AppName() const { return appName_; }
  // The company key under which the framework keeps application settings.
  const platform::WString& RegistryKey() const { return registryKey_; }

 private:
  CSettingsStore settings_;
  platform::WString appName_;
  platform::WString registryKey_;
};

}  // namespace applet
