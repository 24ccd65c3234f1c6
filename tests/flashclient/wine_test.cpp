// The driver's Windows build: the 32-bit DLL's export table, and under
// Wine (64-bit, in a private prefix) the Win32 port's own tests and a flash
// through the DLL's exports to bootloader-sim on a pseudo-terminal mapped
// as a COM port. The Windows programs come from the cross builds in the
// build tree (windows/i686, windows/x86_64); the Linux side here provides
// their devices and checks what the simulator received.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/flashclient/sim_session.h"
#include "tests/flashclient/windows/wine_handoff.h"
#include "tests/flashclient/wine_prefix.h"

namespace {

namespace fs = std::filesystem;
using winetest::WinePrefix;

using flashtest::Lines;
using flashtest::Pattern;
using flashtest::Sim;
using flashtest::Slurp;

constexpr int kProgramTimeoutSeconds = 100;
// Long enough for the slowest program that talks to it.
constexpr int kWineSimGiveUpSeconds = 100;

// A pseudo-terminal that sends back every byte written to it.
class Loopback {
 public:
  Loopback() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    path_ = ::ptsname(master_);
    // Held open, and raw: no echo by the terminal itself, no line editing.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave_ < 0 || ::tcgetattr(slave_, &tio) != 0) return;
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    echo_ = std::thread([this] { Echo(); });
  }
  ~Loopback() {
    stop_ = true;
    if (echo_.joinable()) echo_.join();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }
  Loopback(const Loopback&) = delete;
  Loopback& operator=(const Loopback&) = delete;
  const std::string& Path() const { return path_; }

 private:
  void Echo() {
    char buf[4096];
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0 || (p.revents & POLLIN) == 0) continue;
      ssize_t n = ::read(master_, buf, sizeof buf);
      for (ssize_t done = 0; n > 0 && done < n;) {
        ssize_t w = ::write(master_, buf + done, static_cast<size_t>(n - done));
        if (w <= 0) break;
        done += w;
      }
    }
  }

  int master_ = -1;
  int slave_ = -1;
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread echo_;
};

std::string ComDevice(int number) { return "\\\\.\\COM" + std::to_string(number); }

// Each test in its own folder, and with the prefix of the build tree.
class Wine : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "drkclient-wine-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::string whyNot;
    prefix_ = WinePrefix::Open(WINE64_PATH, WINE_PREFIX_DIR, whyNot);
    if (!prefix_) GTEST_SKIP() << "Wine cannot start: " << whyNot;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return (dir_ / name).string();
  }
  winetest::ProgramRun Run(const std::string& program, const std::vector<std::string>& args,
                           const WinePrefix::Environment& env) {
    return prefix_->Run(fs::path(WIN64_BIN_DIR) / program, args, env, dir_, kProgramTimeoutSeconds);
  }

  fs::path dir_;
  std::unique_ptr<WinePrefix> prefix_;
};

TEST_F(Wine, TheWin32PortPassesItsTests) {
  Loopback loopback;
  Sim sim({"--keep-running"}, kWineSimGiveUpSeconds);
  ASSERT_FALSE(loopback.Path().empty());
  ASSERT_FALSE(sim.Path().empty());
  auto com5 = prefix_->MapComPort(5, loopback.Path());
  auto com6 = prefix_->MapComPort(6, sim.Path());
  ASSERT_TRUE(com5->Mapped() && com6->Mapped());
  auto run = Run("flashclient_win32_tests.exe", {},
                 {{winetest::kLoopbackPortEnv, ComDevice(5)}, {winetest::kSimPortEnv, ComDevice(6)}});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  // Every test had its device: none skipped.
  EXPECT_NE(run.output.find("[  PASSED  ]"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("SKIPPED"), std::string::npos) << run.output;
}

TEST_F(Wine, TheDllFlashesTwoImagesThroughItsExports) {
  const std::string os = Pattern(6000, 1), radio = Pattern(2500, 2);
  const std::string osFile = Write("os.nb0", std::string(winetest::kOsHeaderLength, 'H') + os);
  const std::string radioFile = Write("radio_b.nb0", std::string(winetest::kRadioHeaderLength, 'h') + radio);
  const fs::path commands = dir_ / "commands.txt";
  Sim sim({"--block-size", "2048", "--save", (dir_ / "saved").string(), "--commands", commands.string()},
          kWineSimGiveUpSeconds);
  ASSERT_FALSE(sim.Path().empty());
  auto com7 = prefix_->MapComPort(7, sim.Path());
  ASSERT_TRUE(com7->Mapped());
  auto run = Run("drkclient_dll_host_test.exe", {},
                 {{winetest::kSimPortEnv, ComDevice(7)},
                  {winetest::kOsImageEnv, WinePrefix::WindowsPath(osFile)},
                  {winetest::kRadioImageEnv, WinePrefix::WindowsPath(radioFile)}});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("SKIPPED"), std::string::npos) << run.output;

  EXPECT_EQ(sim.Wait(10), 0);  // released, so it ended by itself
  EXPECT_TRUE(Slurp(dir_ / "saved" / "01-wos.bin") == os);
  EXPECT_TRUE(Slurp(dir_ / "saved" / "02-wgs.bin") == radio);
  EXPECT_EQ(Lines(commands), (std::vector<std::string>{"?gid", "?qos", "?ghw", "?qup", "?qgs", "?qbz", "?wos",
                                                               "?nb0", "?wgs", "?dwl", "?xcb", "?c"}));
}

