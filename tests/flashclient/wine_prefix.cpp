#include "tests/flashclient/wine_prefix.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>

extern char** environ;

namespace winetest {

namespace fs = std::filesystem;

namespace {

// A fresh prefix takes half a minute; a run of wineboot that takes longer
// than this is stuck.
constexpr int kCreateTimeoutSeconds = 180;
constexpr int kProbeTimeoutSeconds = 60;
constexpr char kReadyMarker[] = ".velm-prefix-ready";
constexpr char kProbeText[] = "wine-is-ready";

// The environment of a program in the prefix: ours, with the prefix, no
// debug output, no download prompts for the .NET and HTML runtimes, no
// display, and the test's own variables.
std::vector<std::string> ChildEnvironment(const fs::path& prefix, const WinePrefix::Environment& extra) {
  WinePrefix::Environment set{{"WINEPREFIX", prefix.string()},
                              {"WINEDEBUG", "-all"},
                              {"WINEDLLOVERRIDES", "mscoree,mshtml="}};
  set.insert(set.end(), extra.begin(), extra.end());
  auto replaced = [&](std::string_view entry) {
    std::string_view name = entry.substr(0, entry.find('='));
    if (name == "DISPLAY" || name == "WAYLAND_DISPLAY") return true;
    for (const auto& [n, v] : set)
      if (n == name) return true;
    return false;
  };
  std::vector<std::string> out;
  for (char** e = environ; *e != nullptr; ++e)
    if (!replaced(*e)) out.emplace_back(*e);
  for (const auto& [n, v] : set) out.push_back(n + "=" + v);
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> out;
  for (auto& t : texts) out.push_back(t.data());
  out.push_back(nullptr);
  return out;
}

class FileLock {
 public:
  explicit FileLock(const fs::path& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<WinePrefix> WinePrefix::Open(const fs::path& wine64, const fs::path& folder, std::string& whyNot) {
  if (wine64.empty() || ::access(wine64.c_str(), X_OK) != 0) {
    whyNot = "wine64 is not installed (scripts/bootstrap installs Debian's wine64)";
    return nullptr;
  }
  auto prefix = std::make_unique<WinePrefix>(wine64, folder);
  if (!prefix->MakeReady(whyNot)) return nullptr;
  ProgramRun probe = prefix->Run("cmd", {"/c", "echo", kProbeText}, {}, folder.parent_path(), kProbeTimeoutSeconds);
  if (probe.exitCode != 0 || probe.output.find(kProbeText) == std::string::npos) {
    whyNot = "a program in the prefix " + folder.string() + " does not run (exit " + std::to_string(probe.exitCode) +
             "): " + probe.output;
    return nullptr;
  }
  return prefix;
}

bool WinePrefix::MakeReady(std::string& why) const {
  std::error_code ec;
  fs::create_directories(folder_.parent_path(), ec);
  FileLock lock(folder_.string() + ".lock");
  if (fs::exists(folder_ / kReadyMarker)) return true;
  fs::remove_all(folder_, ec);  // a creation that was cut short
  ProgramRun boot = Run("wineboot", {"--init"}, {}, folder_.parent_path(), kCreateTimeoutSeconds);
  if (boot.exitCode != 0 || !fs::is_directory(folder_ / "dosdevices")) {
    why = "wineboot could not create the prefix " + folder_.string() + " (exit " + std::to_string(boot.exitCode) +
          (boot.timedOut ? ", timed out" : "") + "): " + boot.output;
    return false;
  }
  FILE* marker = std::fopen((folder_ / kReadyMarker).c_str(), "w");
  if (marker != nullptr) std::fclose(marker);
  return true;
}

ProgramRun WinePrefix::Run(const std::string& program, const std::vector<std::string>& args, const Environment& env,
                           const fs::path& workingFolder, int timeoutSeconds) const {
  ProgramRun run;
  // Everything the child needs is made before the fork: it only redirects,
  // changes folder and starts the program.
  std::vector<std::string> argvText{wine64_.string(), program};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<std::string> envText = ChildEnvironment(folder_, env);
  std::vector<char*> argv = Pointers(argvText);
  std::vector<char*> envp = Pointers(envText);
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return run;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(out[0]);
    ::close(out[1]);
    return run;
  }
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(out[1], STDERR_FILENO);
    if (::chdir(workingFolder.c_str()) != 0) ::_exit(126);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(out[1]);
  // The program's own end decides, not the end of its output: the Wine
  // server it starts may hold the pipe open for a while longer.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  int status = 0;
  bool ended = false;
  char buf[4096];
  while (!ended) {
    pollfd p{out[0], POLLIN, 0};
    if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN) != 0) {
      ssize_t n = ::read(out[0], buf, sizeof buf);
      if (n > 0) run.output.append(buf, static_cast<size_t>(n));
    }
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      ended = true;
    } else if (std::chrono::steady_clock::now() > deadline) {
      run.timedOut = true;
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      ended = true;
    }
  }
  // What is left in the pipe, without waiting for writers that live on.
  ::fcntl(out[0], F_SETFL, O_NONBLOCK);
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) run.output.append(buf, static_cast<size_t>(n));
  ::close(out[0]);
  run.exitCode = !run.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

WinePrefix::ComPort::ComPort(fs::path link, const std::string& device) : link_(std::move(link)) {
  std::error_code ec;
  fs::remove(link_, ec);
  fs::create_symlink(device, link_, ec);
  mapped_ = !ec;
}

WinePrefix::ComPort::~ComPort() {
  std::error_code ec;
  fs::remove(link_, ec);
}

std::unique_ptr<WinePrefix::ComPort> WinePrefix::MapComPort(int number, const std::string& device) const {
  return std::make_unique<ComPort>(folder_ / "dosdevices" / ("com" + std::to_string(number)), device);
}

std::string WinePrefix::WindowsPath(const fs::path& hostPath) {
  std::string path = "Z:" + fs::absolute(hostPath).string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace winetest
