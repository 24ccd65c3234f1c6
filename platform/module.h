#pragma once
// Libraries of the handheld. Loading a library by device path loads the host
// shared object at that path (dlopen); looking up an export is dlsym. A bare
// name without any separator is searched in \Windows\, as the handheld's
// loader does for system libraries.

#include <filesystem>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

class Module {
 public:
  Module() = default;
  ~Module();
  Module(Module&& other) noexcept;
  Module& operator=(Module&& other) noexcept;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Errors: kErrorModNotFound (no such file), kErrorBadExeFormat (the file
  // is not a loadable library), or a path error.
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
