#include "applet/shell/applet_folders.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

TEST(AppletFolders, DefaultsWithoutTheKey) {
  test_support::TempDevice device;
  const AppletFolders folders = ReadAppletFolders();
  EXPECT_EQ(folders.installed, u"\\Yvra ROM\\GPRS Settings\\");
  EXPECT_EQ(folders.working, u"\\Yvra File Store\\GPRS Settings\\");
}

TEST(AppletFolders, ValuesGetATrailingSeparatorAndBadOnesTheDefault) {
  test_support::TempDevice device;
  platform::RegistryKey key;
  ASSERT_EQ(key.Create(platform::Hive::CurrentUser, kSettingsKey), platform::kErrorSuccess);
  struct Case {
    platform::WString installed;  // empty: no value
    platform::WString expected;
  };
  const Case cases[] = {
      {u"\\ROM", u"\\ROM\\"},
      {u"\\ROM\\", u"\\ROM\\"},
      {platform::WString(259, u'x'), platform::WString(259, u'x') + u"\\"},
      {platform::WString(260, u'x'), u"\\Yvra ROM\\GPRS Settings\\"},  // does not fit
      {u"", u"\\Yvra ROM\\GPRS Settings\\"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(key.SetString(kInstalledFolderValue, c.installed), platform::kErrorSuccess);
    EXPECT_EQ(ReadAppletFolders().installed, c.expected) << c.installed.size();
  }
  // A value of another type is no folder.
  ASSERT_EQ(key.SetDword(kWorkingFolderValue, 7), platform::kErrorSuccess);
  EXPECT_EQ(ReadAppletFolders().working, u"\\Yvra File Store\\GPRS Settings\\");
}

}  // namespace
}  // namespace applet
