#pragma once
// A reset of the handheld. A hard reset brings the registry back to the
// factory state ("registry.factory.reg", written when the device was laid
// out) while everything under fs/ survives, as the file store keeps its
// documents on the handheld. Either reset then starts the start-up program
// \Windows\VELMauto.exe when it exists; the journal records the reset and the
// start either way.

#include <optional>
#include <string>

#include "base/errors.h"

namespace platform {

inline constexpr char16_t kStartupProgram[] = u"\\Windows\\VELMauto.exe";

struct ResetResult {
  ErrorCode error = kErrorSuccess;      // restoring the registry
  bool startupFound = false;            // the start-up program existed
  std::optional<int> startupExitCode;   // when waited for
  std::string message;                  // why a hard reset failed
};

// Resets the current device; with wait, waits for the start-up program.
ResetResult ResetDevice(bool hard, bool wait);

}  // namespace platform
