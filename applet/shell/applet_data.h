#pragma once
// What every settings store of the library shares: the operator database
// "GPRSope.inf", the SMS-centre database "OPE.inf" and the applet's
// connection document "VELM.DAT". They live as long as the library; each
// store's Load empties and reloads them. Every entry of the library runs
// modally on the host's user-interface thread, so one store at a time uses
// them and they need no lock.

#include <optional>

#include "applet/connections/operator_database.h"
#include "applet/connections/sms_center_database.h"
#include "applet/shell/velm_ras_param_array_doc.h"

namespace applet {

class AppletData {
 public:
  OperatorDatabase& Operators() { return *operators_; }
  SmsCenterDatabase& SmsCenters() { return *smsCenters_; }
  CVELMRASparamArrayDoc& Document() { return document_; }

  // Makes both databases anew, empty, so that a load that finds no file
  // leaves nothing of an earlier load behind. References to them stay valid.
  void ForgetDatabases() {
    operators_.emplace();
    smsCenters_.emplace();
  }

 private:
  std::optional<OperatorDatabase> operators_{std::in_place};
  std::optional<SmsCenterDatabase> smsCenters_{std::in_place};
  CVELMRASparamArrayDoc document_;
};

// The library's one instance, made on first use.
AppletData& SharedAppletData();

}  // namespace applet
