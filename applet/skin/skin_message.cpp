#include "applet/skin/skin_message.h"

#include "platform/journal.h"

namespace applet {

platform::WString PictureCreationMessage(int width, int height, int bitCount) {
  return platform::Format(u"Erreur \u00e0 la cr\u00e9ation du DIB\n cx=%i,cy=%i,bitCount=%i",
                          {static_cast<long long>(width), static_cast<long long>(height),
                           static_cast<long long>(bitCount)});
}

platform::WString AlphaBlendMessage(int code) {
  return platform::Format(u"Erreur AlphaBlend %i", {static_cast<long long>(code)});
}

void ShowSkinMessage(platform::WStringView text) {
  platform::JournalEvent("message box \"" + platform::ToUtf8(text) + "\" (dismissed)");
}

}  // namespace applet
