// bootloader-sim: a handheld's boot loader on a pseudo-terminal, for demos
// and end-to-end tests of the flash driver. Prints the terminal's path on
// the first line of standard output (and links it with --link), then plays
// the boot loader until the host releases the device.

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "base/clock.h"
#include "tools/bootloader-sim/boot_loader_emulator.h"
#include "tools/bootloader-sim/image_files.h"

namespace {

namespace fs = std::filesystem;

// The sync pattern is only sent while the host's side holds little unread,
// so a host that opens the port late does not find a long backlog.
constexpr int kMaxSyncBacklog = 64;
constexpr int kPollIntervalMs = 5;
// After the release the answer must reach the host before the terminal
// goes away.
constexpr int kLingerAfterReleaseMs = 1500;
constexpr int kWriteTimeoutMs = 5000;

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

struct PseudoTerminal {
  Fd master;
  Fd slave;  // held open so the terminal stays up between the host's opens
  std::string path;
};

bool OpenPseudoTerminal(PseudoTerminal& pty, std::string& why) {
  pty.master.fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.master.fd < 0 || ::grantpt(pty.master.fd) != 0 || ::unlockpt(pty.master.fd) != 0) {
    why = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  const char* name = ::ptsname(pty.master.fd);
  if (name == nullptr) {
    why = "cannot name the pseudo-terminal";
    return false;
  }
  pty.path = name;
  pty.slave.fd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (pty.slave.fd < 0 || ::tcgetattr(pty.slave.fd, &tio) != 0) {
    why = "cannot open " + pty.path;
    return false;
  }
  // Raw from the start: no echo of what the sim sends, no line editing.
  ::cfmakeraw(&tio);
  ::tcsetattr(pty.slave.fd, TCSANOW, &tio);
  int flags = ::fcntl(pty.master.fd, F_GETFL);
  ::fcntl(pty.master.fd, F_SETFL, flags | O_NONBLOCK);
  return true;
}

// Writes everything, waiting for room; false when the terminal stays full.
bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t r = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (r > 0) {
      done += static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN) return false;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, kWriteTimeoutMs) <= 0) return false;
  }
  return true;
}

