// Feeds arbitrary bytes to the dialog template reader; whatever parses is
// made into a (hidden) dialog with its controls and destroyed again, so odd
// classes, styles, sizes and fonts reach the window system too.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/windows/dialog.h"
#include "platform/windows/dialog_template.h"
#include "platform/windows/window.h"
#include "platform/windows/window_styles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::DialogTemplateError error;
  auto parsed = platform::ParseDialogTemplate(std::span(data, size), &error);
  if (!parsed) {
    if (error.status == platform::DialogTemplateStatus::Ok || error.offset > size) std::abort();
    return 0;
  }
  if (parsed->items.size() > platform::kMaxDialogControls) std::abort();
  parsed->style &= ~platform::WS_VISIBLE;
  const platform::Hwnd dialog = platform::CreateDialogIndirectParam(*parsed, platform::kNoWindow, nullptr, 0);
  if (dialog) platform::DestroyWindow(dialog);
  return 0;
}
