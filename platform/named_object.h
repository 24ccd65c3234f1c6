#pragma once
// Named objects of the handheld (events; mutexes join them later), shared by
// the processes of one device and gone with the last handle, as the
// handheld's kernel keeps them.
//
// Each object is a file in the device root's "objects/" folder, named after
// the object (characters other than ASCII letters, digits, '_' and '-' are
// written as %XXXX, the UTF-16 unit in hex, so names keep their letter case
// and never leave the folder). The file holds the object's kind and state as
// short "key=value" lines:
//
//   kind=event
//   manualReset=0
//   signalled=1
//
// Every handle holds a shared lock (flock) on the file. An object exists
// exactly while some handle holds such a lock: a file whose lock nobody
// holds is left over from processes that ended, and counts as absent. The
// host releases the locks of a process that ends, however it ends, so
// objects vanish with the processes that hold them. Creating, opening,
// closing and every state change run under an exclusive lock on
// "objects/.namespace", so a create never races the last close.
//
// A mutex fits the same scheme: its file names the kind, and ownership is an
// exclusive lock on a second file next to it, which the host also releases
// when the owner ends.

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

// The longest object name, as on the handheld (MAX_PATH less the terminator).
inline constexpr size_t kMaxObjectNameLength = 259;

class NamedObject {
 public:
  using State = std::map<std::string, std::string>;

  NamedObject() = default;
  ~NamedObject();
  NamedObject(NamedObject&& other) noexcept;
  NamedObject& operator=(NamedObject&& other) noexcept;
  NamedObject(const NamedObject&) = delete;
  NamedObject& operator=(const NamedObject&) = delete;

  // Opens the object of that name, creating it with initialState when it
  // does not exist; *existed tells which. An object of another kind under
  // the name fails with kErrorInvalidHandle, as on the handheld. Names that
  // are empty or too long fail with kErrorInvalidParameter; a device
  // without a root with kErrorPathNotFound.
  ErrorCode Create(std::string_view kind, WStringView name, const State& initialState,
                   bool* existed);
  // Opens an existing object; kErrorFileNotFound when there is none.
  ErrorCode Open(std::string_view kind, WStringView name);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const WString& Name() const { return name_; }

  // Reads the state, lets change alter it and writes it back when it did,
  // all under the namespace lock, so that two processes never interleave.
  ErrorCode Update(const std::function<bool(State&)>& change);

  // The host file of an object's name on the current device (for tests and
  // tools).
  static std::filesystem::path HostPathOf(WStringView name);

 private:
  ErrorCode Attach(std::string_view kind, WStringView name, const State* initialState,
                   bool* existed);

  int fd_ = -1;
  WString name_;
  std::filesystem::path folder_;  // the objects folder of the handle's device
};

}  // namespace platform
