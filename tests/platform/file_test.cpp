#include "platform/file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/device_path.h"
#include "platform/file_finder.h"
#include "platform/memory_file_system.h"
#include "platform/module.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using Storage = test_support::TempDevice::Storage;

// The file calls behave the same on a device in a host folder and on one in
// memory; each test runs on both.
class FileCalls : public ::testing::TestWithParam<Storage> {};

INSTANTIATE_TEST_SUITE_P(Storage, FileCalls, ::testing::Values(Storage::HostFolder, Storage::Memory),
                         [](const auto& info) {
                           return info.param == Storage::Memory ? "Memory" : "HostFolder";
                         });

TEST_P(FileCalls, ReadWriteSeekSize) {
  test_support::TempDevice device(GetParam());
  File f;
  ASSERT_EQ(f.Open(u"\\Yvra File Store\\doc.bin", kGenericRead | kGenericWrite, kShareNone,
                   CreationDisposition::CreateNew),
            kErrorSuccess);
  size_t n = 0;
  ASSERT_EQ(f.Write("hello world", 11, &n), kErrorSuccess);
  EXPECT_EQ(n, 11u);
  uint64_t pos = 0, size = 0;
  ASSERT_EQ(f.Seek(6, SeekOrigin::Begin, &pos), kErrorSuccess);
  EXPECT_EQ(pos, 6u);
  char buf[16] = {};
  ASSERT_EQ(f.Read(buf, sizeof buf, &n), kErrorSuccess);
  EXPECT_EQ(std::string(buf, n), "world");
  ASSERT_EQ(f.Read(buf, sizeof buf, &n), kErrorSuccess);
  EXPECT_EQ(n, 0u);  // end of file
  ASSERT_EQ(f.Size(&size), kErrorSuccess);
  EXPECT_EQ(size, 11u);
  f.Close();
  EXPECT_EQ(device.ReadFile("Yvra File Store/doc.bin"), "hello world");
}

TEST_P(FileCalls, DispositionsReportTheHandheldsErrors) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("Windows/a.txt", "abc");
  File f;
  EXPECT_EQ(f.Open(u"\\Windows\\a.txt", kGenericWrite, 0, CreationDisposition::CreateNew),
            kErrorFileExists);
  EXPECT_EQ(f.Open(u"\\Windows\\missing", kGenericRead, 0, CreationDisposition::OpenExisting),
            kErrorFileNotFound);
  EXPECT_EQ(LastError(), kErrorFileNotFound);
  EXPECT_EQ(f.Open(u"\\NoFolder\\x", kGenericWrite, 0, CreationDisposition::CreateAlways),
            kErrorPathNotFound);
  EXPECT_EQ(f.Open(u"\\Windows", kGenericRead, 0, CreationDisposition::OpenExisting),
            kErrorAccessDenied);
  ASSERT_EQ(f.Open(u"\\Windows\\A.TXT", kGenericWrite, 0, CreationDisposition::TruncateExisting),
            kErrorSuccess);
  f.Close();
  EXPECT_EQ(device.ReadFile("Windows/a.txt"), "");
  File g;
  EXPECT_EQ(g.Read(nullptr, 0, nullptr), kErrorInvalidHandle);
}

TEST_P(FileCalls, SharingRules) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("Windows/shared.ini", "x");
  struct Case {
    uint32_t firstAccess, firstShare, secondAccess, secondShare;
    bool secondOpens;
  } cases[] = {
      {kGenericRead, kShareRead | kShareWrite, kGenericRead, kShareRead | kShareWrite, true},
      {kGenericRead, kShareRead | kShareWrite, kGenericWrite, kShareRead, true},
      {kGenericRead, kShareRead, kGenericWrite, kShareRead, false},  // first does not share writing
      {kGenericRead, kShareNone, kGenericRead, kShareRead, false},
      {kGenericWrite, kShareRead | kShareWrite, kGenericRead, kShareRead, false},  // second must share writing
  };
  for (const auto& c : cases) {
    File first, second;
    ASSERT_EQ(first.Open(u"\\Windows\\shared.ini", c.firstAccess, c.firstShare,
                         CreationDisposition::OpenExisting),
              kErrorSuccess);
    ErrorCode e = second.Open(u"\\windows\\SHARED.ini", c.secondAccess, c.secondShare,
                              CreationDisposition::OpenExisting);
    EXPECT_EQ(e, c.secondOpens ? kErrorSuccess : kErrorSharingViolation);
  }
  File open;
  ASSERT_EQ(open.Open(u"\\Windows\\shared.ini", kGenericRead, kShareRead,
                      CreationDisposition::OpenExisting),
            kErrorSuccess);
  EXPECT_EQ(DeleteDeviceFile(u"\\Windows\\shared.ini"), kErrorSharingViolation);
  File moved = std::move(open);
  moved.Close();
  EXPECT_EQ(DeleteDeviceFile(u"\\Windows\\shared.ini"), kErrorSuccess);
}