TEST_F(Wine, DrkflashIdentifiesTheDevice) {
  Sim sim({"--model-text", "Yvra t4170", "--os-text", "5.00.061 Deutsch"}, kWineSimGiveUpSeconds);
  ASSERT_FALSE(sim.Path().empty());
  auto com8 = prefix_->MapComPort(8, sim.Path());
  ASSERT_TRUE(com8->Mapped());
  auto run = Run("drkflash.exe", {"--port", ComDevice(8), "--identify"}, {});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Model:       Yvra t4170"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("OS version:  5.00.061"), std::string::npos) << run.output;
  EXPECT_EQ(sim.Wait(10), 0);
}

// What objdump -p tells of a Windows program or library.
struct PeFile {
  std::string format;                // "pei-i386", "pei-x86-64"
  std::set<std::string> exports;
  std::set<std::string> imports;     // DLL names
};

PeFile ReadPeFile(const char* objdump, const fs::path& file) {
  PeFile pe;
  std::string command = std::string(objdump) + " -p '" + file.string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return pe;
  std::string text;
  std::array<char, 4096> buf;
  for (size_t n; (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;) text.append(buf.data(), n);
  ::pclose(pipe);
  bool inNames = false;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (size_t at = line.find("file format "); at != std::string::npos && pe.format.empty())
      pe.format = line.substr(at + 12);
    if (size_t at = line.find("DLL Name: "); at != std::string::npos) pe.imports.insert(line.substr(at + 10));
    // The export names: "\t[   0] Client_BL_Mode" lines after this heading.
    if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
      inNames = true;
      continue;
    }
    if (inNames) {
      size_t close = line.find("] ");
      if (line.empty() || line[0] != '\t' || close == std::string::npos) {
        inNames = false;
        continue;
      }
      pe.exports.insert(line.substr(close + 2));
    }
  }
  return pe;
}

const std::set<std::string> kDriverExports = {
    "Client_Initialize", "Client_Shutdown",  "Client_StartFlash", "Client_FlashOS",          "Client_FlashCS",
    "Client_FlashFS",    "Client_FlashWAN",  "Client_FlashMC",    "Client_FlashBL",          "Client_FlashAD",
    "Client_M8346B",     "Client_M8346D",    "Client_M8346E",     "Client_BL_Mode",          "Client_ModelID",
    "Client_OS_Ver",     "Client_OS_Lang",   "Client_SetPartitionSize", "Client_Component", "Client_Progress",
    "Client_StatusMsg",  "Client_Logging",   "?CreateReformatTimer@@YAHXZ",
};
// The system's own libraries: nothing needs to be shipped beside the DLL.
const std::set<std::string> kSystemLibraries = {"KERNEL32.dll", "ADVAPI32.dll", "msvcrt.dll"};

bool OnlyFrom(const std::set<std::string>& imports, std::set<std::string> allowed) {
  for (const auto& name : imports)
    if (allowed.count(name) == 0) return false;
  return true;
}

std::string Join(const std::set<std::string>& names) {
  std::string s;
  for (const auto& n : names) s += n + " ";
  return s;
}

TEST(WindowsBuild, TheDllExportsExactlyTheDriversNamesAndNeedsOnlySystemLibraries) {
  struct Build {
    const char* objdump;
    const char* binDir;
    const char* format;
  };
  const Build builds[] = {
      {OBJDUMP_I686, WIN32_BIN_DIR, "pei-i386"},  // what is shipped
      {OBJDUMP_X86_64, WIN64_BIN_DIR, "pei-x86-64"},  // what is tested under Wine
  };
  for (const Build& b : builds) {
    SCOPED_TRACE(b.format);
    const PeFile dll = ReadPeFile(b.objdump, fs::path(b.binDir) / "DRKClientDriver.dll");
    EXPECT_EQ(dll.format, b.format);
    EXPECT_EQ(dll.exports, kDriverExports);
    EXPECT_TRUE(OnlyFrom(dll.imports, kSystemLibraries)) << Join(dll.imports);

    const PeFile drkflash = ReadPeFile(b.objdump, fs::path(b.binDir) / "drkflash.exe");
    EXPECT_EQ(drkflash.format, b.format);
    std::set<std::string> withDriver = kSystemLibraries;
    withDriver.insert("DRKClientDriver.dll");
    EXPECT_TRUE(OnlyFrom(drkflash.imports, withDriver)) << Join(drkflash.imports);
    EXPECT_EQ(drkflash.imports.count("DRKClientDriver.dll"), 1u);
  }
}

}  // namespace
