#include "applet/skin/skin_font.h"

#include <algorithm>

namespace applet {

platform::WStringView SkinTextPart(platform::WStringView text, int length) {
  if (length < 0) return text.substr(0, text.find(u'\0'));
  return text.substr(0, std::min(text.size(), static_cast<size_t>(length)));
}

}  // namespace applet
