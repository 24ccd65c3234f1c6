// drkflash and libDRKClientDriver.so against bootloader-sim on a
// pseudo-terminal, in real time: what the sim saves must be the files' data
// after their headers. Kept short: small images, small blocks, few commands.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/flashclient/sim_session.h"
#include "tools/drkflash/image_argument.h"

namespace {

namespace fs = std::filesystem;

using flashtest::Lines;
using flashtest::Pattern;
using flashtest::Sim;
using flashtest::Slurp;

struct CommandRun {
  int exitCode = -1;
  std::string output;
};

CommandRun Drkflash(const std::string& args) {
  std::string command = std::string(DRKFLASH_PATH) + " " + args + " 2>&1";
  CommandRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) run.output.append(buf.data(), n);
  int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "drkflash-e2e-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    // No registry file: the device's module text names its variant.
    ::setenv("DRK_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return (dir_ / name).string();
  }
  fs::path dir_;
};

TEST_F(EndToEnd, DrkflashWritesTheImagesTheSimSaves) {
  const std::string os = Pattern(6000, 1), radio = Pattern(2500, 2);
  std::string osFile = Write("os.nb0", std::string(8, 'H') + os);
  std::string radioFile = Write("radio_b.nb0", std::string(10, 'h') + radio);
  Sim sim({"--block-size", "2048", "--save", (dir_ / "saved").string(), "--qgs-text", "M8346B 1.0"});
  ASSERT_FALSE(sim.Path().empty());
  CommandRun run = Drkflash("--port " + sim.Path() + " --os " + osFile + ":8 --radio-b " + radioFile + ":10");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Flashing GSM Firmware..."), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("100%"), std::string::npos) << run.output;
  EXPECT_EQ(sim.Wait(10), 0);  // released, so it ended by itself
  EXPECT_TRUE(Slurp(dir_ / "saved" / "01-wos.bin") == os);
  EXPECT_TRUE(Slurp(dir_ / "saved" / "02-wgs.bin") == radio);
}

TEST_F(EndToEnd, DrkflashExplainsABootLoaderError) {
  std::string osFile = Write("os.nb0", Pattern(100, 3));
  Sim sim({"--error-on", "?wos", "--error-code", "9"});
  ASSERT_FALSE(sim.Path().empty());
  CommandRun run = Drkflash("--port " + sim.Path() + " --os " + osFile);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("the boot loader answered with its error marker"), std::string::npos) << run.output;
}

TEST_F(EndToEnd, DrkflashIdentifiesTheDevice) {
  Sim sim({"--model-text", "Yvra t4170", "--os-text", "5.00.061 Deutsch"});
  ASSERT_FALSE(sim.Path().empty());
  CommandRun run = Drkflash("--port " + sim.Path() + " --identify");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Model:       Yvra t4170"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("OS version:  5.00.061"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("OS language: Deutsch"), std::string::npos) << run.output;
  EXPECT_EQ(sim.Wait(10), 0);
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(EndToEnd, DrkflashStopsAtAnUnansweredWarmReset) {
  std::string bl = Write("bl.nb0", Pattern(3000, 4)), os = Write("os.nb0", Pattern(3000, 5));
  const fs::path commands = dir_ / "commands.txt";
  Sim sim({"--silent-on", "?xrs", "--commands", commands.string(), "--save", (dir_ / "saved").string()});
  ASSERT_FALSE(sim.Path().empty());
  CommandRun run = Drkflash("--port " + sim.Path() + " --bootloader " + bl + " --partition 1000,2000 --os " + os);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  // The restart went unacknowledged: no reformat, no OS image, no release
  // into a link that is gone.
  auto received = Lines(commands);
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.back(), "?xrs");
  EXPECT_FALSE(Contains(received, "?dft"));
  EXPECT_FALSE(Contains(received, "?wos"));
  EXPECT_TRUE(fs::exists(dir_ / "saved" / "01-wbl.bin"));
  EXPECT_FALSE(fs::exists(dir_ / "saved" / "02-wos.bin"));
}

TEST_F(EndToEnd, DrkflashRefusesAnAssetFileTooShortBeforeAnnouncingIt) {
  std::string asset = Write("asset.nb0", Pattern(1000, 6));
  const fs::path commands = dir_ / "commands.txt";
  Sim sim({"--commands", commands.string(), "--save", (dir_ / "saved").string()});
  ASSERT_FALSE(sim.Path().empty());
  CommandRun run = Drkflash("--port " + sim.Path() + " --asset-data " + asset);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("image file error"), std::string::npos) << run.output;
  EXPECT_EQ(Lines(commands), (std::vector<std::string>{"?gid", "?qos", "?ghw", "?qup", "?qgs", "?qbz"}));
  EXPECT_FALSE(fs::exists(dir_ / "saved" / "01-wad.bin"));
}

