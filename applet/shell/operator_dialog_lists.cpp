#include "applet/shell/operator_dialog_lists.h"

#include "platform/resource_library.h"

namespace applet {

void UseDialogListTexts(OperatorDatabase& database) {
  database.SetListTexts(
      platform::LoadString(OperatorDatabase::kNoCountryString).value_or(platform::WString()),
      platform::LoadString(kPlaceholderOperatorString).value_or(platform::WString()));
}

}  // namespace applet
