#include "tests/flashclient/driver_fixture.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "flashclient/driver_log.h"
#include "flashclient/flash_worker.h"

namespace flashtest {

namespace fs = std::filesystem;

void EmulatedDevice::Reset(bootsim::EmulatorIdentity identity, bootsim::EmulatorFaults faults) {
  emulator_ = std::make_unique<bootsim::BootLoaderEmulator>(std::move(identity), std::move(faults), this);
  images_.clear();
}

void EmulatedDevice::OnHostWrite(const uint8_t* bytes, size_t n, drkclient::MemoryLink& link) {
  std::string out;
  emulator_->Receive(bytes, n, platform::NowMs(), out);
  link.Send(out);
}

void EmulatedDevice::OnPoll(uint64_t nowMs, drkclient::MemoryLink& link) {
  std::string out;
  emulator_->Tick(nowMs, out);
  link.Send(out);
}

void EmulatedDevice::Begin(std::string_view writeCommand, uint32_t length) {
  images_.push_back({std::string(writeCommand), length, {}, false});
}

void EmulatedDevice::Data(const uint8_t* bytes, size_t n) {
  if (!images_.empty()) images_.back().data.append(reinterpret_cast<const char*>(bytes), n);
}

void EmulatedDevice::End(bool complete) {
  if (!images_.empty()) images_.back().complete = complete;
}

DriverTest::DriverTest() {
  std::string pattern = (fs::temp_directory_path() / "drkclient-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  previousDir_ = fs::current_path();
  fs::current_path(dir_);
  setenv("DRK_REGISTRY", RegistryPath().c_str(), 1);
  setenv("DRK_SERIAL_PORT", "/dev/drk-test-port", 1);
  scope.emplace(clock, opener);
}

DriverTest::~DriverTest() {
  scope.reset();
  fs::current_path(previousDir_);
  unsetenv("DRK_REGISTRY");
  unsetenv("DRK_SERIAL_PORT");
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::string DriverTest::WriteFile(const std::string& name, std::string_view bytes) const {
  fs::path p = dir_ / name;
  std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p.string();
}

std::string DriverTest::Pattern(size_t n, uint8_t seed) {
  std::string s(n, '\0');
  uint32_t x = seed;
  for (auto& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 16);
  }
  return s;
}

std::vector<fs::path> DriverTest::LogFiles() const {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir_)) {
    std::string name = e.path().filename().string();
    if (name.rfind("drk", 0) == 0 && e.path().extension() == ".log") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string DriverTest::Log() const {
  std::string all;
  for (const auto& f : LogFiles()) {
    std::ifstream in(f, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    all += s.str();
  }
  return all;
}

std::vector<std::string> DriverTest::LogEntries() const {
  std::vector<std::string> entries;
  std::istringstream in(Log());
  std::string line;
  while (std::getline(in, line)) {
    // "H:MM:SS text: value"; header and footer lines are left out.
    size_t blank = line.find(' ');
    if (blank == std::string::npos || line.rfind("DRKClient_Driver", 0) == 0) continue;
    entries.push_back(line.substr(blank + 1));
  }
  return entries;
}

bool DriverTest::Logged(std::string_view entry) const {
  auto entries = LogEntries();
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

void DriverTest::ClearLogs() const {
  drkclient::LogClose();
  for (const auto& f : LogFiles()) fs::remove(f);
}

void DriverTest::WriteRegistry(std::string_view text) const {
  std::ofstream(RegistryPath(), std::ios::binary) << text;
}

std::string DriverTest::ReadRegistry() const {
  std::ifstream in(RegistryPath(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void DriverTest::Identify() { ASSERT_EQ(drkclient::Client_Initialize(), 0); }

int DriverTest::RunFlash() {
  drkclient::Client_StartFlash();
  drkclient::JoinDriverThreads();
  return drkclient::Client_Progress();
}

}  // namespace flashtest
