#include "platform/module.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

// The library's initialisation runs once when it comes into the process and
// once when the last Module holding it lets go; a refusing one fails the
// load and leaves nothing loaded.
class ModuleInitialisation : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"TEST_MODULE_ATTACHED", "TEST_MODULE_DETACHED", "TEST_MODULE_REFUSE"})
      unsetenv(name);
    std::filesystem::copy_file(TEST_INIT_MODULE_PATH, device_.HostPath("Windows/Init.dll"));
  }
  void TearDown() override { unsetenv("TEST_MODULE_REFUSE"); }
  static int Count(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? 0 : std::atoi(value);
  }

  test_support::TempDevice device_;
};

TEST_F(ModuleInitialisation, AttachOnceDetachWithTheLastHolder) {
  Module first, second;
  ASSERT_EQ(first.Load(u"Init.dll"), kErrorSuccess);
  ASSERT_EQ(second.Load(u"\\Windows\\Init.dll"), kErrorSuccess);
  EXPECT_EQ(Count("TEST_MODULE_ATTACHED"), 1);
  first.Free();
  EXPECT_EQ(Count("TEST_MODULE_DETACHED"), 0);
  Module moved = std::move(second);
  EXPECT_EQ(moved.ExportAs<int (*)()>("TestModuleAnswer")(), 43);
  moved.Free();
  EXPECT_EQ(Count("TEST_MODULE_DETACHED"), 1);
}

TEST_F(ModuleInitialisation, ARefusedAttachFailsTheLoad) {
  setenv("TEST_MODULE_REFUSE", "1", 1);
  Module m;
  EXPECT_EQ(m.Load(u"Init.dll"), kErrorDllInitFailed);
  EXPECT_EQ(LastError(), kErrorDllInitFailed);
  EXPECT_FALSE(m.IsLoaded());
  EXPECT_EQ(Count("TEST_MODULE_DETACHED"), 0);
  unsetenv("TEST_MODULE_REFUSE");
  ASSERT_EQ(m.Load(u"Init.dll"), kErrorSuccess);  // a later load attaches afresh
  EXPECT_EQ(Count("TEST_MODULE_ATTACHED"), 1);
}

}  // namespace
}  // namespace platform
