#include "base/text.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <climits>
#include <vector>

namespace platform {

WString FromUtf8(std::string_view utf8) {
  WString out;
  out.reserve(utf8.size());
  size_t i = 0;
  const size_t n = utf8.size();
  while (i < n) {
    UChar32 c;
    // U8_NEXT_OR_FFFD replaces ill-formed sequences with U+FFFD.
    int32_t pos = static_cast<int32_t>(i);
    U8_NEXT_OR_FFFD(reinterpret_cast<const uint8_t*>(utf8.data()), pos,
                    static_cast<int32_t>(n), c);
    i = static_cast<size_t>(pos);
    if (c <= 0xFFFF) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(static_cast<char16_t>(U16_LEAD(c)));
      out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
    }
  }
  return out;
}

std::string ToUtf8(WStringView text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    UChar32 c;
    int32_t pos = static_cast<int32_t>(i);
    U16_NEXT_OR_FFFD(reinterpret_cast<const UChar*>(text.data()), pos,
                     static_cast<int32_t>(n), c);
    i = static_cast<size_t>(pos);
    uint8_t buf[4];
    int32_t len = 0;
    UBool err = false;
    U8_APPEND(buf, len, 4, c, err);
    (void)err;  // c is a valid code point; U+FFFD replaced any bad input
    out.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(len));
  }
  return out;
}

namespace {

// Wider fields are cut to this, so a format text cannot ask for gigabytes.
constexpr size_t kMaxFieldWidth = 1024;

// How a conversion's text is laid out in its field: the flags and width
// between '%' and the conversion letter.
struct FieldLayout {
  bool leftAlign = false;
  bool zeroPad = false;
  size_t width = 0;
};

void Pad(WString& out, const WString& body, const FieldLayout& layout, bool numeric) {
  if (body.size() >= layout.width) {
    out += body;
    return;
  }
  const size_t fill = layout.width - body.size();
  if (layout.leftAlign) {
    out += body;
    out.append(fill, u' ');
  } else if (layout.zeroPad && numeric) {
    // Zeros go after a sign.
    size_t signLen = (!body.empty() && (body[0] == u'-' || body[0] == u'+')) ? 1 : 0;
    out += body.substr(0, signLen);
    out.append(fill, u'0');
    out += body.substr(signLen);
  } else {
    out.append(fill, u' ');
    out += body;
  }
}

WString Digits(unsigned long long v, unsigned base, bool upper) {
  const char* table = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  WString s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(table[v % base]));
    v /= base;
  } while (v != 0);
  return s;
}

long long AsSigned(const FormatArg& a) {
  if (auto p = std::get_if<long long>(&a)) return *p;
  if (auto p = std::get_if<unsigned long long>(&a)) return static_cast<long long>(*p);
  return 0;
}

unsigned long long AsUnsigned(const FormatArg& a) {
  if (auto p = std::get_if<unsigned long long>(&a)) return *p;
  if (auto p = std::get_if<long long>(&a)) {
    // A negative int printed with %u or %x shows its 32-bit pattern, as the
    // handheld's 32-bit int would.
    if (*p < 0 && *p >= INT32_MIN) return static_cast<uint32_t>(*p);
    return static_cast<unsigned long long>(*p);
  }
  return 0;
}

}  // namespace

