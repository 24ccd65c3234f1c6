// The registry file shared between handles (as between processes): change
// detection that cannot be fooled by repeating file stamps, leftovers of
// killed writers, the lock, and damaged files refused with their line.

#include "base/registry_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace platform {
namespace {

namespace fs = std::filesystem;

class RegistryFileTest : public ::testing::Test {
 protected:
  RegistryFileTest() {
    std::string pattern = (fs::temp_directory_path() / "velm-registry-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
  }
  ~RegistryFileTest() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  fs::path File() const { return dir_ / "registry.reg"; }
  void WriteText(const fs::path& path, const std::string& text) const {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string ReadText(const fs::path& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  static ErrorCode SetDword(RegistryFile& file, const WString& name, uint32_t value) {
    return file.Modify([&](RegistryTree& tree, bool& changed) {
      tree.FindOrCreate(Hive::CurrentUser, {u"Test"}).SetValue(RegistryValue::Dword(name, value));
      changed = true;
      return kErrorSuccess;
    });
  }
  static uint32_t ValueCount(RegistryFile& file) {
    uint32_t count = 0;
    file.Read([&](const RegistryTree& tree) {
      const RegistryNode* key = tree.Find(Hive::CurrentUser, {u"Test"});
      count = key != nullptr ? static_cast<uint32_t>(key->Values().size()) : 0;
      return kErrorSuccess;
    });
    return count;
  }

  fs::path dir_;
};

// Every rewrite of the file looks the same to the file system, as on a file
// system with one-second time stamps where the renames alternate between two
// inodes of the same size.
RegistryFile::FileStamp RepeatingStamp(const fs::path& file) {
  RegistryFile::FileStamp s = RegistryFile::StampOf(file);
  if (s.exists) s = {.exists = true, .device = 1, .inode = 2, .size = 3, .mtimeNs = 4};
  return s;
}

TEST_F(RegistryFileTest, HandlesSeeEachOthersChangesWhenFileStampsRepeat) {
  RegistryFile first(File(), RepeatingStamp), second(File(), RepeatingStamp);
  constexpr uint32_t kWrites = 20;
  for (uint32_t i = 0; i < kWrites; ++i)
    ASSERT_EQ(SetDword(i % 2 == 0 ? first : second, u"W" + FormatInt(i), i), kErrorSuccess);
  EXPECT_EQ(ValueCount(first), kWrites);
  EXPECT_EQ(ValueCount(second), kWrites);
  RegistryFile fresh(File());
  EXPECT_EQ(ValueCount(fresh), kWrites);
}

TEST_F(RegistryFileTest, ChangesMadeOutsideTheLockAreSeenByTheirStamp) {
  RegistryFile file(File());
  ASSERT_EQ(SetDword(file, u"a", 1), kErrorSuccess);
  WriteText(File(), std::string(kRegistryHeader) + "\n\n[HKEY_CURRENT_USER\\Test]\n\"b\"=dword:00000002\n"
                    "\"c\"=dword:00000003\n");
  EXPECT_EQ(ValueCount(file), 2u);
}

TEST_F(RegistryFileTest, TheNextWriteRemovesLeftoversOfKilledWriters) {
  RegistryFile file(File());
  ASSERT_EQ(SetDword(file, u"a", 1), kErrorSuccess);
  const char* leftovers[] = {".registry.reg.tmp1234567", ".registry.reg.tmp"};
  const char* others[] = {".device.ini.tmp42", "registry.reg.tmp9", ".registry.reg.lock"};
  for (const char* name : leftovers) WriteText(dir_ / name, "half a file");
  for (const char* name : others)
    if (!fs::exists(dir_ / name)) WriteText(dir_ / name, "not a leftover");
  EXPECT_EQ(ValueCount(file), 1u);  // reading leaves them
  EXPECT_TRUE(fs::exists(dir_ / leftovers[0]));
  ASSERT_EQ(SetDword(file, u"b", 2), kErrorSuccess);
  for (const char* name : leftovers) EXPECT_FALSE(fs::exists(dir_ / name)) << name;
  for (const char* name : others) EXPECT_TRUE(fs::exists(dir_ / name)) << name;
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1u + std::size(others));
}

TEST_F(RegistryFileTest, WithoutTheLockNeitherReadingNorWritingProceeds) {
  RegistryFile file(dir_ / "missing folder" / "registry.reg");
  bool ran = false;
  EXPECT_EQ(file.Read([&](const RegistryTree&) {
    ran = true;
    return kErrorSuccess;
  }),
            kErrorAccessDenied);
  EXPECT_FALSE(ran);
  EXPECT_EQ(SetDword(file, u"a", 1), kErrorAccessDenied);
}

TEST_F(RegistryFileTest, DamagedFilesAreRefusedWithTheirLineAndKeptAsTheyAre) {
  const std::string head = std::string(kRegistryHeader) + "\n\n[HKEY_CURRENT_USER\\Test]\n";
  struct Case {
    const char* what;
    std::string text;
    const char* error;
  } cases[] = {
      {"dword cut short", head + "\"a\"=dword:0000001\n", "registry.reg:4: "},
      {"hex byte cut short", head + "\"a\"=hex:01,02,0\n", "registry.reg:4: "},
      {"invalid UTF-8", head + "\"a\"=\"1\"\n\"b\"=\"\xe9t\xe9\"\n", "registry.reg:5: "},
  };
  for (const Case& c : cases) {
    WriteText(File(), c.text);
    RegistryFile file(File());
    EXPECT_EQ(file.Read([](const RegistryTree&) { return kErrorSuccess; }), kErrorBadDb) << c.what;
    EXPECT_EQ(SetDword(file, u"x", 1), kErrorBadDb) << c.what;
    auto error = file.LoadError();
    ASSERT_TRUE(error.has_value()) << c.what;
    EXPECT_EQ(error->rfind(c.error, 0), 0u) << *error;
    EXPECT_EQ(ReadText(File()), c.text) << c.what;
  }
}

}  // namespace
}  // namespace platform
