#include "applet/skin/skin_description.h"

#include <mutex>

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

struct StickyColours {
  std::mutex mutex;
  SkinColour textColour = 0;
  SkinColour textColourDown = 0;
};

StickyColours& Sticky() {
  static StickyColours colours;
  return colours;
}

constexpr WStringView kTextColourDownKey = u"TextColorDown";

}  // namespace

bool SplitSkinPath(WStringView path, WString& folder, WString& fileName) {
  const size_t cut = path.rfind(u'\\');
  if (cut == WStringView::npos || cut + 1 == path.size()) return false;
  folder = WString(path.substr(0, cut + 1));
  fileName = WString(path.substr(cut + 1));
  return true;
}

bool SkinDescription::Open(WStringView folder, WStringView fileName) {
  folder_ = WString(folder);
  return reader_.Open(folder_ + WString(fileName));
}

void SkinDescription::Note(WStringView section, WStringView key, WStringView message) {
  if (diagnostics_ != nullptr) diagnostics_->Note(section, key, message);
}

std::vector<WString> SkinDescription::Sections() {
  std::vector<WString> names;
  reader_.ListSections(names);
  return names;
}

SkinPoint SkinDescription::WindowSize() {
  const SkinPoint size = Pair(kGeneralSection, u"size");
  if (size.x != 0 && size.y != 0) return size;
  if (Has(kGeneralSection, u"size")) Note(kGeneralSection, u"size", u"a size needs two non-zero numbers");
  return kDefaultSize;
}

bool SkinDescription::Lookup(WStringView section, WStringView key, WString& value, WStringView defaultValue) {
  if (diagnostics_ != nullptr) diagnostics_->Asked(section, key);
  return reader_.GetString(section, key, value, defaultValue);
}

WString SkinDescription::Text(WStringView section, WStringView key, WStringView defaultValue) {
  WString value;
  Lookup(section, key, value, defaultValue);
  return value;
}

bool SkinDescription::Has(WStringView section, WStringView key) {
  WString value;
  return Lookup(section, key, value, u"");
}

int32_t SkinDescription::Int(WStringView section, WStringView key, int32_t defaultValue) {
  WString value;
  if (!Lookup(section, key, value, u"")) return defaultValue;
  if (!SectionedTextReader::IsDigitText(value)) {
    Note(section, key, u"not a whole number of digits 0-9");
    return defaultValue;
  }
  return platform::TextToLong(value);
}

SkinPoint SkinDescription::Pair(WStringView section, WStringView key, bool* present) {
  WString value;
  SkinPoint point;
  bool ok = false;
  if (Lookup(section, key, value, u"")) {
    ok = ParseSkinPair(value, point);
    if (!ok) Note(section, key, u"empty or too long for a pair");
  }
  if (present != nullptr) *present = ok;
  return point;
}

SkinRect SkinDescription::Rect(WStringView section, WStringView key, bool* present) {
  WString value;
  SkinRect rect;
  bool ok = false;
  if (Lookup(section, key, value, u"")) {
    ok = ParseSkinRect(value, rect);
    if (!ok) Note(section, key, u"empty or too long for a rectangle");
  }
  if (present != nullptr) *present = ok;
  return rect;
}

SkinColour SkinDescription::Colour(WStringView section, WStringView key, SkinColour defaultValue) {
  WString value;
  if (!Lookup(section, key, value, u"")) return defaultValue;
  SkinColour colour = defaultValue;
  if (!ParseSkinColour(value, colour)) Note(section, key, u"empty colour");
  return colour;
}

uint32_t SkinDescription::TextFormat(WStringView section, WStringView key) {
  WString value;
  if (!Lookup(section, key, value, u"")) return 0;
  if (value.size() >= kMaxTextFormatLength) {
    Note(section, key, u"too long for a text format");
    return 0;
  }
  std::vector<WString> unknown;
  const uint32_t flags = ParseTextFormat(value, &unknown);
  for (const WString& name : unknown) Note(section, key, u"unknown text-format name " + name);
  return flags;
}

SkinColour SkinDescription::StickyColour(WStringView section, WStringView key) {
  StickyColours& sticky = Sticky();
  std::lock_guard lock(sticky.mutex);
  SkinColour& remembered =
      SectionedTextReader::KeysEqual(key, kTextColourDownKey) ? sticky.textColourDown : sticky.textColour;
  remembered = Colour(section, key, remembered);
  return remembered;
}

void SkinDescription::ResetStickyColours() {
  StickyColours& sticky = Sticky();
  std::lock_guard lock(sticky.mutex);
  sticky.textColour = 0;
  sticky.textColourDown = 0;
}

WString SkinDescription::PicturePath(WStringView fileValue) const {
  if (fileValue.find(u'\\') != WStringView::npos) return WString(fileValue);
  return folder_ + WString(fileValue);
}

}  // namespace applet
