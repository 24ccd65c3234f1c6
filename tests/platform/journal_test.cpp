#include "platform/journal.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(Journal, NumbersLinesAcrossWriters) {
  test_support::TempDevice device;
  Journal first(device.Root() / "journal.log");
  Journal second(device.Root() / "journal.log");  // as another process would
  EXPECT_EQ(first.Append("reset hard"), 1u);
  EXPECT_EQ(second.Append("process started: \\Windows\\VELMauto.exe"), 2u);
  EXPECT_EQ(first.Append("two\nlines"), 3u);
  EXPECT_EQ(first.Lines(), (std::vector<std::string>{
                               "000001 reset hard",
                               "000002 process started: \\Windows\\VELMauto.exe",
                               "000003 two lines"}));
}

TEST(Journal, InMemoryWithoutADeviceRoot) {
  Journal journal("");
  EXPECT_EQ(journal.Append("beep 48"), 1u);
  EXPECT_EQ(journal.Lines(), std::vector<std::string>{"000001 beep 48"});
}

}  // namespace
}  // namespace platform
