#include "applet/shell/operator_dialog_window.h"

#include "applet/shell/operator_dialog.h"
#include "platform/journal.h"
#include "platform/windows/window_messages.h"

namespace applet {

int ShowOperatorDialog(COperatorDialog& dialog) {
  platform::JournalEvent(std::string("operator dialog to be shown") +
                         (dialog.startAtPlaceholder ? " (starting at the placeholder operator)" : "") +
                         ": no window for it yet, ends as cancelled");
  return platform::IDCANCEL;
}

}  // namespace applet