TEST_P(FileCalls, CopyDeleteAndFolders) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("velmCustom/GPRSope.inf", "new");
  device.WriteFile("Yvra ROM/GPRS Settings/gprsope.inf", "old");
  EXPECT_EQ(CopyDeviceFile(u"velmCustom\\GPRSope.inf", u"\\Yvra ROM\\GPRS Settings\\GPRSope.inf",
                           true),
            kErrorFileExists);
  ASSERT_EQ(CopyDeviceFile(u"velmCustom\\GPRSope.inf", u"\\Yvra ROM\\GPRS Settings\\GPRSope.inf",
                           false),
            kErrorSuccess);
  EXPECT_EQ(device.ReadFile("Yvra ROM/GPRS Settings/gprsope.inf"), "new");
  EXPECT_EQ(RemoveDeviceDirectory(u"velmCustom"), kErrorDirNotEmpty);
  EXPECT_EQ(DeleteDeviceFile(u"velmCustom\\GPRSope.inf"), kErrorSuccess);
  EXPECT_EQ(DeleteDeviceFile(u"velmCustom\\GPRSope.inf"), kErrorFileNotFound);
  EXPECT_EQ(RemoveDeviceDirectory(u"velmCustom"), kErrorSuccess);
  EXPECT_FALSE(FileExists(u"velmCustom"));
  EXPECT_EQ(CreateDeviceDirectory(u"\\A\\B"), kErrorPathNotFound);
  EXPECT_EQ(CreateDeviceDirectory(u"\\A"), kErrorSuccess);
  EXPECT_EQ(CreateDeviceDirectory(u"\\a"), kErrorAlreadyExists);
  EXPECT_TRUE(IsDirectory(u"\\a"));
  EXPECT_EQ(RemoveDeviceDirectory(u"\\"), kErrorAccessDenied);
}

TEST_P(FileCalls, ReplaceOverwritesInOneStep) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("Windows/doc.dat", "old");
  device.WriteFile("Windows/doc.dat.~0", "new");
  device.WriteFile("Windows/other", "x");
  device.WriteFile("Windows/sub/inside", "x");
  ASSERT_EQ(ReplaceDeviceFile(u"\\Windows\\doc.dat.~0", u"\\Windows\\DOC.DAT"), kErrorSuccess);
  EXPECT_EQ(device.ReadFile("Windows/doc.dat"), "new");
  EXPECT_FALSE(FileExists(u"\\Windows\\doc.dat.~0"));
  // A target that does not exist yet is created.
  ASSERT_EQ(ReplaceDeviceFile(u"\\Windows\\doc.dat", u"\\Windows\\fresh.dat"), kErrorSuccess);
  EXPECT_EQ(device.ReadFile("Windows/fresh.dat"), "new");

  EXPECT_EQ(ReplaceDeviceFile(u"\\Windows\\missing", u"\\Windows\\other"), kErrorFileNotFound);
  EXPECT_EQ(device.ReadFile("Windows/other"), "x");
  EXPECT_EQ(ReplaceDeviceFile(u"\\Windows\\other", u"\\Windows\\sub"), kErrorAccessDenied);
  EXPECT_EQ(ReplaceDeviceFile(u"\\Windows\\sub", u"\\Windows\\other"), kErrorAccessDenied);
  File open;
  ASSERT_EQ(open.Open(u"\\Windows\\other", kGenericRead, kShareRead | kShareWrite,
                      CreationDisposition::OpenExisting),
            kErrorSuccess);
  EXPECT_EQ(ReplaceDeviceFile(u"\\Windows\\fresh.dat", u"\\Windows\\other"), kErrorSharingViolation);
  EXPECT_EQ(LastError(), kErrorSharingViolation);
  open.Close();
  EXPECT_EQ(device.ReadFile("Windows/other"), "x");
}

