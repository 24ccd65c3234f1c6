#pragma once
// How a connection record keeps its login name and password in the
// document: DES in CBC mode with an all-zero initialisation vector under
// one fixed key, written as lowercase hexadecimal.
//
// Encoding a text: it is converted to the device's ANSI code page; the
// buffer is L bytes, L being the converted length plus 8 rounded down to a
// multiple of 8 (so 0 to 7 bytes give 8, 8 to 15 give 16); it is filled
// with 0xAA, then takes the converted text and, where it fits, a
// terminating zero; it is encrypted; each byte becomes two lowercase hex
// digits, high nibble first, so the result has 2 * L characters.
//
// Decoding: L is half the text's length rounded up to a multiple of 8; the
// buffer is filled with 0xAA; each pair of characters becomes one byte
// (hex digits of either case, any other character counts as 0); the buffer
// is decrypted and the text is what precedes its first zero byte, widened
// from the ANSI code page.

#include "base/text.h"

namespace applet {

class CredentialCipher {
 public:
  // The key, narrowed to eight bytes through the ANSI code page. ASCII, so
  // that every code page narrows it alike.
  static constexpr char16_t kKey[] = u"Vq7#mK2p";
  static constexpr size_t kBlockSize = 8;
  static constexpr uint8_t kFill = 0xAA;

  static platform::WString Encode(platform::WStringView text);
  static platform::WString Decode(platform::WStringView hex);
};

}  // namespace applet