WString Format(WStringView format, std::initializer_list<FormatArg> args) {
  WString out;
  auto next = args.begin();
  size_t i = 0;
  while (i < format.size()) {
    char16_t c = format[i++];
    if (c != u'%' || i >= format.size()) {
      out.push_back(c);
      continue;
    }
    if (format[i] == u'%') {
      out.push_back(u'%');
      ++i;
      continue;
    }
    FieldLayout layout;
    for (; i < format.size(); ++i) {
      if (format[i] == u'-') layout.leftAlign = true;
      else if (format[i] == u'0') layout.zeroPad = true;
      else break;
    }
    while (i < format.size() && format[i] >= u'0' && format[i] <= u'9') {
      layout.width = layout.width * 10 + static_cast<size_t>(format[i] - u'0');
      if (layout.width > kMaxFieldWidth) layout.width = kMaxFieldWidth;
      ++i;
    }
    while (i < format.size() && (format[i] == u'l' || format[i] == u'h')) ++i;
    if (i >= format.size()) break;
    char16_t conv = format[i++];
    if (next == args.end()) continue;  // missing argument formats as nothing
    const FormatArg& arg = *next++;
    switch (conv) {
      case u'd':
      case u'i': {
        long long v = AsSigned(arg);
        WString body = v < 0 ? u"-" + Digits(0ULL - static_cast<unsigned long long>(v), 10, false)
                             : Digits(static_cast<unsigned long long>(v), 10, false);
        Pad(out, body, layout, true);
        break;
      }
      case u'u': Pad(out, Digits(AsUnsigned(arg), 10, false), layout, true); break;
      case u'x': Pad(out, Digits(AsUnsigned(arg), 16, false), layout, true); break;
      case u'X': Pad(out, Digits(AsUnsigned(arg), 16, true), layout, true); break;
      case u's':
      case u'S': {
        WString body;
        if (auto p = std::get_if<WStringView>(&arg)) body = WString(*p);
        Pad(out, body, layout, false);
        break;
      }
      default:
        // Unknown conversion: keep it visible rather than guess.
        out.push_back(u'%');
        out.push_back(conv);
        break;
    }
  }
  return out;
}

WString FormatInt(long long value) { return Format(u"%i", {value}); }
WString FormatNameCount(WStringView name, long long count) {
  return Format(u"%s (%i)", {name, count});
}
WString FormatDotted(long long a, long long b, long long c, long long d) {
  return Format(u"%i.%i.%i.%i", {a, b, c, d});
}
WString FormatTwoDigits(long long value) { return Format(u"%02d", {value}); }

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

int32_t TextToLong(WStringView text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  long long value = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > static_cast<long long>(INT32_MAX) + 1) overflow = true;
    if (overflow) value = static_cast<long long>(INT32_MAX) + 1;
  }
  if (negative) {
    value = -value;
    return value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
  }
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

namespace {

template <typename Fn>
WString CaseMap(WStringView text, Fn fn) {
  if (text.empty()) return {};
  WString out(text.size() + 8, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t len = fn(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                   reinterpret_cast<const UChar*>(text.data()),
                   static_cast<int32_t>(text.size()), "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<size_t>(len), u'\0');
    status = U_ZERO_ERROR;
    len = fn(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
             reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
             "", &status);
  }
  if (U_FAILURE(status)) return WString(text);
  out.resize(static_cast<size_t>(len));
  return out;
}

}  // namespace

WString ToUpper(WStringView text) { return CaseMap(text, u_strToUpper); }
WString ToLower(WStringView text) { return CaseMap(text, u_strToLower); }

int CompareNoCase(WStringView a, WStringView b) {
  UErrorCode status = U_ZERO_ERROR;
  int r = u_strCaseCompare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                           reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()),
                           U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return a.compare(b);
  return r;
}

bool EqualsNoCase(WStringView a, WStringView b) { return CompareNoCase(a, b) == 0; }

WString FoldCase(WStringView text) {
  // Full folding may lengthen a text (U+00DF folds to "ss"), at most threefold.
  WString out(text.size() * 3 + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = u_strFoldCase(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                            reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                            U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return WString(text);
  out.resize(static_cast<size_t>(n));
  return out;
}

bool IsWellFormedUtf8(std::string_view text, size_t* badAt) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto n = static_cast<int32_t>(text.size());
  int32_t pos = 0;
  while (pos < n) {
    const int32_t start = pos;
    UChar32 c;
    U8_NEXT(bytes, pos, n, c);
    if (c < 0) {
      if (badAt != nullptr) *badAt = static_cast<size_t>(start);
      return false;
    }
  }
  return true;
}

}  // namespace platform
