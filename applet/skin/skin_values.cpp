#include "applet/skin/skin_values.h"

#include <algorithm>
#include <array>

#include "applet/device/number_tokens.h"
#include "applet/device/sectioned_text_reader.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

struct FormatName {
  WStringView name;
  uint32_t flag;
};

constexpr FormatName kFormatNames[] = {
    {u"LEFT", text_format::kLeft},
    {u"TOP", text_format::kTop},
    {u"CENTER", text_format::kCenter},
    {u"RIGHT", text_format::kRight},
    {u"VCENTER", text_format::kVCenter},
    {u"BOTTOM", text_format::kBottom},
    {u"WORDBREAK", text_format::kWordBreak},
    {u"SINGLELINE", text_format::kSingleLine},
    {u"EXTERNALLEADING", text_format::kExternalLeading},
    {u"NOPREFIX", text_format::kNoPrefix},
};

constexpr WStringView kFormatSeparators = u"+,|& ";

}  // namespace

bool ParseSkinPair(WStringView text, SkinPoint& out) {
  out = SkinPoint{};
  if (text.empty() || text.size() >= kMaxPairTextLength) return false;
  const auto v = ParseNumberTokens<2>(text);
  out = SkinPoint{v[0], v[1]};
  return true;
}

bool ParseSkinRect(WStringView text, SkinRect& out) {
  out = SkinRect{};
  if (text.empty() || text.size() >= kMaxPairTextLength) return false;
  const auto v = ParseNumberTokens<4>(text);
  out = SkinRect{v[0], v[1], v[2], v[3]};
  return true;
}

bool ParseSkinColour(WStringView text, SkinColour& out) {
  return SectionedTextReader::ParseRgb(text, out);
}

uint32_t ParseTextFormat(WStringView text, std::vector<WString>* unknownNames) {
  if (text.size() >= kMaxTextFormatLength) return 0;
  uint32_t flags = 0;
  size_t i = 0;
  while (i < text.size()) {
    i = text.find_first_not_of(kFormatSeparators, i);
    if (i == WStringView::npos) break;
    size_t end = text.find_first_of(kFormatSeparators, i);
    if (end == WStringView::npos) end = text.size();
    const WStringView name = text.substr(i, end - i);
    auto it = std::find_if(std::begin(kFormatNames), std::end(kFormatNames),
                           [&](const FormatName& f) { return f.name == name; });
    if (it != std::end(kFormatNames))
      flags |= it->flag;
    else if (unknownNames != nullptr)
      unknownNames->emplace_back(name);
    i = end;
  }
  return flags;
}

}  // namespace applet