int Unread(int slaveFd) {
  int n = 0;
  return ::ioctl(slaveFd, FIONREAD, &n) == 0 ? n : 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "bootloader-sim: plays a handheld's boot loader on a pseudo-terminal.\n"
      "Prints the terminal's path, sends the sync pattern until the host's handshake,\n"
      "answers the identification, release, warm reset and repartition commands,\n"
      "receives images in checksummed blocks and exits once the host releases it.\n"
      "Point the flash driver at it with DRK_SERIAL_PORT=<path> (or drkflash --port)."};
  std::string link, save, commandsPath;
  bootsim::EmulatorIdentity id;
  bootsim::EmulatorFaults faults;
  int errorCode = 1;
  bool keepRunning = false, verbose = false;
  double maxSeconds = 0;
  app.add_option("--link", link, "Also make PATH a symbolic link to the terminal");
  app.add_option("--save", save, "Write each received image to DIR (NN-<command>.bin)");
  app.add_option("--model-number", id.modelNumber, "Answer to ?gid")->capture_default_str();
  app.add_option("--os-text", id.osText, "Answer to ?qos: 8 characters of version, a separator, the language")
      ->capture_default_str();
  app.add_option("--hw-text", id.hardwareText, "Hardware text (first ?ghw answer)")->capture_default_str();
  app.add_option("--camera-text", id.cameraText, "Camera text (second ?ghw answer)")->capture_default_str();
  app.add_option("--model-text", id.modelText, "Model text (third ?ghw answer)")->capture_default_str();
  app.add_option("--qup-text", id.qupText, "Answer to ?qup")->capture_default_str();
  app.add_option("--qgs-text", id.qgsText, "Radio module text, answer to ?qgs")->capture_default_str();
  app.add_option("--block-size", id.blockSize, "Transfer block size, answer to ?qbz")
      ->capture_default_str()
      ->check(CLI::Range(1u, bootsim::BootLoaderEmulator::kMaxBlockSize));
  app.add_option("--reject-block", faults.rejectBlock, "Answer block K of each image with '^' (checksum error)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--reject-count", faults.rejectCount, "How many times --reject-block rejects it")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  app.add_option("--noise", faults.noiseBytes, "Send N noise bytes before every answer")->check(CLI::Range(0, 1000));
  app.add_option("--error-on", faults.errorCommand, "Answer this command (e.g. ?wos) with the error marker");
  app.add_option("--error-code", errorCode, "The error code sent with --error-on")
      ->capture_default_str()
      ->check(CLI::Range(0, 255));
  app.add_option("--silent-on", faults.silentCommand, "Leave this command (e.g. ?xrs) unanswered");
  app.add_option("--commands", commandsPath, "Append every command received to FILE, one a line");
  app.add_option("--silent-after", faults.silentAfterBlocks, "Stop answering after N accepted blocks")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--repartition-ms", faults.repartitionMs, "How long repartitioning takes");
  app.add_flag("--keep-running", keepRunning, "After a release wait for the next session instead of exiting");
  app.add_option("--max-seconds", maxSeconds, "Give up after this long (0: never)")->check(CLI::NonNegativeNumber);
  app.add_flag("-v,--verbose", verbose, "Report every command on standard error");
  CLI11_PARSE(app, argc, argv);
  faults.errorCode = static_cast<uint8_t>(errorCode);

  std::unique_ptr<bootsim::ImageFiles> files;
  if (!save.empty()) {
    std::error_code ec;
    fs::create_directories(save, ec);
    if (!fs::is_directory(save)) {
      std::cerr << "bootloader-sim: cannot create folder " << save << "\n";
      return 1;
    }
    files = std::make_unique<bootsim::ImageFiles>(save);
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> commandsFile(nullptr, std::fclose);
  if (!commandsPath.empty()) {
    commandsFile.reset(std::fopen(commandsPath.c_str(), "a"));
    if (!commandsFile) {
      std::cerr << "bootloader-sim: cannot write " << commandsPath << "\n";
      return 1;
    }
  }

  PseudoTerminal pty;
  std::string why;
  if (!OpenPseudoTerminal(pty, why)) {
    std::cerr << "bootloader-sim: " << why << "\n";
    return 1;
  }
  if (!link.empty()) {
    std::error_code ec;
    fs::remove(link, ec);
    fs::create_symlink(pty.path, link, ec);
    if (ec) {
      std::cerr << "bootloader-sim: cannot link " << link << ": " << ec.message() << "\n";
      return 1;
    }
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);
  std::cout << pty.path << std::endl;

  auto emulator = std::make_unique<bootsim::BootLoaderEmulator>(id, faults, files.get());
  const uint64_t start = platform::NowMs();
  size_t commandsShown = 0;
  uint64_t releasedAt = 0;
  int status = 0;
  uint8_t buf[65536];
  while (g_stop == 0) {
    const uint64_t now = platform::NowMs();
    if (maxSeconds > 0 && static_cast<double>(now - start) > maxSeconds * 1000.0) {
      std::cerr << "bootloader-sim: no release within " << maxSeconds << " s, giving up\n";
      status = 2;
      break;
    }
    std::string out;
    pollfd p{pty.master.fd, POLLIN, 0};
    if (::poll(&p, 1, kPollIntervalMs) > 0 && (p.revents & POLLIN) != 0) {
      ssize_t r = ::read(pty.master.fd, buf, sizeof buf);
      if (r > 0) emulator->Receive(buf, static_cast<size_t>(r), platform::NowMs(), out);
    }
    if (emulator->Synced() || Unread(pty.slave.fd) < kMaxSyncBacklog) emulator->Tick(platform::NowMs(), out);
    if (!out.empty() && !WriteAll(pty.master.fd, out)) {
      std::cerr << "bootloader-sim: the host stopped reading\n";
    }
    for (; commandsShown < emulator->Commands().size(); ++commandsShown) {
      const std::string& command = emulator->Commands()[commandsShown];
      if (verbose) std::cerr << "bootloader-sim: " << command << "\n";
      if (commandsFile) {
        std::fprintf(commandsFile.get(), "%s\n", command.c_str());
        std::fflush(commandsFile.get());
      }
    }
    if (files && !files->Error().empty()) {
      std::cerr << "bootloader-sim: " << files->Error() << "\n";
      status = 1;
      break;
    }
    if (emulator->Released()) {
      if (releasedAt == 0) releasedAt = platform::NowMs();
      if (platform::NowMs() - releasedAt >= static_cast<uint64_t>(kLingerAfterReleaseMs)) {
        if (!keepRunning) break;
        emulator = std::make_unique<bootsim::BootLoaderEmulator>(id, faults, files.get());
        commandsShown = 0;
        releasedAt = 0;
      }
    }
  }
  if (verbose) std::cerr << "bootloader-sim: " << emulator->BlocksAccepted() << " blocks accepted, "
                         << emulator->ImagesCompleted() << " images\n";
  if (!link.empty()) {
    std::error_code ec;
    fs::remove(link, ec);
  }
  return status;
}
