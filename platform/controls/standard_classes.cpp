#include <mutex>

#include "platform/controls/control_procedures.h"
#include "platform/controls/controls.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/dialog.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"

namespace platform {

void EnsureStandardClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct Entry {
      const char16_t* name;
      WindowProcedure procedure;
    };
    const Entry entries[] = {
        {kButtonClass, controls::ButtonProcedure},     {kStaticClass, controls::StaticProcedure},
        {kEditClass, controls::EditProcedure},         {kListBoxClass, controls::ListBoxProcedure},
        {kComboBoxClass, controls::ComboBoxProcedure}, {kScrollBarClass, controls::ScrollBarProcedure},
        {kProgressClass, controls::ProgressProcedure},
    };
    for (const Entry& e : entries) {
      WindowClass cls;
      cls.name = e.name;
      cls.procedure = e.procedure;
      RegisterClass(cls);
    }
    WindowClass dialog;
    dialog.name = kDialogClass;
    dialog.procedure = DefDlgProc;
    dialog.background = Brush::CreateSolid(GetSysColor(COLOR_WINDOW));
    dialog.extraBytes = kDialogExtraBytes;
    RegisterClass(dialog);
  });
}

}  // namespace platform
