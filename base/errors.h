#pragma once
// Error codes of the emulated platform. The values are the handheld's own
// (Win32) numbers, so code written against the handheld's APIs compares with
// the numbers it expects.

#include <cstdint>

namespace platform {

using ErrorCode = long;

inline constexpr ErrorCode kErrorSuccess = 0;
inline constexpr ErrorCode kErrorInvalidFunction = 1;
inline constexpr ErrorCode kErrorFileNotFound = 2;
inline constexpr ErrorCode kErrorPathNotFound = 3;
inline constexpr ErrorCode kErrorTooManyOpenFiles = 4;
inline constexpr ErrorCode kErrorAccessDenied = 5;
inline constexpr ErrorCode kErrorInvalidHandle = 6;
inline constexpr ErrorCode kErrorNotEnoughMemory = 8;
inline constexpr ErrorCode kErrorNotSameDevice = 17;
inline constexpr ErrorCode kErrorNoMoreFiles = 18;
inline constexpr ErrorCode kErrorWriteFault = 29;
inline constexpr ErrorCode kErrorReadFault = 30;
inline constexpr ErrorCode kErrorGenFailure = 31;
inline constexpr ErrorCode kErrorSharingViolation = 32;
inline constexpr ErrorCode kErrorHandleEof = 38;
inline constexpr ErrorCode kErrorNotSupported = 50;
inline constexpr ErrorCode kErrorFileExists = 80;
inline constexpr ErrorCode kErrorInvalidParameter = 87;
inline constexpr ErrorCode kErrorDiskFull = 112;
inline constexpr ErrorCode kErrorInsufficientBuffer = 122;
inline constexpr ErrorCode kErrorInvalidName = 123;
inline constexpr ErrorCode kErrorModNotFound = 126;
inline constexpr ErrorCode kErrorProcNotFound = 127;
inline constexpr ErrorCode kErrorDirNotEmpty = 145;
inline constexpr ErrorCode kErrorBadPathname = 161;
inline constexpr ErrorCode kErrorBusy = 170;
inline constexpr ErrorCode kErrorAlreadyExists = 183;
inline constexpr ErrorCode kErrorBadExeFormat = 193;
inline constexpr ErrorCode kErrorFileTooLarge = 223;
inline constexpr ErrorCode kErrorMoreData = 234;
inline constexpr ErrorCode kErrorNoMoreItems = 259;
inline constexpr ErrorCode kErrorInvalidFlags = 1004;
inline constexpr ErrorCode kErrorBadDb = 1009;
inline constexpr ErrorCode kErrorKeyDeleted = 1018;
inline constexpr ErrorCode kErrorIoDevice = 1117;
inline constexpr ErrorCode kErrorResourceDataNotFound = 1812;
inline constexpr ErrorCode kErrorResourceTypeNotFound = 1813;
inline constexpr ErrorCode kErrorResourceNameNotFound = 1814;
inline constexpr ErrorCode kErrorUnsupportedType = 1630;
inline constexpr ErrorCode kErrorCantResolveFilename = 1921;

// The calling thread's last error, as GetLastError/SetLastError keep it.
ErrorCode LastError();
void SetLastError(ErrorCode code);

// Maps a host errno value onto the nearest platform code; an errno without
// a counterpart is a general failure, never a refusal the caller did not get.
ErrorCode FromErrno(int err);

}  // namespace platform
