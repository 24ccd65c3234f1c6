#include "platform/module.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <system_error>

#include "platform/device_path.h"

namespace platform {

namespace {

// How many Modules of the process hold each host library, so that DllMain
// runs once when it comes in and once when it leaves. A DllMain may load
// libraries of its own, hence the recursive lock.
std::recursive_mutex g_attachMutex;
std::map<void*, int> g_attached;

DllMainFunction FindDllMain(void* handle) {
  return reinterpret_cast<DllMainFunction>(::dlsym(handle, kDllMainExport));
}

// Counts the load; the first one runs the library's attach. False when the
// attach refused.
bool Attach(void* handle) {
  std::lock_guard lock(g_attachMutex);
  int& count = g_attached[handle];
  if (count == 0) {
    if (DllMainFunction dllMain = FindDllMain(handle);
        dllMain != nullptr && dllMain(handle, kDllProcessAttach, nullptr) == 0) {
      g_attached.erase(handle);
      return false;
    }
  }
  ++count;
  return true;
}

void Detach(void* handle) {
  std::lock_guard lock(g_attachMutex);
  auto it = g_attached.find(handle);
  if (it == g_attached.end() || --it->second > 0) return;
  g_attached.erase(it);
  if (DllMainFunction dllMain = FindDllMain(handle)) dllMain(handle, kDllProcessDetach, nullptr);
}

}  // namespace

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
  if (!Attach(h)) {
    ::dlclose(h);
    loadMessage_ = "the library's initialisation failed";
    SetLastError(kErrorDllInitFailed);
    return kErrorDllInitFailed;
  }
  handle_ = h;
  hostPath_ = host;
  return kErrorSuccess;
}

void Module::Free() {
  if (handle_ != nullptr) {
    Detach(handle_);
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
