#include "applet/skin/skin_load_context.h"

namespace applet {

using platform::WString;
using platform::WStringView;

const SkinImageFile* SkinLoadContext::Image(WStringView fileValue, WStringView section, WStringView key) {
  if (fileValue.empty()) return nullptr;
  auto [it, added] = images_.try_emplace(WString(fileValue));
  if (added) {
    auto image = std::make_unique<SkinImageFile>();
    ++reads_;
    if (image->Load(description_.PicturePath(fileValue)) == picture_result::kOk) {
      it->second = std::move(image);
    } else {
      description_.Note(section, key, u"the picture file " + WString(fileValue) + u" does not load");
    }
  }
  return it->second.get();
}

const SkinFont* SkinLoadContext::FindFont(WStringView name) const {
  for (const auto& font : fonts_)
    if (font->Name() == name) return font.get();
  return nullptr;
}

}  // namespace applet
