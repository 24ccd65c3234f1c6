#include "tests/flashclient/sim_session.h"

#include <fstream>
#include <sstream>

namespace flashtest {

namespace {

std::vector<std::string> WithLimit(std::vector<std::string> args, int giveUpSeconds) {
  args.push_back("--max-seconds");
  args.push_back(std::to_string(giveUpSeconds));
  return args;
}

}  // namespace

Sim::Sim(std::vector<std::string> args, int giveUpSeconds)
    : SimProcess(BOOTLOADER_SIM_PATH, WithLimit(std::move(args), giveUpSeconds)) {}

std::string Slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(Slurp(file));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Pattern(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (auto& c : s) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return s;
}

}  // namespace flashtest
