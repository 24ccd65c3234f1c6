// Feeds arbitrary bytes to the skin description reader as a description:
// every section's type and every value form of the format, read from every
// section, with the sticky colours in play. No input may crash or leak, and
// the typed reads keep their promises.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "applet/skin/skin_description.h"
#include "applet/skin/skin_section_type.h"
#include "fuzz/fuzz_device.h"

namespace {

constexpr size_t kMaxSectionsRead = 32;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz_support::FuzzDevice device;
  device.WriteFile("skin.inf", std::string_view(reinterpret_cast<const char*>(data), size));

  applet::SkinDescription description;
  if (!description.Open(u"\\", u"skin.inf")) std::abort();
  const applet::SkinPoint windowSize = description.WindowSize();
  if (windowSize.x == 0 || windowSize.y == 0) std::abort();

  const auto sections = description.Sections();
  for (size_t i = 0; i < sections.size() && i < kMaxSectionsRead; ++i) {
    const platform::WString& section = sections[i];
    const applet::SkinSectionType type = applet::ParseSkinSectionType(description.Text(section, u"type", u""));
    if (applet::IsSkinFontType(type) && applet::SkinKindCode(type) != 0) std::abort();
    if (description.Int(section, u"show", 1) < 0) std::abort();
    bool present = true;
    const applet::SkinPoint pos = description.Pair(section, u"Pos", &present);
    if (!present && !(pos == applet::SkinPoint{})) std::abort();
    const applet::SkinRect window = description.Rect(section, u"Window", &present);
    if (!present && !(window == applet::SkinRect{})) std::abort();
    description.Colour(section, u"Color", 0x808080);
    description.StickyColour(section, u"TextColor");
    description.StickyColour(section, u"TextColorDown");
    if ((description.TextFormat(section, u"Format") & ~0xA3Fu) != 0) std::abort();
    description.PicturePath(description.Text(section, u"File", u""));
  }
  return 0;
}
