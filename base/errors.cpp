#include "base/errors.h"

#include <cerrno>

namespace platform {

namespace {
thread_local ErrorCode t_lastError = kErrorSuccess;
}

ErrorCode LastError() { return t_lastError; }
void SetLastError(ErrorCode code) { t_lastError = code; }

ErrorCode FromErrno(int err) {
  switch (err) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return kErrorAccessDenied;
    case EEXIST: return kErrorAlreadyExists;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case ENAMETOOLONG: return kErrorBadPathname;
    case EBADF: return kErrorInvalidHandle;
    case EINVAL: return kErrorInvalidParameter;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EXDEV: return kErrorNotSameDevice;
    case ETXTBSY: return kErrorSharingViolation;
    case EBUSY: return kErrorBusy;
    case EFBIG: return kErrorFileTooLarge;
    case EIO: return kErrorIoDevice;
    case ENODEV:
    case ENXIO: return kErrorFileNotFound;  // a device that is not there
    case ENOTTY: return kErrorInvalidFunction;
    case ENOSYS:
    case EOPNOTSUPP: return kErrorNotSupported;
    case ELOOP: return kErrorCantResolveFilename;
    default: return kErrorGenFailure;
  }
}

}  // namespace platform
