#include "platform/module.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(Module, LoadsByPathAndFindsExports) {
  test_support::TempDevice device;
  std::filesystem::copy_file(TEST_MODULE_PATH, device.HostPath("Windows/QZUtil.dll"));
  for (const char16_t* path : {u"\\Windows\\QZUtil.dll", u"qzutil.dll"}) {  // bare name: \Windows
    Module m;
    ASSERT_EQ(m.Load(path), kErrorSuccess) << m.LoadMessage();
    auto answer = m.ExportAs<int (*)()>("TestModuleAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(m.Export("QZUtil_GetIMSI"), nullptr);
    EXPECT_EQ(LastError(), kErrorProcNotFound);
  }
}

TEST(Module, FailurePaths) {
  test_support::TempDevice device;
  device.WriteFile("Windows/VELM.CPL", "not a library");
  Module m;
  EXPECT_EQ(m.Load(u"\\Windows\\missing.dll"), kErrorModNotFound);
  EXPECT_EQ(m.Load(u"\\Windows\\VELM.CPL"), kErrorBadExeFormat);
  EXPECT_FALSE(m.LoadMessage().empty());
  EXPECT_FALSE(m.IsLoaded());
  EXPECT_EQ(m.Export("anything"), nullptr);
  EXPECT_EQ(m.Load(u"\\..\\escape.so"), kErrorBadPathname);
}

}  // namespace
}  // namespace platform
