#pragma once
// The operator dialog: the applet's main window, where the user picks a
// country and an operator, lets the applet detect the operator from the
// SIM, and confirms to apply. Each entry of the library makes one with its
// own settings store, and the boot-time configuration uses one without
// showing it.
//
// What lives here is the dialog's state and its detection in boot mode:
// after a reset, DetectOperator(true) reads the SIM, and when the SIM is of
// another operator than the stored record, finds that operator in the
// operator database, fills the current record and applies it. The same SIM
// changes nothing, unless "HardReset" says the registry was reset since the
// last apply, when the stored record is applied again. An operator that is
// not in the database makes the dialog ask whether the user wants to choose
// one, and show itself on Yes.
//
// The window itself (DoModal, see operator_dialog_window.h) and the
// detection in interactive mode, which updates the dialog's lists as it
// goes, come with the window system.

#include <cstdint>

#include "applet/shell/settings_store.h"
#include "base/text.h"

namespace applet {

class COperatorDialog {
 public:
  static constexpr uint16_t kPortraitTemplate = 8321;
  static constexpr uint16_t kLandscapeTemplate = 9062;
  // The SIM cannot be read (stop, OK).
  static constexpr uint32_t kSimUnreadableString = 65081;
  // The SIM's operator is not in the list: choose it yourself? (question,
  // Yes/No).
  static constexpr uint32_t kOperatorNotFoundString = 65086;

  // Constructs the settings store, which reads the registry.
  COperatorDialog();
  COperatorDialog(const COperatorDialog&) = delete;
  COperatorDialog& operator=(const COperatorDialog&) = delete;

  CSettingsStore& Settings() { return settings_; }

  // Shows the dialog modally; the answer is the command that ended it.
  int DoModal();

  // Configures the device for the SIM's operator (boot true); see above.
  // Interactive detection (boot false) belongs to the shown dialog and does
  // nothing without its window.
  void DetectOperator(bool boot);

  platform::WString countryText;
  platform::WString operatorText;
  // Set by the boot-time detection before it shows the dialog, so that the
  // dialog starts with the placeholder operator selected.
  bool startAtPlaceholder = false;
  bool initialising = false;
  // Something changed that OK must apply.
  bool settingsChanged = true;
  // Raised while the configuration-menu dialog is open.
  int childDepth = 0;

 private:
  void ConfigureForNewSim(const platform::WString& homeNetworkCode);

  CSettingsStore settings_;
};

}  // namespace applet
