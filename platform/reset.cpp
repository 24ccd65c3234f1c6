#include "platform/reset.h"

#include "base/host_file.h"
#include "base/registry_file.h"
#include "platform/device.h"
#include "platform/journal.h"
#include "platform/process.h"

namespace platform {

namespace {

bool RestoreFactoryRegistry(Device& device, std::string& why) {
  std::string text;
  if (!ReadHostFile(device.FactoryRegistryPath(), RegistryFile::kMaxFileSize, text, &why))
    return false;
  RegistryTree tree;
  RegistryParseError err;
  if (!ParseRegistryText(text, tree, &err)) {
    why = device.FactoryRegistryPath().filename().string() + ":" + std::to_string(err.line) +
          ": " + err.message;
    return false;
  }
  if (device.Registry().Replace(tree) != kErrorSuccess) {
    why = "cannot write " + device.RegistryPath().string();
    return false;
  }
  return true;
}

}  // namespace

ResetResult ResetDevice(bool hard, bool wait) {
  ResetResult result;
  Device& device = CurrentDevice();
  if (!device.HasRoot()) {
    result.error = kErrorPathNotFound;
    result.message = "no device root";
    return result;
  }
  if (hard) {
    if (!RestoreFactoryRegistry(device, result.message)) {
      result.error = kErrorBadDb;
      JournalEvent("reset hard failed: " + result.message);
      return result;
    }
    JournalEvent("reset hard");
  } else {
    JournalEvent("reset soft");
  }
  Process process;
  ErrorCode e = StartProcess(kStartupProgram, u"", wait ? &process : nullptr);
  result.startupFound = e == kErrorSuccess;
  if (result.startupFound && wait) result.startupExitCode = process.Wait();
  return result;
}

}  // namespace platform