TEST_P(FileCalls, PathsFindNamesWithoutRegardToCase) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("Windows/VELM.CPL", "cpl");
  struct Case {
    const char16_t* path;
    CreationDisposition disposition;
    ErrorCode error;
  } cases[] = {
      {u"\\windows\\velm.cpl", CreationDisposition::OpenExisting, kErrorSuccess},
      {u"/WINDOWS//Velm.Cpl", CreationDisposition::OpenExisting, kErrorSuccess},
      {u"Windows\\.\\sub\\..\\VELM.CPL", CreationDisposition::OpenExisting, kErrorSuccess},
      {u"\\Windows\\missing", CreationDisposition::OpenExisting, kErrorFileNotFound},
      {u"\\NoFolder\\x", CreationDisposition::OpenExisting, kErrorFileNotFound},
      {u"\\NoFolder\\x", CreationDisposition::OpenAlways, kErrorPathNotFound},
      {u"\\Windows\\VELM.CPL\\x", CreationDisposition::OpenExisting, kErrorPathNotFound},
      {u"\\Windows\\VELM.CPL\\x", CreationDisposition::CreateAlways, kErrorPathNotFound},
      {u"\\", CreationDisposition::OpenExisting, kErrorAccessDenied},
      {u"\\..\\registry.reg", CreationDisposition::OpenExisting, kErrorBadPathname},
      {u"\\Windows\\a:b", CreationDisposition::CreateAlways, kErrorInvalidName},
  };
  for (const auto& c : cases) {
    File f;
    EXPECT_EQ(f.Open(c.path, kGenericRead, kShareRead, c.disposition), c.error) << ToUtf8(c.path);
    if (c.error == kErrorSuccess) {
      char buf[8];
      size_t n = 0;
      ASSERT_EQ(f.Read(buf, sizeof buf, &n), kErrorSuccess);
      EXPECT_EQ(std::string(buf, n), "cpl");
    }
  }
  // A new name keeps its case; an existing one is reached in any case.
  ASSERT_EQ(WriteDeviceFile(u"\\WINDOWS\\NewFile.txt", "new"), kErrorSuccess);
  ASSERT_EQ(WriteDeviceFile(u"\\windows\\NEWFILE.TXT", "again"), kErrorSuccess);
  FileFinder finder;
  FindData d;
  std::vector<WString> names;
  for (ErrorCode e = finder.FindFirst(u"\\Windows\\*", d); e == kErrorSuccess; e = finder.FindNext(d))
    names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<WString>{u"NewFile.txt", u"VELM.CPL"}));
  EXPECT_EQ(device.ReadFile("Windows/NewFile.txt"), "again");
  EXPECT_EQ(GetFileAttributes(u"\\windows"), kAttributeDirectory);
  EXPECT_EQ(GetFileAttributes(u"\\Windows\\velm.cpl"), kAttributeNormal);
  EXPECT_EQ(GetFileAttributes(u"\\Windows\\VELM.CPL\\x"), kInvalidAttributes);
  EXPECT_EQ(LastError(), kErrorPathNotFound);
}

TEST_P(FileCalls, MoveRenamesFilesAndFolders) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("velmCustom/a.inf", "a");
  device.WriteFile("velmCustom/b.inf", "b");
  EXPECT_EQ(MoveDeviceFile(u"\\velmCustom\\a.inf", u"\\velmCustom\\B.INF"), kErrorAlreadyExists);
  EXPECT_EQ(MoveDeviceFile(u"\\velmCustom\\none", u"\\velmCustom\\c"), kErrorFileNotFound);
  ASSERT_EQ(MoveDeviceFile(u"\\velmCustom\\a.inf", u"\\Windows\\c.inf"), kErrorSuccess);
  EXPECT_EQ(device.ReadFile("Windows/c.inf"), "a");
  EXPECT_FALSE(FileExists(u"\\velmCustom\\a.inf"));
  ASSERT_EQ(MoveDeviceFile(u"\\velmCustom", u"\\Moved"), kErrorSuccess);
  EXPECT_EQ(device.ReadFile("Moved/b.inf"), "b");
  EXPECT_EQ(MoveDeviceFile(u"\\Moved", u"\\Moved\\Inside"), kErrorInvalidParameter);
  EXPECT_EQ(MoveDeviceFile(u"\\Moved\\b.inf", u"\\Missing\\b.inf"), kErrorFileNotFound);
  EXPECT_EQ(device.ReadFile("Moved/b.inf"), "b");
}

