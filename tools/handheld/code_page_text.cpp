#include "tools/handheld/code_page_text.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <cstdio>
#include <memory>

#include "platform/code_page.h"

namespace handheld {

using platform::WString;
using platform::WStringView;

namespace {

// Latin letters with the accents of the source script's usual romanisation,
// then the same reduced to ASCII for code pages without those accents.
constexpr char kToLatin[] = "Any-Latin; NFC";
constexpr char kToAscii[] = "Any-Latin; Latin-ASCII; NFC";

std::optional<WString> Transform(const char* id, WStringView text) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> t(
      icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
  if (U_FAILURE(status) || t == nullptr) return std::nullopt;
  icu::UnicodeString s(text.data(), static_cast<int32_t>(text.size()));
  t->transliterate(s);
  return WString(reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<size_t>(s.length()));
}

}  // namespace

std::optional<std::string> CodePageText::Encode(WStringView text) const {
  bool lossy = false;
  std::string bytes = platform::WideToMultiByte(codePage_, text, &lossy);
  if (lossy) return std::nullopt;
  return bytes;
}

std::optional<WString> CodePageText::Transliterate(WStringView text) const {
  for (const char* id : {kToLatin, kToAscii}) {
    std::optional<WString> latin = Transform(id, text);
    if (latin && !latin->empty() && Encode(*latin)) return latin;
  }
  return std::nullopt;
}

std::string CodePageText::EncodeEscaped(WStringView text) const {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    char32_t c = 0;
    U16_NEXT(text.data(), i, text.size(), c);
    // Control characters would end or split the line.
    const bool control = c < 0x20 || c == 0x7F;
    if (std::optional<std::string> bytes = Encode(text.substr(start, i - start)); bytes && !control) {
      out += *bytes;
      continue;
    }
    char escape[16];
    std::snprintf(escape, sizeof escape, c > 0xFFFF ? "\\U%08X" : "\\u%04X", static_cast<unsigned>(c));
    out += escape;
  }
  return out;
}

}  // namespace handheld
