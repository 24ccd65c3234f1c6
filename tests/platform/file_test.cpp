#include "platform/file.h"

#include <gtest/gtest.h>

#include "platform/file_finder.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(File, ReadWriteSeekSize) {
  test_support::TempDevice device;
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

TEST(File, DispositionsReportTheHandheldsErrors) {
  test_support::TempDevice device;
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

TEST(File, SharingRules) {
  test_support::TempDevice device;
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

TEST(File, CopyDeleteAndFolders) {
  test_support::TempDevice device;
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

TEST(File, ReplaceOverwritesInOneStep) {
  test_support::TempDevice device;
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

TEST(FileFinder, EnumeratesInAStableOrder) {
  test_support::TempDevice device;
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
