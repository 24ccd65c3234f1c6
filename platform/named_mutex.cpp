#include "platform/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {

namespace {

constexpr char kKind[] = "mutex";
constexpr char kOwnerSuffix[] = ".owner";

// Takes the owner lock at once or not at all.
int TakeOwnership(WStringView name) {
  const std::filesystem::path path = NamedObject::HostPathOf(name).string() + kOwnerSuffix;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

NamedMutex::NamedMutex(NamedMutex&& other) noexcept
    : object_(std::move(other.object_)), ownerFd_(std::exchange(other.ownerFd_, -1)) {}

NamedMutex& NamedMutex::operator=(NamedMutex&& other) noexcept {
  if (this != &other) {
    Close();
    object_ = std::move(other.object_);
    ownerFd_ = std::exchange(other.ownerFd_, -1);
  }
  return *this;
}

ErrorCode NamedMutex::Create(WStringView name, bool initialOwner, bool* existed) {
  Close();
  bool found = false;
  if (ErrorCode e = object_.Create(kKind, name, {}, &found); e != kErrorSuccess) return e;
  if (existed) *existed = found;
  if (!found && initialOwner) {
    ownerFd_ = TakeOwnership(name);
    if (ownerFd_ < 0) {
      object_.Close();
      return kErrorAccessDenied;
    }
  }
  return kErrorSuccess;
}

ErrorCode NamedMutex::Release() {
  if (ownerFd_ < 0) return kErrorNotOwner;
  ::flock(ownerFd_, LOCK_UN);
  ::close(ownerFd_);
  ownerFd_ = -1;
  return kErrorSuccess;
}

void NamedMutex::Close() {
  Release();
  object_.Close();
}

}  // namespace platform
