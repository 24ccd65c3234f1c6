#include "platform/module.h"

#include <dlfcn.h>

#include <system_error>

#include "platform/device_path.h"

namespace platform {

Module::~Module() { Free(); }

Module::Module(Module&& other) noexcept
    : handle_(other.handle_), hostPath_(std::move(other.hostPath_)),
      loadMessage_(std::move(other.loadMessage_)) {
  other.handle_ = nullptr;
}

Module& Module::operator=(Module&& other) noexcept {
  if (this != &other) {
    Free();
    handle_ = other.handle_;
    hostPath_ = std::move(other.hostPath_);
    loadMessage_ = std::move(other.loadMessage_);
    other.handle_ = nullptr;
  }
  return *this;
}

WString LibrarySearchPath(WStringView name) {
  if (name.find(u'\\') == WStringView::npos && name.find(u'/') == WStringView::npos)
    return u"\\Windows\\" + WString(name);
  return WString(name);
}

ErrorCode Module::Load(WStringView path) {
  Free();
  loadMessage_.clear();
  std::filesystem::path host;
  if (ErrorCode e = ResolveDevicePath(LibrarySearchPath(path), host); e != kErrorSuccess) {
    SetLastError(e);
    return e;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) {
    SetLastError(kErrorModNotFound);
    return kErrorModNotFound;
  }
  dlerror();
  void* h = ::dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (h == nullptr) {
    const char* why = dlerror();
    loadMessage_ = why != nullptr ? why : "";
    SetLastError(kErrorBadExeFormat);
    return kErrorBadExeFormat;
  }
  handle_ = h;
  hostPath_ = host;
  return kErrorSuccess;
}

void Module::Free() {
  if (handle_ != nullptr) {
    ::dlclose(handle_);
    handle_ = nullptr;
  }
  hostPath_.clear();
}

void* Module::Export(const char* name) const {
  if (handle_ == nullptr || name == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return nullptr;
  }
  dlerror();
  void* p = ::dlsym(handle_, name);
  if (p == nullptr) SetLastError(kErrorProcNotFound);
  return p;
}

}  // namespace platform
