#pragma once
// The SIM card of the emulated handheld, kept in the device root's
// "sim.ini" and reported by the emulated SIM utility library:
//
//   [SIM]
//   Status=ready          the status word: "ready" (1) or 0xHHHHHHHH
//   IMSI=208011234567890  the subscriber identity, as the library returns it

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

struct SimConfig {
  static constexpr uint32_t kReady = 1;
  // The identity buffer of the SIM utility library holds 260 characters.
  static constexpr size_t kMaxImsiLength = 259;

  uint32_t status = kReady;
  std::string imsi;

  static std::optional<SimConfig> Load(const std::filesystem::path& path, std::string* why);
  bool Save(const std::filesystem::path& path) const;

  // "ready" or 0xHHHHHHHH; nothing for any other text.
  static std::optional<uint32_t> ParseStatus(const std::string& text);
  static std::string FormatStatus(uint32_t status);
};

}  // namespace platform
