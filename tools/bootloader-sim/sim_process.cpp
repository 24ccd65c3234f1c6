#include "tools/bootloader-sim/sim_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/clock.h"

extern char** environ;

namespace bootsim {

namespace {
constexpr int kWaitStepMs = 50;
}  // namespace

SimProcess::SimProcess(const std::string& program, std::vector<std::string> args) {
  int out[2];
  if (::pipe(out) != 0) return;
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  char c;
  while (pid_ > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') path_.push_back(c);
  ::close(out[0]);
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

int SimProcess::Wait(int seconds) {
  for (int i = 0; pid_ > 0 && i < seconds * 1000 / kWaitStepMs; ++i) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    platform::Sleep(kWaitStepMs);
  }
  return -2;
}

}  // namespace bootsim
