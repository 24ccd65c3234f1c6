// What the driver keeps in and reads from the real registry (Wine's, in
// the test's private prefix): the OS family from the system's version text,
// and the radio module variant under the current user.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "flashclient/gsm_module_registry.h"
#include "flashclient/os_family.h"
#include "flashclient/test_hooks.h"

namespace {

constexpr char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kDriverKey[] = "Software\\Marvane\\qzDRK";
constexpr char kDriverParentKey[] = "Software\\Marvane";

// The system's "CurrentVersion" text, put back after the test.
class SystemVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_),
              ERROR_SUCCESS);
    char value[256] = {};
    DWORD size = sizeof value - 1;
    ASSERT_EQ(::RegQueryValueExA(key_, "CurrentVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    original_ = value;
  }
  void TearDown() override {
    if (key_ == nullptr) return;
    Set(original_);
    ::RegCloseKey(key_);
  }
  void Set(const std::string& text) {
    ASSERT_EQ(::RegSetValueExA(key_, "CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
  }

  HKEY key_ = nullptr;
  std::string original_;
  platform::ManualClock clock_;
};

TEST_F(SystemVersion, NamesTheFamilyOnceForTheLoad) {
  struct Case {
    std::string text;
    int32_t family;
  };
  const Case cases[] = {
      {"3.51", drkclient::kOsFamilyNt4},  {"4.0", drkclient::kOsFamilyNt4},   {"5.0", drkclient::kOsFamilyNt5},
      {"5.1", drkclient::kOsFamilyNt5},   {"6.3", drkclient::kOsFamilyNt5},   {"", drkclient::kOsFamilyOther},
      {"Windows", drkclient::kOsFamilyOther},
      // Longer than the 100 bytes read: no family read.
      {"5." + std::string(120, '1'), drkclient::kOsFamilyOther},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    drkclient::ScopedDriverForTest fresh(clock_, drkclient::DefaultPortOpener());
    Set(c.text);
    EXPECT_EQ(drkclient::DetectOsFamily(), c.family);
    Set("4.0");
    EXPECT_EQ(drkclient::DetectOsFamily(), c.family);  // kept for the load
  }
}

// The driver's key, removed before and after each test: it belongs to the
// test's own Wine prefix.
class LastGsmModule : public ::testing::Test {
 protected:
  void SetUp() override { Remove(); }
  void TearDown() override { Remove(); }
  static void Remove() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kDriverKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kDriverParentKey);
  }
  static bool KeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kDriverKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
  }
  static HKEY CreateKey() {
    HKEY key = nullptr;
    EXPECT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kDriverKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }
};

TEST_F(LastGsmModule, WithoutTheKeyReadsZeroAndStoresNothing) {
  EXPECT_EQ(drkclient::ReadLastGsmModule(), drkclient::kGsmModuleNone);
  EXPECT_FALSE(drkclient::WriteLastGsmModule(drkclient::kGsmModuleD));
  EXPECT_FALSE(KeyExists());  // opened, never created
}

TEST_F(LastGsmModule, IsADwordUnderTheCurrentUser) {
  HKEY key = CreateKey();
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(drkclient::WriteLastGsmModule(drkclient::kGsmModuleE));
  EXPECT_EQ(drkclient::ReadLastGsmModule(), drkclient::kGsmModuleE);
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(::RegQueryValueExA(key, "Last_GSM_module", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 4u);

  // A value of another type is no variant.
  ASSERT_EQ(::RegSetValueExA(key, "Last_GSM_module", 0, REG_SZ, reinterpret_cast<const BYTE*>("3"), 2), ERROR_SUCCESS);
  EXPECT_EQ(drkclient::ReadLastGsmModule(), drkclient::kGsmModuleNone);
  ::RegCloseKey(key);
}

}  // namespace
