#pragma once
// What the tests that run bootloader-sim as a process share: the sim in the
// background, giving up by itself after a while so that no failed test
// leaves it behind, and the files such a test writes and reads back.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/bootloader-sim/sim_process.h"

namespace flashtest {

inline constexpr int kSimGiveUpSeconds = 60;

// The bootloader-sim of the build tree with the arguments.
class Sim : public bootsim::SimProcess {
 public:
  explicit Sim(std::vector<std::string> args, int giveUpSeconds = kSimGiveUpSeconds);
};

std::string Slurp(const std::filesystem::path& file);
std::vector<std::string> Lines(const std::filesystem::path& file);
// n bytes of a repeatable pseudo-random pattern.
std::string Pattern(size_t n, uint32_t seed);

}  // namespace flashtest
