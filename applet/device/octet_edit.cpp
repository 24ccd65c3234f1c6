#include "applet/device/octet_edit.h"

#include "platform/controls/controls.h"
#include "platform/resource_library.h"
#include "platform/windows/message_box.h"
#include "platform/windows/window.h"

namespace applet {

VELM_IMPLEMENT_DYNAMIC(COctetEdit, framework::CEdit)

namespace {

void SelectAllInView(const framework::CWnd& field) {
  field.SendMessage(platform::EM_SETSEL, 0, -1);
  field.SendMessage(platform::EM_SCROLLCARET);
}

}  // namespace

void COctetEdit::OnChar(uint32_t, uint32_t, uint32_t) {
  Default();
  const platform::WString text = GetWindowText();
  if (next_ == nullptr || static_cast<int>(text.size()) != GetLimitText()) return;
  if (platform::TextToLong(text) > kMaxOctet) {
    SelectAllInView(*this);
    const platform::Hwnd top = platform::GetTopLevelWindow(GetSafeHwnd());
    platform::MessageBox(top, platform::LoadString(kOctetRangeMessage).value_or(u""), platform::GetWindowText(top),
                         platform::MB_OK);
    SetWindowText(u"0");
    SelectAllInView(*this);
    return;
  }
  next_->SetFocus();
  SelectAllInView(*next_);
}

}  // namespace applet