// libDRKClientDriver.so loaded as a host loads it, for the calls drkflash
// never makes, talking to the sim.
class LoadedDriver {
 public:
  explicit LoadedDriver(const Sim& sim) : handle_(Load(sim)) {}
  ~LoadedDriver() { Unload(); }
  LoadedDriver(const LoadedDriver&) = delete;
  LoadedDriver& operator=(const LoadedDriver&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  int Call(const char* name) { return reinterpret_cast<int (*)()>(::dlsym(handle_, name))(); }
  int Select(const char* name, const std::string& path) {
    return reinterpret_cast<int (*)(const char*, int)>(::dlsym(handle_, name))(path.c_str(), 0);
  }
  int Call(const char* name, int a, int b) { return reinterpret_cast<int (*)(int, int)>(::dlsym(handle_, name))(a, b); }
  void Unload() {
    if (handle_ != nullptr) ::dlclose(handle_);
    handle_ = nullptr;
  }

 private:
  static void* Load(const Sim& sim) {
    if (sim.Path().empty()) return nullptr;
    ::setenv("DRK_SERIAL_PORT", sim.Path().c_str(), 1);
    return ::dlopen(DRKCLIENT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  }
  void* handle_;
};

constexpr int kRunGiveUpPolls = 600;  // of 100 ms

// Polls progress as a host does, until the run ends.
int AwaitRunEnd(LoadedDriver& driver) {
  int progress = 0;
  for (int i = 0; i < kRunGiveUpPolls; ++i) {
    progress = driver.Call("Client_Progress");
    if (progress >= 100 || progress < 0) break;
    ::usleep(100 * 1000);
  }
  return progress;
}

TEST_F(EndToEnd, TheLibraryWritesNothingToADeviceThatFailedIdentification) {
  Write("registry.reg",
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Marvane\\qzDRK]\n"
        "\"Last_GSM_module\"=dword:00000002\n");
  std::string os = Write("os.nb0", Pattern(3000, 7));
  const fs::path commands = dir_ / "commands.txt";
  Sim sim({"--model-number", "4171", "--commands", commands.string()});
  LoadedDriver driver(sim);
  ASSERT_TRUE(driver.Loaded());
  EXPECT_EQ(driver.Call("Client_Initialize"), 101);
  EXPECT_EQ(driver.Call("Client_Progress"), 1);  // the abort was answered
  EXPECT_EQ(driver.Select("Client_FlashOS", os), 0);
  EXPECT_EQ(driver.Call("Client_SetPartitionSize", 1000, 2000), 0);
  EXPECT_EQ(driver.Call("Client_StartFlash"), 1);
  EXPECT_EQ(driver.Call("Client_Progress"), -1);
  driver.Unload();
  // The identification and the abort, and nothing after them.
  EXPECT_EQ(Lines(commands), (std::vector<std::string>{"?gid", "?xcb", "?c"}));
}

TEST_F(EndToEnd, TheLibraryKeepsOneWorkerAndNothingComesBetweenItsBlocks) {
  const std::string data = Pattern(100000, 8);
  std::string os = Write("os.nb0", data);
  const fs::path commands = dir_ / "commands.txt";
  Sim sim({"--block-size", "4096", "--commands", commands.string(), "--save", (dir_ / "saved").string()});
  LoadedDriver driver(sim);
  ASSERT_TRUE(driver.Loaded());
  ASSERT_EQ(driver.Call("Client_Initialize"), 0);
  ASSERT_EQ(driver.Select("Client_FlashOS", os), 0);
  EXPECT_EQ(driver.Call("Client_StartFlash"), 1);
  // The worker waits half a second for each answer, so it still runs.
  EXPECT_EQ(driver.Call("Client_StartFlash"), 1);
  EXPECT_EQ(driver.Call("Client_Shutdown"), 202);
  EXPECT_EQ(AwaitRunEnd(driver), 100);
  EXPECT_EQ(driver.Call("Client_Shutdown"), 0);
  EXPECT_EQ(sim.Wait(10), 0);
  EXPECT_EQ(Lines(commands), (std::vector<std::string>{"?gid", "?qos", "?ghw", "?qup", "?qgs", "?qbz", "?wos", "?nb0",
                                                        "?xcb", "?c"}));
  EXPECT_TRUE(Slurp(dir_ / "saved" / "01-wos.bin") == data);
}

TEST_F(EndToEnd, UnloadingTheLibraryEndsItsThreadsFirst) {
  std::string os = Write("os.nb0", Pattern(2000000, 9));
  Sim sim({"--block-size", "4096"});
  LoadedDriver driver(sim);
  ASSERT_TRUE(driver.Loaded());
  ASSERT_EQ(driver.Call("Client_Initialize"), 0);
  ASSERT_EQ(driver.Select("Client_FlashOS", os), 0);
  ASSERT_EQ(driver.Call("_Z19CreateReformatTimerv"), 1);  // ten seconds of timer
  ASSERT_EQ(driver.Call("Client_StartFlash"), 1);
  ::usleep(1000 * 1000);
  // The worker is mid-image and the timer asleep; neither may outlive the
  // code they run.
  driver.Unload();
  EXPECT_EQ(::dlopen(DRKCLIENT_LIBRARY_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST(DrkflashCommandLine, ImageArgumentsTakeAnOptionalHeaderLength) {
  struct Case {
    const char* text;
    bool ok;
    const char* path;
    int headerLength;
  };
  const Case cases[] = {
      {"os.nb0", true, "os.nb0", 0},
      {"os.nb0:8", true, "os.nb0", 8},
      {"a:b:16", true, "a:b", 16},
      {"dir:name/os.nb0", true, "dir:name/os.nb0", 0},  // not digits: part of the name
      {"os.nb0:", true, "os.nb0:", 0},
      {":12", false, "", 0},
      {"", false, "", 0},
      {"os:2147483648", false, "", 0},
  };
  for (const Case& c : cases) {
    std::string why;
    auto arg = drkflash::ParseImageArgument(c.text, why);
    ASSERT_EQ(arg.has_value(), c.ok) << c.text;
    if (arg) {
      EXPECT_EQ(arg->path, c.path);
      EXPECT_EQ(arg->headerLength, c.headerLength);
    } else {
      EXPECT_FALSE(why.empty());
    }
  }
}

TEST(DrkflashCommandLine, RefusesWhatItCannotDoBeforeTouchingTheDevice) {
  struct Case {
    const char* args;
    const char* says;
  };
  const Case cases[] = {
      {"", "nothing to do"},
      {"--os :12", "no file named"},
      {"--os a:99999999999", "header length out of range"},
      {"--partition 5", "--partition takes two sizes"},
  };
  for (const Case& c : cases) {
    CommandRun run = Drkflash(c.args);
    EXPECT_EQ(run.exitCode, 1) << c.args;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
  }
  EXPECT_EQ(Drkflash("--help").exitCode, 0);
}

TEST(DriverLibrary, ExportsTheClientFunctionsAndNothingElse) {
  void* lib = ::dlopen(DRKCLIENT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << ::dlerror();
  const char* names[] = {
      "Client_Initialize", "Client_Shutdown", "Client_StartFlash", "Client_FlashOS",  "Client_FlashCS",
      "Client_FlashFS",    "Client_FlashWAN", "Client_FlashMC",    "Client_FlashBL",  "Client_FlashAD",
      "Client_M8346B",     "Client_M8346D",   "Client_M8346E",     "Client_BL_Mode",  "Client_ModelID",
      "Client_OS_Ver",     "Client_OS_Lang",  "Client_SetPartitionSize", "Client_Component",
      "Client_Progress",   "Client_StatusMsg", "Client_Logging",   "_Z19CreateReformatTimerv",
  };
  for (const char* name : names) EXPECT_NE(::dlsym(lib, name), nullptr) << name;
  EXPECT_EQ(::dlsym(lib, "CreateReformatTimer"), nullptr);
  using Progress = int (*)();
  auto progress = reinterpret_cast<Progress>(::dlsym(lib, "Client_Progress"));
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress(), 0);  // a fresh load has started nothing
  ::dlclose(lib);

  // Nothing else leaves the library: no driver internals, no pieces of the
  // static libraries linked in.
  FILE* nm = ::popen("nm -D --defined-only " DRKCLIENT_LIBRARY_PATH, "r");
  ASSERT_NE(nm, nullptr);
  char line[512];
  std::vector<std::string> others;
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    std::string s(line);
    std::string name = s.substr(s.rfind(' ') + 1);
    name.erase(name.find_last_not_of("\n") + 1);
    if (name.rfind("Client_", 0) == 0 || name == "_Z19CreateReformatTimerv") continue;
    others.push_back(name);
  }
  ::pclose(nm);
  EXPECT_TRUE(others.empty()) << others.size() << " more, e.g. " << others.front();
}

}  // namespace
