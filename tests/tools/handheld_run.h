#pragma once
// Running the handheld command as a user does, on a device folder of the
// test's own.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace handheld_test {

namespace fs = std::filesystem;

struct CommandRun {
  int exitCode;
  std::string output;  // stdout and stderr
};

inline CommandRun Handheld(const std::string& args) {
  std::string command = std::string(HANDHELD_PATH) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  CommandRun run{-1, ""};
  if (pipe == nullptr) return run;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) run.output.append(buf.data(), n);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

inline std::string Slurp(const fs::path& p) {
  std::ifstream in(p);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fresh folder for one device, removed afterwards.
class HandheldCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velm-handheld-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    base_ = pattern;
    dir_ = base_ / "device";
  }
  void TearDown() override { fs::remove_all(base_); }
  std::string Dir() const { return "'" + dir_.string() + "'"; }

  fs::path base_;
  fs::path dir_;
};

}  // namespace handheld_test
