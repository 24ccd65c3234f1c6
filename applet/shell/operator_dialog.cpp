#include "applet/shell/operator_dialog.h"

#include "applet/shell/applet_data.h"
#include "applet/shell/applet_message.h"
#include "applet/shell/operator_dialog_window.h"
#include "applet/shell/sim_identity.h"
#include "platform/windows/message_box.h"
#include "platform/windows/window_messages.h"

namespace applet {

using platform::WString;

COperatorDialog::COperatorDialog() = default;

int COperatorDialog::DoModal() { return ShowOperatorDialog(*this); }

void COperatorDialog::DetectOperator(bool boot) {
  // The interactive detection pushes what it finds into the dialog's
  // controls; without the dialog's window there is nothing to update.
  if (!boot) return;

  WString imsi;
  // An unreadable SIM is only reported to someone in front of the dialog;
  // every other failure passes in silence in both modes.
  if (ReadSimIdentity(imsi) != SimReadResult::Read) return;

  const WString code = HomeNetworkCode(imsi);
  if (code == settings_.CurrentRecord().homeNetworkNumber) {
    // Configured for this SIM already; only a registry reset since the last
    // apply lost the platform's side of it.
    if (settings_.HardReset() != CSettingsStore::kSettingsApplied) settings_.Apply();
    return;
  }
  ConfigureForNewSim(code);
}

void COperatorDialog::ConfigureForNewSim(const WString& homeNetworkCode) {
  OperatorDatabase& operators = SharedAppletData().Operators();
  const WString found = operators.FindByHomeNetwork(homeNetworkCode);
  if (found.empty()) {
    if (ShowAppletMessage(kOperatorNotFoundString, platform::MB_ICONQUESTION | platform::MB_YESNO) !=
        platform::IDYES)
      return;
    startAtPlaceholder = true;
    DoModal();
    return;
  }

  operatorText = found;
  int32_t code = 0;
  operators.CountryOf(found, countryText, code);
  if (settings_.LoadOperatorSettings(countryText, operatorText)) {
    settings_.CurrentRecord().homeNetworkNumber = homeNetworkCode;
    settings_.Apply();
    settingsChanged = false;
    settings_.Load();
  }
}

}  // namespace applet
