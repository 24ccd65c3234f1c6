// Messages without a window system: registered messages shared by the
// device's processes, broadcasts and beeps in the journal, and the windows of
// programs outside this system.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/errors.h"
#include "platform/broadcast.h"
#include "platform/message_beep.h"
#include "platform/windows/message_box.h"
#include "platform/outside_windows.h"
#include "platform/registered_messages.h"
#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

std::vector<std::string> Journal(test_support::TempDevice& device) {
  std::vector<std::string> events;
  for (const std::string& line : device.Device().Journal().Lines()) events.push_back(line.substr(7));
  return events;
}

TEST(RegisteredMessages, OneNumberPerNameForTheWholeDevice) {
  test_support::TempDevice device;
  const uint32_t first = RegisterDeviceMessage(u"VELMsingleInstanceMsg");
  EXPECT_EQ(first, kFirstRegisteredMessage);
  EXPECT_EQ(RegisterDeviceMessage(u"velmSINGLEinstancemsg"), first);  // letter case aside
  EXPECT_EQ(RegisterDeviceMessage(u"Other"), first + 1);
  EXPECT_EQ(RegisteredMessageName(first), u"VELMsingleInstanceMsg");

  // Another process of the device gets the same numbers.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ScopedDevice own(device.Root());
    _exit(RegisterDeviceMessage(u"Other") == first + 1 && RegisterDeviceMessage(u"Third") == first + 2
              ? 0
              : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(RegisterDeviceMessage(u"Third"), first + 2);
}

TEST(RegisteredMessages, RefusedNames) {
  test_support::TempDevice device;
  for (const WString& name : {WString(), WString(kMaxMessageNameLength + 1, u'x'), WString(u"a\nb")}) {
    EXPECT_EQ(RegisterDeviceMessage(name), 0u);
    EXPECT_EQ(LastError(), kErrorInvalidParameter);
  }
  EXPECT_EQ(RegisteredMessageName(0xC123), std::nullopt);
}

TEST(Broadcast, JournalledWithTheMessagesName) {
  test_support::TempDevice device;
  const uint32_t registered = RegisterDeviceMessage(u"VELMsingleInstanceMsg");
  BroadcastMessage(Delivery::Sent, WM_SETTINGCHANGE, 242, 0);
  BroadcastMessage(Delivery::Posted, registered, 0, 0);
  BroadcastMessage(Delivery::Posted, 0x0400, 1, -1);
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBeep(kSimpleBeep);
  MessageBeep(0);
  EXPECT_EQ(Journal(device), (std::vector<std::string>{
                                 "broadcast WM_SETTINGCHANGE wParam=0xf2 lParam=0x0 to 0 windows",
                                 "broadcast VELMsingleInstanceMsg wParam=0x0 lParam=0x0 to 0 windows",
                                 "broadcast 0x0400 wParam=0x1 lParam=0xffffffffffffffff to 0 windows",
                                 "beep exclamation",
                                 "beep simple",
                                 "beep default",
                             }));
}

TEST(OutsideWindows, FoundByClassAndTitleAndEndedByQuit) {
  test_support::TempDevice device;
  DeviceConfig config;
  config.outsideWindows = {{"STK_LOADER", "STK_Loader"}, {"Other", "Window"}};
  device.SetConfig(config);

  EXPECT_EQ(FindOutsideWindow(u"STK_LOADER", u"stk_loader"), 0u);  // exact texts only
  const uintptr_t other = FindOutsideWindow(u"Other", u"Window");
  ASSERT_NE(other, 0u);
  EXPECT_TRUE(PostToOutsideWindow(other, 0x0400, 7, 0));
  const uintptr_t loader = FindOutsideWindow(u"STK_LOADER", u"STK_Loader");
  ASSERT_NE(loader, 0u);
  EXPECT_TRUE(PostToOutsideWindow(loader, WM_QUIT, 0, 0));
  EXPECT_EQ(FindOutsideWindow(u"STK_LOADER", u"STK_Loader"), 0u);  // its program ended
  EXPECT_NE(FindOutsideWindow(u"Other", u"Window"), 0u);
  EXPECT_FALSE(PostToOutsideWindow(0x1234, WM_QUIT, 0, 0));
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
  EXPECT_EQ(Journal(device), (std::vector<std::string>{
                                 "posted 0x0400 to window Other \"Window\" wParam=7 lParam=0",
                                 "posted WM_QUIT to window STK_LOADER \"STK_Loader\": its program ends",
                             }));
}

}  // namespace
}  // namespace platform
