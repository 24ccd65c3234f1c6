#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "base/registry_file.h"
#include "platform/device.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

constexpr const char16_t* kSettings = u"\\SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings";

TEST(Registry, OpenFailsWhenAbsentCreateMakesParents) {
  test_support::TempDevice device;
  RegistryKey key;
  EXPECT_EQ(key.Open(Hive::CurrentUser, kSettings), kErrorFileNotFound);
  EXPECT_FALSE(key.IsOpen());
  bool created = false;
  ASSERT_EQ(key.Create(Hive::CurrentUser, kSettings, &created), kErrorSuccess);
  EXPECT_TRUE(created);
  RegistryKey again;
  ASSERT_EQ(again.Create(Hive::CurrentUser, u"software\\orlo\\gsm/gprs settings\\SETTINGS", &created),
            kErrorSuccess);
  EXPECT_FALSE(created);
  RegistryKey parent, child;
  ASSERT_EQ(parent.Open(Hive::CurrentUser, u"SOFTWARE\\ORLO"), kErrorSuccess);
  EXPECT_EQ(child.Open(parent, u"GSM/GPRS Settings\\Settings"), kErrorSuccess);
  EXPECT_EQ(key.Create(Hive::CurrentUser, u"bad\nname"), kErrorInvalidParameter);
}

TEST(Registry, SizeQueryProtocolAndTypedReads) {
  test_support::TempDevice device;
  RegistryKey key;
  ASSERT_EQ(key.Create(Hive::CurrentUser, kSettings), kErrorSuccess);
  ASSERT_EQ(key.SetString(u"HardReset", u"N"), kErrorSuccess);
  uint32_t type = 0, size = 0;
  ASSERT_EQ(key.QueryValue(u"hardreset", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 4u);  // "N" and its terminator
  uint8_t buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), 0xCC);
  size = 2;
  EXPECT_EQ(key.QueryValue(u"HardReset", &type, buffer, &size), kErrorMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buffer[0], 0xCC);  // left as it was
  size = sizeof buffer;
  ASSERT_EQ(key.QueryValue(u"HardReset", &type, buffer, &size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buffer[0], 'N');
  EXPECT_EQ(buffer[4], 0xCC);  // nothing written past the data
  EXPECT_EQ(key.QueryValue(u"Missing", &type, nullptr, &size), kErrorFileNotFound);

  uint32_t dword = 0;
  EXPECT_EQ(key.QueryDword(u"HardReset", dword), kErrorUnsupportedType);
  ASSERT_EQ(key.SetDword(u"Group", 2), kErrorSuccess);
  ASSERT_EQ(key.QueryDword(u"Group", dword), kErrorSuccess);
  EXPECT_EQ(dword, 2u);
  std::vector<WString> list;
  ASSERT_EQ(key.SetMultiString(u"List", {u"a", u"bc"}), kErrorSuccess);
  ASSERT_EQ(key.QueryMultiString(u"List", list), kErrorSuccess);
  EXPECT_EQ(list, (std::vector<WString>{u"a", u"bc"}));
  EXPECT_EQ(key.DeleteValue(u"List"), kErrorSuccess);
  EXPECT_EQ(key.DeleteValue(u"List"), kErrorFileNotFound);
}

TEST(Registry, EnumerationOrderIsStable) {
  test_support::TempDevice device;
  RegistryKey root;
  ASSERT_EQ(root.Create(Hive::LocalMachine, u"Comm\\RasBook"), kErrorSuccess);
  for (const char16_t* name : {u"WAP GPRS", u"gprs", u"CSD"}) {
    RegistryKey k;
    ASSERT_EQ(k.Create(root, name), kErrorSuccess);
  }
  ASSERT_EQ(root.SetDword(u"z", 1), kErrorSuccess);
  ASSERT_EQ(root.SetDword(u"a", 2), kErrorSuccess);
  ASSERT_EQ(root.SetDword(u"Z", 3), kErrorSuccess);  // same value, keeps its place and name
  std::vector<WString> keys, values;
  WString name;
  for (uint32_t i = 0; root.EnumSubKey(i, name) == kErrorSuccess; ++i) keys.push_back(name);
  for (uint32_t i = 0; root.EnumValue(i, name) == kErrorSuccess; ++i) values.push_back(name);
  EXPECT_EQ(keys, (std::vector<WString>{u"CSD", u"gprs", u"WAP GPRS"}));
  EXPECT_EQ(values, (std::vector<WString>{u"z", u"a"}));
  EXPECT_EQ(root.EnumSubKey(3, name), kErrorNoMoreItems);
  EXPECT_EQ(root.DeleteSubKey(u"GPRS"), kErrorSuccess);
  EXPECT_EQ(DeleteRegistryKey(Hive::LocalMachine, u"Comm"), kErrorSuccess);
  uint32_t count = 0;
  EXPECT_EQ(root.CountEntries(&count, nullptr), kErrorKeyDeleted);
}

