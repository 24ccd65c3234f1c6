#include "applet/shell/operator_dialog_window.h"

#include "applet/shell/operator_dialog.h"
#include "platform/journal.h"
#include "platform/message_box_types.h"

namespace applet {

int ShowOperatorDialog(COperatorDialog& dialog) {
  platform::JournalEvent(std::string("operator dialog to be shown") +
                         (dialog.startAtPlaceholder ? " (starting at the placeholder operator)" : "") +
                         ": no window system, ends as cancelled");
  return platform::mb::kIdCancel;
}

}  // namespace applet
