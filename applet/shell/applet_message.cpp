#include "applet/shell/applet_message.h"

#include "platform/resource_library.h"
#include "platform/windows/message_box.h"

namespace applet {

using platform::WString;
using platform::WStringView;

WString InsertArgument(WStringView text, WStringView insert) {
  constexpr WStringView kMarker = u"%1";
  WString out;
  size_t start = 0;
  for (size_t at = text.find(kMarker); at != WStringView::npos; at = text.find(kMarker, start)) {
    out.append(text.substr(start, at - start));
    out.append(insert);
    start = at + kMarker.size();
  }
  out.append(text.substr(start));
  return out;
}

int ShowAppletMessage(uint32_t textNumber, uint32_t type, WStringView insert) {
  const WString text = InsertArgument(platform::LoadString(textNumber).value_or(WString()), insert);
  const WString caption = platform::LoadString(kApplicationNameString).value_or(WString());
  return platform::MessageBox(platform::kNoWindow, text, caption, type);
}

}  // namespace applet
