#include "applet/connections/credential_cipher.h"

#include <algorithm>
#include <string>
#include <vector>

#include "applet/connections/des.h"
#include "platform/code_page.h"

namespace applet {

namespace {

static_assert(sizeof(CredentialCipher::kKey) / sizeof(char16_t) == Des::kBlockSize + 1,
              "the credential key has eight characters");

const Des& Cipher() {
  static const Des cipher = [] {
    std::string narrowed = platform::WideToAnsi(CredentialCipher::kKey);
    narrowed.resize(Des::kBlockSize, '\0');
    uint8_t key[Des::kBlockSize];
    std::copy(narrowed.begin(), narrowed.end(), key);
    return Des(std::span<const uint8_t, Des::kBlockSize>(key));
  }();
  return cipher;
}

constexpr uint64_t kZeroIv = 0;

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 0;
}

}  // namespace

platform::WString CredentialCipher::Encode(platform::WStringView text) {
  const std::string bytes = platform::WideToAnsi(text);
  // Sized from the converted bytes rather than the characters, so a text
  // that takes two bytes per character in the code page is kept whole.
  // For single-byte code pages the two are the same.
  const size_t length = (bytes.size() + kBlockSize) & ~(kBlockSize - 1);
  std::vector<uint8_t> buffer(length, kFill);
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  buffer[bytes.size()] = 0;
  Cipher().EncryptCbc(buffer, kZeroIv);

  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  platform::WString hex;
  hex.reserve(2 * length);
  for (uint8_t b : buffer) {
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0xF]);
  }
  return hex;
}

platform::WString CredentialCipher::Decode(platform::WStringView hex) {
  const size_t pairs = (hex.size() + 1) / 2;
  const size_t length = (pairs + kBlockSize - 1) & ~(kBlockSize - 1);
  std::vector<uint8_t> buffer(length, kFill);
  for (size_t i = 0; i < pairs; ++i) {
    // An odd last character stands alone as the high nibble.
    const int high = HexValue(hex[2 * i]);
    const int low = 2 * i + 1 < hex.size() ? HexValue(hex[2 * i + 1]) : 0;
    buffer[i] = static_cast<uint8_t>((high << 4) | low);
  }
  Cipher().DecryptCbc(buffer, kZeroIv);
  const auto zero = std::find(buffer.begin(), buffer.end(), uint8_t{0});
  return platform::AnsiToWide(std::string(buffer.begin(), zero));
}

}  // namespace applet
