#pragma once
// Text as the handheld keeps it: UTF-16 in memory. Host paths and terminal
// output are UTF-8 and converted at the edge.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

using WString = std::u16string;
using WStringView = std::u16string_view;

// UTF-8 <-> UTF-16. Ill-formed input is replaced by U+FFFD, never dropped.
WString FromUtf8(std::string_view utf8);
std::string ToUtf8(WStringView text);

// One argument of Format: an integer or a text.
using FormatArg = std::variant<long long, unsigned long long, WStringView>;

// A small printf for UTF-16 texts. Understands %% and the conversions
// d, i, u, x, X, s (with "%S" as an alias of s), with the flags '-' and '0'
// and a decimal width, and the length modifiers l, ll and h, which are
// accepted and ignored. A missing argument formats as nothing; extra
// arguments are ignored. The system's own formats ("%i", "%s (%i)",
// "%i.%i.%i.%i", "%02d", "SmsCenter%i") all go through here.
WString Format(WStringView format, std::initializer_list<FormatArg> args);

// Convenience forms of the formats used across the system.
WString FormatInt(long long value);                                  // "%i"
WString FormatNameCount(WStringView name, long long count);          // "%s (%i)"
WString FormatDotted(long long a, long long b, long long c, long long d);  // "%i.%i.%i.%i"
WString FormatTwoDigits(long long value);                            // "%02d"

// The platform's decimal text-to-long conversion (wcstol with base 10):
// leading white space and one sign are accepted, conversion stops at the
// first non-digit, no digits give 0; results beyond the 32-bit range are
// clamped to it, as on the handheld where long has 32 bits.
int32_t TextToLong(WStringView text);

// Letter case through ICU's default (root) rules.
WString ToUpper(WStringView text);
WString ToLower(WStringView text);

// Case-insensitive comparison by full case folding; <0, 0 or >0.
int CompareNoCase(WStringView a, WStringView b);
bool EqualsNoCase(WStringView a, WStringView b);
// The full case folding itself: two texts are EqualsNoCase exactly when
// their foldings are equal, so a folded text serves as a lookup key.
WString FoldCase(WStringView text);

// Whether text (below 2 GiB) is well-formed UTF-8; if not, *badAt receives
// the offset of the first ill-formed sequence.
bool IsWellFormedUtf8(std::string_view text, size_t* badAt = nullptr);

// White space of the C library's space class.
bool IsSpace(char16_t c);

}  // namespace platform
