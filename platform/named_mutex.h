#pragma once
// Named mutexes of the handheld (CreateMutex, ReleaseMutex, CloseHandle),
// shared by the processes of one device through named_object.h: the mutex
// exists while some handle of any process holds it, and goes with the last
// handle, also when its process ends without closing it.
//
// Ownership is an exclusive lock (flock) on a second file beside the
// object's, "<object file>.owner", so the host gives it up when the owner
// ends however it ends. The owner file stays in the objects folder; only
// its lock means anything.

#include "base/errors.h"
#include "base/text.h"
#include "platform/named_object.h"

namespace platform {

class NamedMutex {
 public:
  NamedMutex() = default;
  ~NamedMutex() { Close(); }
  NamedMutex(NamedMutex&& other) noexcept;
  NamedMutex& operator=(NamedMutex&& other) noexcept;
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // Creates the mutex, or opens it when one of that name exists: then
  // *existed is true (the handheld's ERROR_ALREADY_EXISTS) and, as there,
  // initialOwner is ignored. A new mutex created with initialOwner is owned
  // by this handle. Errors as NamedObject::Create.
  ErrorCode Create(WStringView name, bool initialOwner, bool* existed = nullptr);
  // Gives up ownership; kErrorNotOwner when this handle does not own it.
  ErrorCode Release();
  // Releases ownership and closes the handle.
  void Close();

  bool IsOpen() const { return object_.IsOpen(); }
  bool Owned() const { return ownerFd_ >= 0; }

 private:
  NamedObject object_;
  int ownerFd_ = -1;
};

}  // namespace platform
