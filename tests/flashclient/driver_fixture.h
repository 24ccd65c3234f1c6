#pragma once
// The flash driver under test: a manual clock, an in-memory port and
// a device behind it, either the boot loader emulator or a script of the
// test's own; a temporary current folder for the log files and a registry
// file path (absent until a test writes it).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "flashclient/client_interface.h"
#include "flashclient/driver_state.h"
#include "flashclient/serial/memory_serial_port.h"
#include "flashclient/test_hooks.h"
#include "tools/bootloader-sim/boot_loader_emulator.h"

namespace flashtest {

struct ReceivedImage {
  std::string command;
  uint32_t length = 0;
  std::string data;
  bool complete = false;
};

// The boot loader emulator behind the in-memory port.
class EmulatedDevice final : public drkclient::MemoryDevice, public bootsim::ImageSink {
 public:
  EmulatedDevice() { Reset({}, {}); }
  void Reset(bootsim::EmulatorIdentity identity, bootsim::EmulatorFaults faults);

  void OnHostWrite(const uint8_t* bytes, size_t n, drkclient::MemoryLink& link) override;
  void OnPoll(uint64_t nowMs, drkclient::MemoryLink& link) override;

  bootsim::BootLoaderEmulator& Emulator() { return *emulator_; }
  const std::vector<ReceivedImage>& Images() const { return images_; }

  void Begin(std::string_view writeCommand, uint32_t length) override;
  void Data(const uint8_t* bytes, size_t n) override;
  void End(bool complete) override;

 private:
  std::unique_ptr<bootsim::BootLoaderEmulator> emulator_;
  std::vector<ReceivedImage> images_;
};

// A device written by the test: a reaction to each write and to each poll.
class ScriptDevice final : public drkclient::MemoryDevice {
 public:
  std::function<void(const std::string& written, drkclient::MemoryLink& link)> onWrite;
  std::function<void(uint64_t nowMs, drkclient::MemoryLink& link)> onPoll;

  void OnHostWrite(const uint8_t* bytes, size_t n, drkclient::MemoryLink& link) override {
    if (onWrite) onWrite(std::string(reinterpret_cast<const char*>(bytes), n), link);
  }
  void OnPoll(uint64_t nowMs, drkclient::MemoryLink& link) override {
    if (onPoll) onPoll(nowMs, link);
  }
};

// Forwards to the emulator unless the test switched to its script.
class SwitchDevice final : public drkclient::MemoryDevice {
 public:
  SwitchDevice(EmulatedDevice& emulated, ScriptDevice& script) : emulated_(emulated), script_(script) {}
  void UseScript(bool on) { useScript_ = on; }
  void OnHostWrite(const uint8_t* bytes, size_t n, drkclient::MemoryLink& link) override {
    Active().OnHostWrite(bytes, n, link);
  }
  void OnPoll(uint64_t nowMs, drkclient::MemoryLink& link) override { Active().OnPoll(nowMs, link); }

 private:
  drkclient::MemoryDevice& Active() {
    return useScript_ ? static_cast<drkclient::MemoryDevice&>(script_) : emulated_;
  }
  EmulatedDevice& emulated_;
  ScriptDevice& script_;
  bool useScript_ = false;
};

class DriverTest : public ::testing::Test {
 protected:
  DriverTest();
  ~DriverTest() override;

  drkclient::DriverState& S() { return drkclient::State(); }
  // Writes a file in the test's folder and returns its path.
  std::string WriteFile(const std::string& name, std::string_view bytes) const;
  static std::string Pattern(size_t n, uint8_t seed = 1);
  // Every log file in the folder, oldest name first, joined.
  std::string Log() const;
  std::vector<std::filesystem::path> LogFiles() const;
  // Lines of the log without their time stamps ("text: value").
  std::vector<std::string> LogEntries() const;
  bool Logged(std::string_view entry) const;
  // Closes the current log file and removes every log file.
  void ClearLogs() const;
  void WriteRegistry(std::string_view text) const;
  std::string ReadRegistry() const;
  std::filesystem::path RegistryPath() const { return dir_ / "registry.reg"; }
  // Initialize against the emulator and expect success.
  void Identify();
  // Starts the worker and waits for it.
  int RunFlash();
  std::shared_ptr<drkclient::MemoryLink> Link() const { return opener.Link(); }

  std::filesystem::path dir_;
  std::filesystem::path previousDir_;
  platform::ManualClock clock;
  EmulatedDevice emulated;
  ScriptDevice script;
  SwitchDevice device{emulated, script};
  drkclient::MemoryPortOpener opener{device};
  std::optional<drkclient::ScopedDriverForTest> scope;
};

}  // namespace flashtest
