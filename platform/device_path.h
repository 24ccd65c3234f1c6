#pragma once
// Device paths and where they live on the host.
//
// A device path is separated by backslashes (a forward slash counts as one
// too); a doubled separator counts as one; a path without a leading
// separator is taken from the root, as the handheld has no current folder.
// Each name is matched without regard to letter case against the names that
// exist (an exact match is preferred); names that do not exist yet keep the
// case they are given. "." is ignored and ".." goes up one folder, but never
// above the root: such a path is refused, and so is one that reaches outside
// fs/ through a symbolic link.

#include <filesystem>
#include <vector>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

// The handheld's MAX_PATH, terminator included.
inline constexpr size_t kMaxPath = 260;

// Splits a device path into its names, resolving "." and "..". Fails with
// kErrorBadPathname when ".." would leave the root.
ErrorCode SplitDevicePath(WStringView path, std::vector<WString>& parts);

// Whether a single name is allowed on the handheld (no control characters,
// none of < > : " / \ | ? *, not empty).
bool IsValidFileName(WStringView name);

class FileSystem;

// The current device's file store and the checked names of a device path:
// the errors of SplitDevicePath, kErrorPathNotFound when the device has no
// file system (no root), then those of CheckDeviceParts.
ErrorCode LocateDevicePath(WStringView path, FileSystem*& store, std::vector<WString>& parts);

// Whether split names may form a device path: kErrorInvalidName for a name
// the handheld forbids, kErrorBadPathname when the path is too long.
ErrorCode CheckDeviceParts(const std::vector<WString>& parts);

// Maps checked names onto the host below a folder, matching each name that
// exists there without regard to case. kErrorAccessDenied when a symbolic
// link leads outside the folder.
ErrorCode MapOntoHost(const std::filesystem::path& folder, const std::vector<WString>& parts,
                      std::filesystem::path& hostPath);

// Maps a device path onto the host file below the current device's fs/, for
// what only the host can do with a file (load it as a library, start it).
// Errors: kErrorPathNotFound (no device root: also for a device in memory),
// kErrorBadPathname (escapes the root, too long), kErrorInvalidName (a
// forbidden character), kErrorAccessDenied (a link leads outside fs/).
ErrorCode ResolveDevicePath(WStringView path, std::filesystem::path& hostPath);

// The same from an already split path.
ErrorCode ResolveDeviceParts(const std::vector<WString>& parts, std::filesystem::path& hostPath);

// The device path of the folder part and the last name of a path.
WString DeviceParentPath(WStringView path);
WString DeviceFileName(WStringView path);

}  // namespace platform
