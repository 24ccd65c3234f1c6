#pragma once
// Libraries of the handheld. Loading a library by device path loads the host
// shared object at that path (dlopen); looking up an export is dlsym. A bare
// name without any separator is searched in \Windows\, as the handheld's
// loader does for system libraries.
//
// A library may export an initialisation routine "DllMain" of the
// handheld's shape, int DllMain(void* module, uint32_t reason, void*
// reserved). The loader calls it with kDllProcessAttach when the library
// first comes into the process and with kDllProcessDetach when the last
// Module holding it frees it. An attach that answers 0 makes the load fail
// with kErrorDllInitFailed, and the library leaves the process again, as on
// the handheld a library whose start-up fails does not load.

#include <filesystem>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

inline constexpr char kDllMainExport[] = "DllMain";
inline constexpr uint32_t kDllProcessDetach = 0;
inline constexpr uint32_t kDllProcessAttach = 1;
using DllMainFunction = int (*)(void* module, uint32_t reason, void* reserved);

class Module {
 public:
  Module() = default;
  ~Module();
  Module(Module&& other) noexcept;
  Module& operator=(Module&& other) noexcept;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Errors: kErrorModNotFound (no such file), kErrorBadExeFormat (the file
  // is not a loadable library), kErrorDllInitFailed (its DllMain refused),
  // or a path error.
  ErrorCode Load(WStringView path);
  void Free();
  bool IsLoaded() const { return handle_ != nullptr; }

  // The export's address, or null with kErrorProcNotFound as last error.
  void* Export(const char* name) const;

  template <typename Fn>
  Fn ExportAs(const char* name) const {
    return reinterpret_cast<Fn>(Export(name));
  }

  const std::filesystem::path& HostPath() const { return hostPath_; }
  // The host loader's message for the last failed Load.
  const std::string& LoadMessage() const { return loadMessage_; }

 private:
  void* handle_ = nullptr;
  std::filesystem::path hostPath_;
  std::string loadMessage_;
};

// The device path a library name is loaded from.
WString LibrarySearchPath(WStringView name);

}  // namespace platform
