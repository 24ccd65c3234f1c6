#pragma once
// bootloader-sim as a child process, for end-to-end tests and benchmarks:
// starts it, reads the terminal path it prints first, and stops it.

#include <sys/types.h>

#include <string>
#include <vector>

namespace bootsim {

class SimProcess {
 public:
  // Starts the program with the arguments; Path() is empty on failure.
  SimProcess(const std::string& program, std::vector<std::string> args);
  ~SimProcess();  // stops the sim if it still runs
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& Path() const { return path_; }
  // The exit status once the sim ends by itself within the time; -1 when
  // it ended by a signal, -2 when it still runs.
  int Wait(int seconds);

 private:
  pid_t pid_ = -1;
  std::string path_;
};

}  // namespace bootsim
