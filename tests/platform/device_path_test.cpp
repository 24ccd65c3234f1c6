#include "platform/device_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(DevicePath, MatchesExistingNamesWithoutRegardToCase) {
  test_support::TempDevice device;
  device.WriteFile("Windows/VELM.CPL", "x");
  struct Case {
    const char16_t* path;
    const char* expected;  // below fs/
  } cases[] = {
      {u"\\Windows\\VELM.CPL", "Windows/VELM.CPL"},
      {u"\\windows\\velm.cpl", "Windows/VELM.CPL"},
      {u"\\\\WINDOWS\\\\Velm.Cpl", "Windows/VELM.CPL"},      // doubled separators
      {u"Windows\\VELM.CPL", "Windows/VELM.CPL"},            // taken from the root
      {u"/windows/velm.cpl", "Windows/VELM.CPL"},            // forward slashes
      {u"\\Windows\\.\\sub\\..\\VELM.CPL", "Windows/VELM.CPL"},
      {u"\\windows\\NewFile.txt", "Windows/NewFile.txt"},    // new names keep their case
      {u"\\NewDir\\Deeper\\X", "NewDir/Deeper/X"},
      {u"\\", ""},
  };
  for (const auto& c : cases) {
    fs::path host;
    ASSERT_EQ(ResolveDevicePath(c.path, host), kErrorSuccess) << ToUtf8(c.path);
    fs::path expected = device.Root() / "fs";
    if (*c.expected != '\0') expected /= c.expected;
    EXPECT_EQ(host, expected) << ToUtf8(c.path);
  }
}

TEST(DevicePath, RefusesEscapesAndBadNames) {
  test_support::TempDevice device;
  fs::create_directory(device.Root() / "outside");
  fs::create_directory_symlink(device.Root() / "outside", device.HostPath("link"));
  struct Case {
    const char16_t* path;
    ErrorCode error;
  } cases[] = {
      {u"\\..\\registry.reg", kErrorBadPathname},
      {u"\\Windows\\..\\..\\device.ini", kErrorBadPathname},
      {u"..", kErrorBadPathname},
      {u"\\link\\secret", kErrorAccessDenied},
      {u"\\Windows\\a:b", kErrorInvalidName},
      {u"\\Windows\\a*b", kErrorInvalidName},
      {u"\\Windows\\a\nb", kErrorInvalidName},
  };
  for (const auto& c : cases) {
    fs::path host;
    EXPECT_EQ(ResolveDevicePath(c.path, host), c.error) << ToUtf8(c.path);
  }
  fs::path host;
  EXPECT_EQ(ResolveDevicePath(WString(300, u'a'), host), kErrorBadPathname);
}

TEST(DevicePath, NoDeviceRootFailsCleanly) {
  ScopedDevice none("");
  fs::path host;
  EXPECT_EQ(ResolveDevicePath(u"\\Windows", host), kErrorPathNotFound);
}

TEST(DevicePath, ParentAndName) {
  EXPECT_EQ(DeviceParentPath(u"velmCustom\\*.*"), u"velmCustom\\");
  EXPECT_EQ(DeviceFileName(u"velmCustom\\*.*"), u"*.*");
  EXPECT_EQ(DeviceParentPath(u"\\RondelRes.*"), u"\\");
  EXPECT_EQ(DeviceFileName(u"name"), u"name");
}

}  // namespace
}  // namespace platform
