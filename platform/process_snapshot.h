#pragma once
// The process list of the handheld (CreateToolhelp32Snapshot with
// TH32CS_SNAPPROCESS and Process32First/Next): the programs device.ini's
// "RunningProcesses" names, in that order, with made-up process ids. The
// emulator's own programs (the applet's hosts) are not listed; the list says
// which outside programs run, such as the platform's stress-test tool.

#include <cstdint>
#include <vector>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

struct ProcessEntry {
  WString exeFile;  // the executable's name as device.ini gives it
  uint32_t processId = 0;
};

class ProcessSnapshot {
 public:
  // Takes the list. Fails with kErrorPathNotFound on a device without a
  // root and with kErrorBadDb when device.ini cannot be read (the list is
  // then unknown); no process is listed then.
  ErrorCode Take();
  const std::vector<ProcessEntry>& Processes() const { return processes_; }

 private:
  std::vector<ProcessEntry> processes_;
};

}  // namespace platform
