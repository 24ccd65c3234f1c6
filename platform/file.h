#pragma once
// Files of the handheld, addressed by device path (see device_path.h).
//
// Opening follows the handheld's rules: an access mask (read, write), a
// sharing mask that says what other handles may do at the same time, and a
// creation disposition. Two handles on one file conflict, as on the
// handheld, when one wants an access the other does not share; the open then
// fails with kErrorSharingViolation. Sharing is enforced among the handles of
// this process.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

enum FileAccess : uint32_t {
  kGenericRead = 0x80000000u,
  kGenericWrite = 0x40000000u,
};

enum FileShare : uint32_t {
  kShareNone = 0,
  kShareRead = 1,
  kShareWrite = 2,
};

enum class CreationDisposition {
  CreateNew = 1,         // fails with kErrorFileExists when present
  CreateAlways = 2,      // creates or truncates
  OpenExisting = 3,      // fails with kErrorFileNotFound when absent
  OpenAlways = 4,        // opens or creates
  TruncateExisting = 5,  // opens and truncates; fails when absent
};

enum class SeekOrigin { Begin, Current, End };

class File {
 public:
  File();
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  ErrorCode Open(WStringView path, uint32_t access, uint32_t share,
                 CreationDisposition disposition);
  void Close();
  bool IsOpen() const;

  // Reads up to size bytes; *read is 0 at the end of the file.
  ErrorCode Read(void* buffer, size_t size, size_t* read);
  ErrorCode Write(const void* data, size_t size, size_t* written);
  ErrorCode Seek(int64_t offset, SeekOrigin origin, uint64_t* position = nullptr);
  ErrorCode Size(uint64_t* size) const;
  ErrorCode SetEnd();
  ErrorCode Flush();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// File attributes, with the handheld's bits.
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeNormal = 0x80;
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// kInvalidAttributes when the path does not exist.
uint32_t GetFileAttributes(WStringView path);
bool FileExists(WStringView path);  // a file or a folder
bool IsDirectory(WStringView path);

ErrorCode CopyDeviceFile(WStringView from, WStringView to, bool failIfExists);
ErrorCode DeleteDeviceFile(WStringView path);
ErrorCode MoveDeviceFile(WStringView from, WStringView to);
// Moves a file onto another name, replacing a file that is there, in one
// step: a reader sees either the old file or the new one, never a part of
// either. Used to store documents atomically (write a temporary file in the
// same folder, then replace). Fails with kErrorSharingViolation while the
// target is open in this process, and with kErrorAccessDenied when the target
// is a folder.
ErrorCode ReplaceDeviceFile(WStringView from, WStringView to);
ErrorCode CreateDeviceDirectory(WStringView path);
// Fails with kErrorDirNotEmpty unless the folder is empty.
ErrorCode RemoveDeviceDirectory(WStringView path);

// Whole-file helpers for callers that need the bytes; the size is bounded.
ErrorCode ReadDeviceFile(WStringView path, size_t maxSize, std::string& out);
ErrorCode WriteDeviceFile(WStringView path, const std::string& data);

}  // namespace platform
