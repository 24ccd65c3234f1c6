#pragma once
// One control-panel applet of the library: its name, description and icon
// for the control panel, and Run, which opens the operator dialog. The
// applet loads the resource library into its own settings store around
// each of these.

#include "applet/shell/settings_store.h"
#include "base/text.h"
#include "platform/icon_handles.h"

namespace applet {

class CConnectionApplet {
 public:
  static constexpr uint32_t kNameString = 1;
  static constexpr uint32_t kInfoString = 2;
  static constexpr size_t kIconIndex = 0;

  CConnectionApplet() = default;
  virtual ~CConnectionApplet() = default;
  CConnectionApplet(const CConnectionApplet&) = delete;
  CConnectionApplet& operator=(const CConnectionApplet&) = delete;

  virtual platform::WString GetName();
  virtual platform::WString GetInfo();
  // A handle of the large image of the resource library's first icon (the
  // caller destroys it); 0 when the library has no icon.
  virtual platform::IconHandle GetIcon();
  virtual void Run();

 private:
  platform::WString ResourceText(uint32_t number);

  CSettingsStore settings_;
};

}  // namespace applet
