#include "platform/named_event.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

constexpr char16_t kName[] = u"QZ_MMSDetected";

TEST(NamedEvent, CreateOpenSetAndTheJournal) {
  test_support::TempDevice device;
  NamedEvent probe;
  EXPECT_EQ(probe.Open(kName), kErrorFileNotFound);

  NamedEvent first;
  bool existed = true;
  ASSERT_EQ(first.Create(kName, false, false, &existed), kErrorSuccess);
  EXPECT_FALSE(existed);
  NamedEvent second;
  ASSERT_EQ(second.Create(kName, true, true, &existed), kErrorSuccess);
  EXPECT_TRUE(existed);  // the flags of the second create are ignored
  EXPECT_FALSE(second.TryWait());

  ASSERT_EQ(second.Set(), kErrorSuccess);
  NamedEvent third;
  ASSERT_EQ(third.Open(kName), kErrorSuccess);
  EXPECT_TRUE(third.TryWait());   // auto-reset: one wait takes the signal
  EXPECT_FALSE(first.TryWait());
  EXPECT_EQ(device.Device().Journal().Lines(),
            std::vector<std::string>{"000001 event set QZ_MMSDetected"});
}

TEST(NamedEvent, ManualResetStaysSignalledUntilReset) {
  test_support::TempDevice device;
  NamedEvent event;
  ASSERT_EQ(event.Create(u"Manual", true, true), kErrorSuccess);
  EXPECT_TRUE(event.TryWait());
  EXPECT_TRUE(event.TryWait());
  ASSERT_EQ(event.Reset(), kErrorSuccess);
  EXPECT_FALSE(event.TryWait());
}

TEST(NamedEvent, GoneWithTheLastHandleAndNewlyMadeAfterwards) {
  test_support::TempDevice device;
  {
    NamedEvent event;
    ASSERT_EQ(event.Create(kName, true, false), kErrorSuccess);
    ASSERT_EQ(event.Set(), kErrorSuccess);
  }
  NamedEvent again;
  EXPECT_EQ(again.Open(kName), kErrorFileNotFound);
  bool existed = true;
  ASSERT_EQ(again.Create(kName, true, false, &existed), kErrorSuccess);
  EXPECT_FALSE(existed);
  EXPECT_FALSE(again.TryWait());  // the old signal went with the old event
}

TEST(NamedEvent, NamesAreCaseSensitiveAndChecked) {
  test_support::TempDevice device;
  NamedEvent upper, lower, bad;
  ASSERT_EQ(upper.Create(u"Name/With\\Odd..Chars", false, false), kErrorSuccess);
  EXPECT_EQ(lower.Open(u"name/with\\odd..chars"), kErrorFileNotFound);
  EXPECT_EQ(lower.Open(u"Name/With\\Odd..Chars"), kErrorSuccess);
  // The name stays inside the objects folder whatever it holds.
  EXPECT_EQ(NamedObject::HostPathOf(u"../x").parent_path(), device.Root() / "objects");
  EXPECT_EQ(bad.Create(u"", false, false), kErrorInvalidParameter);
  EXPECT_EQ(bad.Create(WString(kMaxObjectNameLength + 1, u'x'), false, false),
            kErrorInvalidParameter);
}

TEST(NamedEvent, AnObjectOfAnotherKindBlocksTheName) {
  test_support::TempDevice device;
  NamedObject other;
  ASSERT_EQ(other.Create("mutex", kName, {}, nullptr), kErrorSuccess);
  NamedEvent event;
  EXPECT_EQ(event.Create(kName, false, false), kErrorInvalidHandle);
  EXPECT_EQ(event.Open(kName), kErrorInvalidHandle);
}

// Another process's handle keeps the event; its end, however it comes,
// takes the event with it.
TEST(NamedEvent, SharedWithAnotherProcessAndGoneWithIt) {
  test_support::TempDevice device;
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ScopedDevice own(device.Root());
    NamedEvent event;
    if (event.Create(kName, true, false) != kErrorSuccess || event.Set() != kErrorSuccess) _exit(1);
    char c = 1;
    if (write(ready[1], &c, 1) != 1 || read(done[0], &c, 1) != 1) _exit(2);
    _exit(0);  // without closing the handle
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  NamedEvent seen;
  ASSERT_EQ(seen.Open(kName), kErrorSuccess);
  EXPECT_TRUE(seen.TryWait());
  seen.Close();
  ASSERT_EQ(write(done[1], &c, 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(seen.Open(kName), kErrorFileNotFound);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
}

}  // namespace
}  // namespace platform
