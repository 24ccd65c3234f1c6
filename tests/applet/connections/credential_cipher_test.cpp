#include "applet/connections/credential_cipher.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;

// Known answers for the key "Vq7#mK2p", computed with an independent DES
// (OpenSSL) over the buffer rules: the text, a zero, 0xAA up to the
// length.
TEST(CredentialCipher, EncodesWithTheBufferRules) {
  test_support::TempDevice device;  // code page 1252
  struct Case {
    const char16_t* text;
    const char16_t* hex;
  } cases[] = {
      {u"", u"c15bc07544a78a81"},                                   // 00 AA AA AA AA AA AA AA
      {u"secret", u"311417314c5615f9"},                             // "secret" 00 AA
      {u"12345678", u"cb700581e1b841a31aa35719bc806e70"},           // 16 bytes
      {u"Caf\u00e9", u"fd7efbfbff0b0607"},                          // 0xE9 in 1252
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CredentialCipher::Encode(c.text), c.hex) << platform::ToUtf8(c.text);
    EXPECT_EQ(CredentialCipher::Decode(c.hex), c.text) << platform::ToUtf8(c.text);
  }
}

TEST(CredentialCipher, LengthIsTheNextMultipleOfEight) {
  test_support::TempDevice device;
  struct Case {
    size_t characters, hexDigits;
  } cases[] = {{0, 16}, {1, 16}, {7, 16}, {8, 32}, {15, 32}, {16, 48}, {100, 208}};
  for (const auto& c : cases) {
    const WString text(c.characters, u'p');
    const WString hex = CredentialCipher::Encode(text);
    EXPECT_EQ(hex.size(), c.hexDigits) << c.characters;
    EXPECT_EQ(hex.find_first_not_of(u"0123456789abcdef"), WString::npos) << c.characters;
    EXPECT_EQ(CredentialCipher::Decode(hex), text) << c.characters;
  }
}

TEST(CredentialCipher, DecodingAcceptsEitherCaseAndReadsOtherCharactersAsZero) {
  test_support::TempDevice device;
  EXPECT_EQ(CredentialCipher::Decode(u"311417314C5615F9"), u"secret");
  // Characters that are no hex digits count as 0.
  EXPECT_EQ(CredentialCipher::Decode(u"zzzzzzzzzzzzzzzz"), CredentialCipher::Decode(u"0000000000000000"));
  EXPECT_EQ(CredentialCipher::Decode(u"0g0h0i0j0k0l0m0n"), CredentialCipher::Decode(u"0000000000000000"));
  // An odd last digit stands alone as a high nibble; an empty text
  // deciphers to an empty text.
  EXPECT_EQ(CredentialCipher::Decode(u"311417314c5615f"), CredentialCipher::Decode(u"311417314c5615f0"));
  EXPECT_EQ(CredentialCipher::Decode(u""), u"");
}

TEST(CredentialCipher, TextsOfTwoByteCodePagesStayWhole) {
  test_support::TempDevice device;
  platform::DeviceConfig config;
  config.ansiCodePage = 932;
  device.SetConfig(config);
  // Seven characters, fourteen bytes in Shift-JIS: sizing by characters
  // would cut the text.
  const WString text = u"\u30d1\u30b9\u30ef\u30fc\u30c9\u3067\u3059";
  const WString hex = CredentialCipher::Encode(text);
  EXPECT_EQ(hex.size(), 32u);
  EXPECT_EQ(CredentialCipher::Decode(hex), text);
}

}  // namespace
}  // namespace applet
