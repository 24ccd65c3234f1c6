#include "applet/connections/des.h"

#include <gtest/gtest.h>

#include <vector>

namespace applet {
namespace {

// Published known answers: the worked example of FIPS 46's tutorials, the
// FIPS 81 example and entries of the NIST SP 800-17 variable-plaintext,
// variable-key and substitution-table tests.
TEST(Des, PublishedKnownAnswers) {
  struct Case {
    uint64_t key, plain, cipher;
  } cases[] = {
      {0x133457799BBCDFF1, 0x0123456789ABCDEF, 0x85E813540F0AB405},
      {0x0123456789ABCDEF, 0x4E6F772069732074, 0x3FA40E8A984D4815},  // "Now is t"
      {0x0101010101010101, 0x8000000000000000, 0x95F8A5E5DD31D900},
      {0x0101010101010101, 0x4000000000000000, 0xDD7F121CA5015619},
      {0x0101010101010101, 0x0000000000000001, 0x166B40B44ABA4BD6},
      {0x8001010101010101, 0x0000000000000000, 0x95A8D72813DAA94D},
      {0x4001010101010101, 0x0000000000000000, 0x0EEC1487DD8C26D5},
      {0x0101010101010180, 0x0000000000000000, 0x9CC62DF43B6EED74},
      {0x7CA110454A1A6E57, 0x01A1D6D039776742, 0x690F5B0D9A26939B},
      {0x0131D9619DC1376E, 0x5CD54CA83DEF57DA, 0x7A389D10354BD271},
      {0x1C587F1C13924FEF, 0x305532286D6F295A, 0x63FAC0D034D9F793},
  };
  for (const auto& c : cases) {
    Des des(c.key);
    EXPECT_EQ(des.EncryptBlock(c.plain), c.cipher) << std::hex << c.key;
    EXPECT_EQ(des.DecryptBlock(c.cipher), c.plain) << std::hex << c.key;
  }
}

TEST(Des, ParityBitsOfTheKeyAreIgnored) {
  Des withParity(0x0101010101010101);
  Des without(0x0000000000000000);
  EXPECT_EQ(withParity.EncryptBlock(0x8000000000000000), without.EncryptBlock(0x8000000000000000));
}

// FIPS 81, appendix C: "Now is the time for all " in CBC mode.
TEST(Des, CbcExampleOfFips81) {
  const std::string plain = "Now is the time for all ";
  std::vector<uint8_t> data(plain.begin(), plain.end());
  const uint8_t key[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  Des des{std::span<const uint8_t, 8>(key)};
  des.EncryptCbc(data, 0x1234567890ABCDEF);
  const std::vector<uint8_t> expected = {
      0xE5, 0xC7, 0xCD, 0xDE, 0x87, 0x2B, 0xF2, 0x7C, 0x43, 0xE9, 0x34, 0x00,
      0x8C, 0x38, 0x9C, 0x0F, 0x68, 0x37, 0x88, 0x49, 0x9A, 0x7C, 0x05, 0xF6};
  EXPECT_EQ(data, expected);
  des.DecryptCbc(data, 0x1234567890ABCDEF);
  EXPECT_EQ(std::string(data.begin(), data.end()), plain);
}

}  // namespace
}  // namespace applet
