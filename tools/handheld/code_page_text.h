#pragma once
// Text for an 8-bit file in a device's ANSI code page: whether a text can
// be written there as it is, Latin letters for a name that cannot (through
// ICU transliteration), and an escaped form that keeps any text in a
// comment.

#include <memory>
#include <optional>
#include <string>

#include "base/text.h"

namespace handheld {

class CodePageText {
 public:
  explicit CodePageText(unsigned codePage);
  unsigned CodePage() const { return codePage_; }

  // The bytes of text, or nullopt when some character has no byte there.
  std::optional<std::string> Encode(platform::WStringView text) const;

  // The text in Latin letters that the code page holds: first with the
  // accents the code page has, else in plain ASCII. nullopt when neither
  // gives a text the code page holds, or gives an empty one.
  std::optional<platform::WString> Transliterate(platform::WStringView text) const;

  // The bytes of text with every character the code page lacks, and every
  // control character, written as \uXXXX (\UXXXXXXXX beyond the basic
  // plane): for comments that keep an original text whatever it is.
  std::string EncodeEscaped(platform::WStringView text) const;

 private:
  unsigned codePage_;
  // ICU's transliterators, made on first use: building one takes longer
  // than transliterating every name of a provider list.
  struct Transliterators;
  std::shared_ptr<Transliterators> transliterators_;
};

}  // namespace handheld
