#include "applet/device/dialog_helpers.h"

#include "applet/device/orientation_dialog.h"
#include "platform/pen.h"
#include "platform/windows/paint.h"
#include "platform/windows/screen.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace applet {

using platform::Hwnd;
using platform::Rect;

namespace {

constexpr platform::ColorRef kHeaderTextColor = platform::Rgb(0, 0, 156);
constexpr int kHeaderLineGap = 5;

// The screen y of the dialog's client area: its window's bottom less the
// client height (a dialog has no frame below its client area).
int ClientTop(const COrientationDialog& dialog) {
  return dialog.GetWindowRect().bottom - dialog.GetClientRect().Height();
}

}  // namespace

bool DrawDialogHeader(COrientationDialog& dialog, int id) {
  const Hwnd hwnd = dialog.GetSafeHwnd();
  const Hwnd control = dialog.GetDlgItem(id);
  platform::PaintStruct ps;
  platform::DeviceContext* dc = platform::BeginPaint(hwnd, &ps);
  if (!control || dc == nullptr) {
    // Without a header the dialog paints as usual.
    platform::EndPaint(hwnd, &ps);
    return true;
  }
  const int top = ClientTop(dialog);
  const Rect window = dialog.GetWindowRect();
  Rect header;
  platform::GetWindowRect(control, &header);
  platform::ShowWindow(control, platform::SW_HIDE);
  const platform::WString text = platform::GetWindowText(control);

  const auto oldPen = dc->SelectPen(platform::Pen::Create(platform::kPsSolid, 1, platform::Rgb(0, 0, 0)));
  const int lineY = header.bottom - top - dialog.HeaderOffset() + kHeaderLineGap;
  dc->MoveTo({window.left, lineY});
  dc->LineTo({window.right, lineY});

  platform::LogFont bold = dc->CurrentFont()->Logical();
  bold.weight = platform::kFwBold;
  const auto oldFont = dc->SelectFont(platform::Font::Create(bold));
  dc->SetTextColor(kHeaderTextColor);
  Rect textRect = platform::OffsetRect(header, 0, -(top + dialog.HeaderOffset()));
  dc->DrawText(text, textRect, platform::kDtWordBreak | platform::kDtNoPrefix);

  dc->SelectPen(oldPen);
  if (oldFont) dc->SelectFont(oldFont);
  platform::EndPaint(hwnd, &ps);
  return true;
}

bool RequestInputPanel(Hwnd window, bool up, bool force) {
  if (!IsScreenPortrait()) return false;
  const platform::SipRequest request =
      up ? platform::SipRequest::Up : (force ? platform::SipRequest::ForceDown : platform::SipRequest::Down);
  return platform::ShSipPreference(window, request);
}

bool IsTextEmpty(Hwnd control) { return platform::GetWindowText(control).empty(); }

void WidenCancelButton(COrientationDialog& dialog, int id) {
  const Hwnd control = dialog.GetDlgItem(id);
  const Hwnd cancel = dialog.GetDlgItem(platform::IDCANCEL);
  const Hwnd ok = dialog.GetDlgItem(platform::IDOK);
  if (!control || !cancel || !ok) return;
  Rect from;
  Rect to;
  platform::GetWindowRect(control, &from);
  platform::GetWindowRect(ok, &to);
  platform::ShowWindow(control, platform::SW_HIDE);
  platform::ShowWindow(ok, platform::SW_HIDE);
  const int top = ClientTop(dialog);
  platform::MoveWindow(cancel, from.left, from.top - top, to.right - from.left, to.bottom - from.top, true);
}

}  // namespace applet
