#pragma once
// A private Wine prefix for the tests of the driver's Windows build, kept in
// the build tree: created on first use (wineboot, under a lock, since ctest
// may start two tests at once) and reused by later runs. Windows programs
// run in it with a time limit, and COM ports are mapped to host terminals
// through dosdevices links (dosdevices/com5 -> /dev/pts/3 makes \\.\COM5).

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace winetest {

struct ProgramRun {
  int exitCode = -1;     // -1 when it did not end by itself
  bool timedOut = false;
  std::string output;    // standard output and error, interleaved
};

class WinePrefix {
 public:
  using Environment = std::vector<std::pair<std::string, std::string>>;

  // Names the prefix; Open makes it ready.
  WinePrefix(std::filesystem::path wine64, std::filesystem::path folder)
      : wine64_(std::move(wine64)), folder_(std::move(folder)) {}

  // The prefix at folder, made ready with the wine64 at program; nothing
  // (and why in whyNot) when Wine cannot start there.
  static std::unique_ptr<WinePrefix> Open(const std::filesystem::path& wine64, const std::filesystem::path& folder,
                                          std::string& whyNot);

  // Runs a Windows program (or a program of Wine's own, like cmd) in the
  // prefix; it is killed when it runs longer than timeoutSeconds.
  ProgramRun Run(const std::string& program, const std::vector<std::string>& args, const Environment& env,
                 const std::filesystem::path& workingFolder, int timeoutSeconds) const;

  // COMn of the prefix leads to device until the link is dropped.
  class ComPort {
   public:
    ComPort(std::filesystem::path link, const std::string& device);
    ~ComPort();
    ComPort(const ComPort&) = delete;
    ComPort& operator=(const ComPort&) = delete;
    bool Mapped() const { return mapped_; }

   private:
    std::filesystem::path link_;
    bool mapped_ = false;
  };
  std::unique_ptr<ComPort> MapComPort(int number, const std::string& device) const;

  // A host path as the prefix's programs name it: on drive Z:, which Wine
  // maps to the host's root.
  static std::string WindowsPath(const std::filesystem::path& hostPath);

 private:
  // Creates the prefix unless an earlier run did; false with why.
  bool MakeReady(std::string& why) const;

  std::filesystem::path wine64_;
  std::filesystem::path folder_;
};

}  // namespace winetest
