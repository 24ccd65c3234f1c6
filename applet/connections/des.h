#pragma once
// The Data Encryption Standard (FIPS 46-3) block cipher, and its CBC mode
// (FIPS 81). Only the credential encoding of connection records uses it.
// Blocks and keys are 64-bit values in big-endian bit order (bit 1 of the
// standard is the most significant bit); the parity bits of the key are
// ignored, as the standard allows.

#include <array>
#include <cstdint>
#include <span>

namespace applet {

class Des {
 public:
  static constexpr size_t kBlockSize = 8;

  // Prepares the sixteen round keys.
  explicit Des(uint64_t key);
  // The key as eight bytes, first byte most significant.
  explicit Des(std::span<const uint8_t, kBlockSize> key);

  uint64_t EncryptBlock(uint64_t block) const;
  uint64_t DecryptBlock(uint64_t block) const;

  // CBC over whole blocks in place; data.size() must be a multiple of
  // kBlockSize (a shorter tail is left as it is).
  void EncryptCbc(std::span<uint8_t> data, uint64_t iv) const;
  void DecryptCbc(std::span<uint8_t> data, uint64_t iv) const;

  static uint64_t Load(std::span<const uint8_t, kBlockSize> bytes);
  static void Store(uint64_t block, std::span<uint8_t, kBlockSize> bytes);

 private:
  uint64_t Crypt(uint64_t block, bool decrypt) const;

  std::array<uint64_t, 16> roundKeys_{};  // 48 bits each
};

}  // namespace applet
