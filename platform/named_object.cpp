#include "platform/named_object.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/host_file.h"
#include "platform/device.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr char kKindKey[] = "kind";
// A state file is a few short lines; anything longer is not ours.
constexpr size_t kMaxStateSize = 1024;

fs::path ObjectsFolder() { return CurrentDevice().Root() / "objects"; }

std::string EscapeName(WStringView name) {
  std::string out;
  for (char16_t c : name) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
        c == u'_' || c == u'-') {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%%%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

bool LockFd(int fd, int op) {
  while (::flock(fd, op) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

bool ReadState(int fd, NamedObject::State& state) {
  char buf[kMaxStateSize + 1];
  ssize_t n;
  do {
    n = ::pread(fd, buf, sizeof buf, 0);
  } while (n < 0 && errno == EINTR);
  if (n < 0 || static_cast<size_t>(n) > kMaxStateSize) return false;
  state.clear();
  std::string_view text(buf, static_cast<size_t>(n));
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    state[std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
  }
  return true;
}

bool WriteState(int fd, const NamedObject::State& state) {
  std::string text;
  // The kind first, so a person reading the file sees it at once.
  if (auto kind = state.find(kKindKey); kind != state.end()) text += "kind=" + kind->second + "\n";
  for (const auto& [key, value] : state)
    if (key != kKindKey) text += key + "=" + value + "\n";
  if (text.size() > kMaxStateSize) return false;
  ssize_t n;
  do {
    n = ::pwrite(fd, text.data(), text.size(), 0);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(text.size()) && ::ftruncate(fd, n) == 0;
}

}  // namespace

NamedObject::~NamedObject() { Close(); }

NamedObject::NamedObject(NamedObject&& other) noexcept
    : fd_(other.fd_), name_(std::move(other.name_)), folder_(std::move(other.folder_)) {
  other.fd_ = -1;
}

NamedObject& NamedObject::operator=(NamedObject&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    name_ = std::move(other.name_);
    folder_ = std::move(other.folder_);
    other.fd_ = -1;
  }
  return *this;
}

fs::path NamedObject::HostPathOf(WStringView name) { return ObjectsFolder() / EscapeName(name); }

namespace {

fs::path GuardPath(const fs::path& folder) { return folder / ".namespace"; }

}  // namespace

ErrorCode NamedObject::Create(std::string_view kind, WStringView name, const State& initialState,
                              bool* existed) {
  return Attach(kind, name, &initialState, existed);
}

ErrorCode NamedObject::Open(std::string_view kind, WStringView name) {
  return Attach(kind, name, nullptr, nullptr);
}

ErrorCode NamedObject::Attach(std::string_view kind, WStringView name, const State* initialState,
                              bool* existed) {
  Close();
  if (name.empty() || name.size() > kMaxObjectNameLength) return kErrorInvalidParameter;
  if (!CurrentDevice().HasRoot()) return kErrorPathNotFound;
  const fs::path folder = ObjectsFolder();
  std::error_code ec;
  fs::create_directories(folder, ec);
  HostFileLock guard(GuardPath(folder), HostFileLock::Mode::Exclusive);
  if (!guard.Held()) return kErrorAccessDenied;

  const fs::path path = folder / EscapeName(name);
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (initialState ? O_CREAT : 0), 0644);
  if (fd < 0) return errno == ENOENT ? kErrorFileNotFound : FromErrno(errno);

  // Whoever holds the object holds a shared lock; an exclusive one that we
  // get at once means nobody does.
  const bool alive = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  State state;
  if (alive) {
    if (!LockFd(fd, LOCK_SH) || !ReadState(fd, state)) {
      ::close(fd);
      return kErrorAccessDenied;
    }
    if (state[kKindKey] != kind) {
      ::close(fd);
      return kErrorInvalidHandle;
    }
  } else {
    if (initialState == nullptr) {
      ::close(fd);
      return kErrorFileNotFound;
    }
    state = *initialState;
    state[kKindKey] = std::string(kind);
    if (!WriteState(fd, state) || !LockFd(fd, LOCK_SH)) {
      ::close(fd);
      return kErrorWriteFault;
    }
  }
  if (existed) *existed = alive;
  fd_ = fd;
  name_ = WString(name);
  folder_ = folder;
  return kErrorSuccess;
}

void NamedObject::Close() {
  if (fd_ < 0) return;
  {
    HostFileLock guard(GuardPath(folder_), HostFileLock::Mode::Exclusive);
    ::flock(fd_, LOCK_UN);
    // The last handle takes the file with it.
    if (guard.Held() && ::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      std::error_code ec;
      fs::remove(folder_ / EscapeName(name_), ec);
    }
  }
  ::close(fd_);
  fd_ = -1;
  name_.clear();
  folder_.clear();
}

ErrorCode NamedObject::Update(const std::function<bool(State&)>& change) {
  if (fd_ < 0) return kErrorInvalidHandle;
  HostFileLock guard(GuardPath(folder_), HostFileLock::Mode::Exclusive);
  if (!guard.Held()) return kErrorAccessDenied;
  State state;
  if (!ReadState(fd_, state)) return kErrorReadFault;
  if (change(state) && !WriteState(fd_, state)) return kErrorWriteFault;
  return kErrorSuccess;
}

}  // namespace platform