TEST(Registry, PersistsThroughTheFile) {
  test_support::TempDevice device;
  {
    RegistryKey key;
    ASSERT_EQ(key.Create(Hive::CurrentUser, kSettings), kErrorSuccess);
    ASSERT_EQ(key.SetString(u"Name", u"Orange \"F\" \\ \u00e9\u20ac"), kErrorSuccess);
    ASSERT_EQ(key.SetBinary(u"DevCfg", {0, 1, 255}), kErrorSuccess);
  }
  // A fresh device object reads only what is in registry.reg.
  ScopedDevice reopened(device.Root());
  RegistryKey key;
  ASSERT_EQ(key.Open(Hive::CurrentUser, kSettings), kErrorSuccess);
  WString text;
  ASSERT_EQ(key.QueryString(u"Name", text), kErrorSuccess);
  EXPECT_EQ(text, u"Orange \"F\" \\ \u00e9\u20ac");
  std::vector<uint8_t> bytes;
  ASSERT_EQ(key.QueryBinary(u"DevCfg", bytes), kErrorSuccess);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 255}));
}

TEST(Registry, TwoProcessesWritingDifferentKeysLoseNothing) {
  test_support::TempDevice device;
  constexpr int kWrites = 40;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ScopedDevice own(device.Root());
    for (int i = 0; i < kWrites; ++i) {
      RegistryKey k;
      if (k.Create(Hive::CurrentUser, u"Child") != kErrorSuccess) _exit(1);
      if (k.SetDword(FormatInt(i), static_cast<uint32_t>(i)) != kErrorSuccess) _exit(2);
    }
    _exit(0);
  }
  for (int i = 0; i < kWrites; ++i) {
    RegistryKey k;
    ASSERT_EQ(k.Create(Hive::LocalMachine, u"Parent"), kErrorSuccess);
    ASSERT_EQ(k.SetDword(FormatInt(i), static_cast<uint32_t>(i)), kErrorSuccess);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ScopedDevice reopened(device.Root());
  uint32_t childValues = 0, parentValues = 0;
  RegistryKey c, p;
  ASSERT_EQ(c.Open(Hive::CurrentUser, u"Child"), kErrorSuccess);
  ASSERT_EQ(p.Open(Hive::LocalMachine, u"Parent"), kErrorSuccess);
  ASSERT_EQ(c.CountEntries(nullptr, &childValues), kErrorSuccess);
  ASSERT_EQ(p.CountEntries(nullptr, &parentValues), kErrorSuccess);
  EXPECT_EQ(childValues, static_cast<uint32_t>(kWrites));
  EXPECT_EQ(parentValues, static_cast<uint32_t>(kWrites));
}

TEST(Registry, MalformedFileIsReportedAndNeverEmptied) {
  test_support::TempDevice device;
  const std::string broken = std::string(kRegistryHeader) + "\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=bogus\n";
  {
    std::ofstream out(device.Root() / "registry.reg");
    out << broken;
  }
  RegistryKey key;
  EXPECT_EQ(key.Create(Hive::CurrentUser, u"B"), kErrorBadDb);
  EXPECT_EQ(key.Open(Hive::CurrentUser, u"A"), kErrorBadDb);
  auto error = device.Device().Registry().LoadError();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->rfind("registry.reg:4: ", 0), 0u) << *error;
  std::ifstream in(device.Root() / "registry.reg");
  std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(kept, broken);
}

TEST(Registry, WithoutADeviceRootTheRegistryIsInMemory) {
  ScopedDevice none("");
  RegistryKey key;
  ASSERT_EQ(key.Create(Hive::CurrentUser, u"X"), kErrorSuccess);
  EXPECT_EQ(key.SetDword(u"v", 1), kErrorSuccess);
}

}  // namespace
}  // namespace platform
