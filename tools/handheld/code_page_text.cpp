#include "tools/handheld/code_page_text.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "platform/code_page.h"

namespace handheld {

using platform::WString;
using platform::WStringView;

namespace {

// Latin letters with the accents of the source script's usual romanisation,
// then the same reduced to ASCII for code pages without those accents.
constexpr char kToLatin[] = "Any-Latin; NFC";
constexpr char kToAscii[] = "Any-Latin; Latin-ASCII; NFC";

using TransliteratorPtr = std::unique_ptr<icu::Transliterator>;

TransliteratorPtr MakeTransliterator(const char* id) {
  UErrorCode status = U_ZERO_ERROR;
  TransliteratorPtr t(icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
  if (U_FAILURE(status)) return nullptr;
  return t;
}

std::optional<WString> Transform(TransliteratorPtr& t, const char* id, WStringView text) {
  if (t == nullptr) t = MakeTransliterator(id);
  if (t == nullptr) return std::nullopt;
  icu::UnicodeString s(text.data(), static_cast<int32_t>(text.size()));
  t->transliterate(s);
  return WString(reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<size_t>(s.length()));
}

}  // namespace

struct CodePageText::Transliterators {
  TransliteratorPtr toLatin;
  TransliteratorPtr toAscii;
};

CodePageText::CodePageText(unsigned codePage)
    : codePage_(codePage), transliterators_(std::make_shared<Transliterators>()) {}

std::optional<std::string> CodePageText::Encode(WStringView text) const {
  bool lossy = false;
  std::string bytes = platform::WideToMultiByte(codePage_, text, &lossy);
  if (lossy) return std::nullopt;
  return bytes;
}

std::optional<WString> CodePageText::Transliterate(WStringView text) const {
  for (auto [t, id] : {std::pair{&transliterators_->toLatin, kToLatin}, std::pair{&transliterators_->toAscii, kToAscii}}) {
    std::optional<WString> latin = Transform(*t, id, text);
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