TEST(MemoryFileSystem, NoFileGrowsPastItsBound) {
  test_support::TempDevice device(test_support::TempDevice::Storage::Memory);
  File f;
  ASSERT_EQ(f.Open(u"\\big", kGenericRead | kGenericWrite, kShareNone, CreationDisposition::CreateNew),
            kErrorSuccess);
  uint64_t pos = 0, size = 0;
  ASSERT_EQ(f.Seek(INT64_MAX / 2, SeekOrigin::Begin, &pos), kErrorSuccess);
  size_t n = 1;
  EXPECT_EQ(f.Write("x", 1, &n), kErrorDiskFull);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(f.SetEnd(), kErrorDiskFull);
  EXPECT_EQ(f.Seek(INT64_MAX, SeekOrigin::Current, &pos), kErrorInvalidParameter);
  EXPECT_EQ(f.Seek(-1, SeekOrigin::Begin, &pos), kErrorInvalidParameter);
  // Right at the bound a write still fits; a byte beyond does not.
  ASSERT_EQ(f.Seek(MemoryFileSystem::kMaxFileSize - 1, SeekOrigin::Begin, &pos), kErrorSuccess);
  EXPECT_EQ(f.Write("x", 1, &n), kErrorSuccess);
  EXPECT_EQ(f.Write("y", 1, &n), kErrorDiskFull);
  ASSERT_EQ(f.Size(&size), kErrorSuccess);
  EXPECT_EQ(size, MemoryFileSystem::kMaxFileSize);
  ASSERT_EQ(f.Seek(3, SeekOrigin::Begin, &pos), kErrorSuccess);
  ASSERT_EQ(f.SetEnd(), kErrorSuccess);
  ASSERT_EQ(f.Size(&size), kErrorSuccess);
  EXPECT_EQ(size, 3u);
}

TEST(MemoryFileSystem, ADeviceInMemoryKeepsNothingOnTheHost) {
  {
    test_support::TempDevice device(test_support::TempDevice::Storage::Memory);
    device.WriteFile("Windows/VELM.CPL", "not a library");
    EXPECT_FALSE(CurrentDevice().HasRoot());
    std::filesystem::path host;
    EXPECT_EQ(ResolveDevicePath(u"\\Windows\\VELM.CPL", host), kErrorPathNotFound);
    Module module;
    EXPECT_NE(module.Load(u"VELM.CPL"), kErrorSuccess);
    EXPECT_NE(StartProcess(u"\\Windows\\VELM.CPL", u"", nullptr), kErrorSuccess);
    // The registry is the device's own too.
    RegistryKey key;
    ASSERT_EQ(key.Create(Hive::LocalMachine, u"Comm"), kErrorSuccess);
    ASSERT_EQ(key.SetDword(u"Kept", 1), kErrorSuccess);
  }
  // A new device in memory starts empty.
  test_support::TempDevice fresh(test_support::TempDevice::Storage::Memory);
  EXPECT_FALSE(FileExists(u"\\Windows\\VELM.CPL"));
  EXPECT_TRUE(IsDirectory(u"\\Yvra File Store"));
  RegistryKey key;
  EXPECT_EQ(key.Open(Hive::LocalMachine, u"Comm"), kErrorFileNotFound);
}

TEST(FileFinder, PatternsAsTheHandheldMatchesThem) {
  struct Case {
    const char16_t* pattern;
    const char16_t* name;
    bool matches;
  } cases[] = {
      {u"*.*", u"GPRSope.inf", true}, {u"*.*", u"README", true},
      {u"RondelRes.*", u"RondelRes.res", true}, {u"RondelRes.*", u"rondelres.DLL", true},
      {u"RondelRes.*", u"RondelRes", true},     {u"RondelRes.*", u"RondelRes2.res", false},
      {u"VELM?.inf", u"VELMa.inf", true},       {u"VELM?.inf", u"VELM.inf", false},
      {u"*config*.inf", u"VELMconfigLS.inf", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesPattern(c.pattern, c.name), c.matches) << ToUtf8(c.pattern) << " " << ToUtf8(c.name);
}

TEST_P(FileCalls, FinderEnumeratesInAStableOrder) {
  test_support::TempDevice device(GetParam());
  device.WriteFile("velmCustom/b.inf", "");
  device.WriteFile("velmCustom/A.bmp", "");
  device.WriteFile("velmCustom/c", "");
  FileFinder finder;
  FindData d;
  std::vector<WString> names;
  for (ErrorCode e = finder.FindFirst(u"velmCustom\\*.*", d); e == kErrorSuccess; e = finder.FindNext(d))
    names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<WString>{u"A.bmp", u"b.inf", u"c"}));
  EXPECT_EQ(finder.FindNext(d), kErrorNoMoreFiles);
  EXPECT_EQ(finder.FindFirst(u"velmCustom\\*.xyz", d), kErrorFileNotFound);
  EXPECT_EQ(finder.FindFirst(u"\\missing\\*.*", d), kErrorPathNotFound);
}

}  // namespace
}  // namespace platform
