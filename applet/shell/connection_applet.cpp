#include "applet/shell/connection_applet.h"

#include "applet/shell/operator_dialog.h"
#include "applet/shell/single_instance.h"
#include "applet/shell/stress_tool_guard.h"
#include "platform/resource_library.h"

namespace applet {

using platform::WString;

WString CConnectionApplet::ResourceText(uint32_t number) {
  settings_.LoadResourceLibrary();
  const WString text = platform::LoadString(number).value_or(WString());
  settings_.FreeResourceLibrary();
  return text;
}

WString CConnectionApplet::GetName() { return ResourceText(kNameString); }

WString CConnectionApplet::GetInfo() { return ResourceText(kInfoString); }

platform::IconHandle CConnectionApplet::GetIcon() {
  // The icon is extracted as a large and a small image; the control panel
  // shows the large one. (The extraction's own result counts the icons it
  // made and is no icon.)
  settings_.LoadResourceLibrary();
  auto pair = platform::ExtractIconPair(settings_.ResourceLibrary(), kIconIndex);
  settings_.FreeResourceLibrary();
  if (!pair) return 0;
  return platform::CreateIconHandle(std::move(pair->large));
}

void CConnectionApplet::Run() {
  if (StressToolRuns()) return;
  settings_.LoadResourceLibrary();
  {
    COperatorDialog dialog;
    SingleInstance instance;
    if (!instance.AnotherCopyRuns()) dialog.DoModal();
  }
  settings_.FreeResourceLibrary();
}

}  // namespace applet
