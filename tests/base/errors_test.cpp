#include "base/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace platform {
namespace {

TEST(FromErrno, MapsHostErrorsOntoTheNearestCode) {
  struct Case {
    int err;
    ErrorCode code;
  } cases[] = {
      {0, kErrorSuccess},
      {ENOENT, kErrorFileNotFound},
      {ENOTDIR, kErrorPathNotFound},
      {EACCES, kErrorAccessDenied},
      {EROFS, kErrorAccessDenied},
      {ENOSPC, kErrorDiskFull},
      {EMFILE, kErrorTooManyOpenFiles},
      {ENOMEM, kErrorNotEnoughMemory},
      {EIO, kErrorIoDevice},
      {EFBIG, kErrorFileTooLarge},
      {EBUSY, kErrorBusy},
      {ENXIO, kErrorFileNotFound},
      {ENOTTY, kErrorInvalidFunction},
      {EOPNOTSUPP, kErrorNotSupported},
      // Anything without a counterpart is a general failure: a caller must
      // not be told it was refused access when it was not.
      {EPROTO, kErrorGenFailure},
      {EOWNERDEAD, kErrorGenFailure},
      {123456, kErrorGenFailure},
  };
  for (const Case& c : cases) EXPECT_EQ(FromErrno(c.err), c.code) << "errno " << c.err;
}

}  // namespace
}  // namespace platform
