#include "platform/named_mutex.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/named_event.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

constexpr char16_t kName[] = u"VELMsingleInstanceMux";

TEST(NamedMutex, ExistsWhileAHandleHoldsIt) {
  test_support::TempDevice device;
  NamedMutex first;
  bool existed = true;
  ASSERT_EQ(first.Create(kName, /*initialOwner=*/true, &existed), kErrorSuccess);
  EXPECT_FALSE(existed);
  EXPECT_TRUE(first.Owned());

  // A second create finds it and, as on the handheld, does not take
  // ownership whatever it asks for.
  NamedMutex second;
  ASSERT_EQ(second.Create(kName, true, &existed), kErrorSuccess);
  EXPECT_TRUE(existed);
  EXPECT_FALSE(second.Owned());
  EXPECT_EQ(second.Release(), kErrorNotOwner);

  first.Close();
  NamedMutex third;
  ASSERT_EQ(third.Create(kName, false, &existed), kErrorSuccess);
  EXPECT_TRUE(existed);  // second still holds it
  second.Close();
  third.Close();
  NamedMutex fresh;
  ASSERT_EQ(fresh.Create(kName, false, &existed), kErrorSuccess);
  EXPECT_FALSE(existed);
  EXPECT_FALSE(fresh.Owned());
}

TEST(NamedMutex, ReleaseGivesUpOwnershipButKeepsTheMutex) {
  test_support::TempDevice device;
  NamedMutex owner;
  ASSERT_EQ(owner.Create(kName, true), kErrorSuccess);
  EXPECT_EQ(owner.Release(), kErrorSuccess);
  EXPECT_FALSE(owner.Owned());
  EXPECT_TRUE(owner.IsOpen());
  NamedMutex other;
  bool existed = false;
  ASSERT_EQ(other.Create(kName, true, &existed), kErrorSuccess);
  EXPECT_TRUE(existed);
}

TEST(NamedMutex, NamesAndKinds) {
  test_support::TempDevice device;
  NamedEvent event;
  ASSERT_EQ(event.Create(kName, false, false), kErrorSuccess);
  NamedMutex mutex;
  EXPECT_EQ(mutex.Create(kName, true), kErrorInvalidHandle);  // an event holds the name
  EXPECT_EQ(mutex.Create(u"", true), kErrorInvalidParameter);
  EXPECT_FALSE(mutex.IsOpen());
  ScopedDevice rootless{std::filesystem::path()};
  EXPECT_EQ(mutex.Create(u"Other", true), kErrorPathNotFound);
}

// A process that ends without closing its handle takes the mutex with it.
TEST(NamedMutex, GoneWithTheProcessThatHeldIt) {
  test_support::TempDevice device;
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ScopedDevice own(device.Root());
    NamedMutex mutex;
    if (mutex.Create(kName, true) != kErrorSuccess || !mutex.Owned()) _exit(1);
    char c = 1;
    if (write(ready[1], &c, 1) != 1 || read(done[0], &c, 1) != 1) _exit(2);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  bool existed = false;
  {
    NamedMutex seen;
    ASSERT_EQ(seen.Create(kName, true, &existed), kErrorSuccess);
    EXPECT_TRUE(existed);
    EXPECT_FALSE(seen.Owned());
  }
  ASSERT_EQ(write(done[1], &c, 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  NamedMutex after;
  ASSERT_EQ(after.Create(kName, true, &existed), kErrorSuccess);
  EXPECT_FALSE(existed);
  EXPECT_TRUE(after.Owned());  // the dead owner's lock went with it
  for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
}

}  // namespace
}  // namespace platform
