// Processes of the device: exit codes, and no child left behind as a zombie
// when its Process object ends or is given another child.

#include "platform/process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <filesystem>

#include "base/clock.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

// Installs a host program on the device under \Windows.
void Install(test_support::TempDevice& device, const char* hostProgram, const char* deviceName) {
  std::filesystem::copy_file(hostProgram, device.HostPath(std::string("Windows/") + deviceName));
}

// True once the child is gone altogether, reaped and not a zombie. Polls in
// real time up to a bound far above what a reap takes, so that a fault
// fails the test instead of hanging it.
bool Reaped(pid_t pid) {
  SystemClock host;
  for (int i = 0; i < 3000; ++i) {
    if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
    host.Sleep(10);
  }
  return false;
}

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Install(device_, "/bin/true", "true.exe");
    Install(device_, "/bin/false", "false.exe");
    Install(device_, "/bin/sleep", "sleep.exe");
  }
  test_support::TempDevice device_;
};

TEST_F(ProcessTest, WaitGivesTheExitCode) {
  struct Case {
    const char16_t* path;
    const char16_t* commandLine;
    int exitCode;
  } cases[] = {
      {u"\\Windows\\true.exe", u"", 0},
      {u"\\Windows\\false.exe", u"", 1},
      {u"\\windows\\SLEEP.EXE", u"0", 0},
  };
  for (const Case& c : cases) {
    Process process;
    ASSERT_EQ(StartProcess(c.path, c.commandLine, &process), kErrorSuccess);
    EXPECT_TRUE(process.IsValid());
    EXPECT_EQ(process.Wait(), c.exitCode);
    EXPECT_FALSE(process.IsValid());
  }
  Process none;
  EXPECT_EQ(StartProcess(u"\\Windows\\missing.exe", u"", &none), kErrorFileNotFound);
  EXPECT_FALSE(none.IsValid());
}

TEST_F(ProcessTest, AChildNoOneWaitsForIsReaped) {
  pid_t pid = -1;
  {
    Process process;
    ASSERT_EQ(StartProcess(u"\\Windows\\true.exe", u"", &process), kErrorSuccess);
    pid = process.Id();
  }
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(Reaped(pid));
}

TEST_F(ProcessTest, MovingKeepsTheRunningChildAndReapsTheReplacedOne) {
  Process running, replaced;
  ASSERT_EQ(StartProcess(u"\\Windows\\sleep.exe", u"0.2", &running), kErrorSuccess);
  ASSERT_EQ(StartProcess(u"\\Windows\\true.exe", u"", &replaced), kErrorSuccess);
  const pid_t runningPid = running.Id(), replacedPid = replaced.Id();
  replaced = std::move(running);
  EXPECT_FALSE(running.IsValid());
  EXPECT_EQ(replaced.Id(), runningPid);
  EXPECT_TRUE(Reaped(replacedPid));
  Process moved(std::move(replaced));
  EXPECT_EQ(moved.Wait(), 0);
  EXPECT_TRUE(Reaped(runningPid));
}

}  // namespace
}  // namespace platform
