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

// Maps a device path onto the host file below the current device's fs/.
// Errors: kErrorPathNotFound (no device root), kErrorBadPathname (escapes
// the root, too long), kErrorInvalidName (a forbidden character).
ErrorCode ResolveDevicePath(WStringView path, std::filesystem::path& hostPath);

// The same from an already split path.
ErrorCode ResolveDeviceParts(const std::vector<WString>& parts, std::filesystem::path& hostPath);

// The device path of the folder part and the last name of a path.
WString DeviceParentPath(WStringView path);
WString DeviceFileName(WStringView path);

}  // namespace platform
