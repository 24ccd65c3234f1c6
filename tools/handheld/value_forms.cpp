#include "tools/handheld/value_forms.h"

#include "applet/connections/operator_database.h"
#include "applet/device/sectioned_text_reader.h"

namespace handheld {

using platform::WStringView;

bool IsDigitText(WStringView text) { return applet::SectionedTextReader::IsDigitText(text); }

bool IsHomeNetworkNumber(WStringView text) {
  return text.size() == applet::OperatorDatabase::kHomeNetworkNumberLength && IsDigitText(text);
}

bool IsDottedAddress(WStringView text) {
  constexpr int kParts = 4;
  constexpr size_t kMaxPartDigits = 3;
  constexpr int kMaxPart = 255;
  int parts = 0;
  size_t start = 0;
  for (;;) {
    const size_t dot = text.find(u'.', start);
    const WStringView part = text.substr(start, dot == WStringView::npos ? WStringView::npos : dot - start);
    if (!IsDigitText(part) || part.size() > kMaxPartDigits || platform::TextToLong(part) > kMaxPart)
      return false;
    ++parts;
    if (dot == WStringView::npos) break;
    start = dot + 1;
  }
  return parts == kParts;
}

}  // namespace handheld
