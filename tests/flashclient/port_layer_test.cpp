// The serial port layer over the in-memory port: opening with retries, the
// polling reads, the purge before every write, the sync pattern search and
// the handshake.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "flashclient/driver_log.h"
#include "flashclient/port_layer.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using namespace std::string_literals;
using drkclient::ClosePort;
using drkclient::CommPortSetup;
using drkclient::ConnectTarget;
using drkclient::LocateTarget;
using drkclient::PortInput;
using drkclient::PortOutput;
using drkclient::PortIo;
using drkclient::PortSetup;
using drkclient::Connection;

class PortLayer : public DriverTest {
 protected:
  PortLayer() {
    device.UseScript(true);
    drkclient::Client_Logging(1);
  }
  int Count(const std::string& entry) const {
    auto e = LogEntries();
    return static_cast<int>(std::count(e.begin(), e.end(), entry));
  }
  PortIo Output(const std::string& bytes) {
    return PortOutput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
};

TEST_F(PortLayer, SetupTriesThirtyOneTimesASecondApart) {
  struct Case {
    int absentFor;
    PortSetup result;
    int invalidHandleLines;
  };
  for (Case c : {Case{31, PortSetup::DeviceAbsent, 31}, Case{30, PortSetup::Opened, 30},
                 Case{0, PortSetup::Opened, 0}}) {
    SCOPED_TRACE(c.absentFor);
    ClosePort();
    opener.FailNextOpens(c.absentFor);
    const uint64_t before = clock.SleptMs();
    const int attemptsBefore = opener.Attempts();
    EXPECT_EQ(CommPortSetup(), c.result);
    EXPECT_EQ(opener.Attempts() - attemptsBefore, std::min(c.absentFor + 1, 31));
    EXPECT_EQ(clock.SleptMs() - before, 1000u * std::min(c.absentFor + 1, 31));
    EXPECT_EQ(Count("waiting for CommPortSetup CreateFile : 4294967295"), c.invalidHandleLines);
    EXPECT_EQ(Logged("CreateFile failed: 0"), c.result == PortSetup::DeviceAbsent);
    EXPECT_EQ(S().port != nullptr, c.result == PortSetup::Opened);
    // Each setup's lines end up in their own file once the port closes.
    ClosePort();
    for (const auto& f : LogFiles()) std::filesystem::remove(f);
  }
  EXPECT_EQ(opener.LastPath(), "/dev/drk-test-port");
}

TEST_F(PortLayer, SetupConfiguresThePortAndSendsD) {
  ASSERT_EQ(CommPortSetup(), PortSetup::Opened);
  auto& port = static_cast<drkclient::MemorySerialPort&>(*S().port);
  EXPECT_EQ(port.QueueSize(), 3072u);
  EXPECT_EQ(port.Timeouts().readIntervalTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(port.Timeouts().readTotalTimeoutMultiplier, 0xFFFFFFFFu);
  EXPECT_EQ(port.Timeouts().readTotalTimeoutConstant, 2000u);
  EXPECT_EQ(port.Timeouts().writeTotalTimeoutConstant, 0u);
  EXPECT_EQ(Link()->Writes(), std::vector<std::string>{"D"});
  EXPECT_TRUE(Logged("CommPortSetup SetupComm successful: 0"));
  EXPECT_TRUE(Logged("CommPortSetup SetCommTimeouts successful: 0"));
  EXPECT_TRUE(Logged("PortOutput-- D  total bytes : 1"));
}

TEST_F(PortLayer, InputPollsTheQueueUntilEnoughBytesWait) {
  struct Case {
    std::string waiting;
    uint32_t lineError;
    bool disconnect;
    PortIo result;
    uint64_t waitedMs;
  };
  const Case cases[] = {
      {"&", 0, false, PortIo::Done, 20},                               // waiting already: one 20 ms wait
      {"", 0, false, PortIo::Incomplete, 3000},                        // 100 polls of 30 ms
      {"&*", drkclient::kLineErrorFrame, false, PortIo::Incomplete, 20},  // line error beats waiting bytes
      {"&", 0, true, PortIo::Failed, 20},                              // the device went away
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.waiting);
    ASSERT_EQ(CommPortSetup(), PortSetup::Opened);
    auto link = Link();
    link->Send(c.waiting);
    if (c.lineError != 0) link->RaiseLineError(c.lineError);
    if (c.disconnect) link->Disconnect();
    uint8_t buf[2] = {'?', '?'};
    const uint64_t before = clock.SleptMs();
    EXPECT_EQ(PortInput(buf, 1), c.result);
    EXPECT_EQ(clock.SleptMs() - before, c.waitedMs);
    EXPECT_EQ(buf[0], c.result == PortIo::Done ? static_cast<uint8_t>(c.waiting[0]) : '?');
    ClosePort();
  }
  EXPECT_TRUE(Logged("NT USB port input: &: 1"));
}

TEST_F(PortLayer, OutputDropsUnreadInputFirstAndLogsText) {
  ASSERT_EQ(CommPortSetup(), PortSetup::Opened);
  auto link = Link();
  link->Send("stale answer");
  EXPECT_EQ(Output("?gid"), PortIo::Done);
  EXPECT_EQ(link->Pending(), 0u);
  EXPECT_EQ(Output("ab\0cd"s), PortIo::Done);
  EXPECT_EQ(Output(std::string(300, 'z')), PortIo::Done);
  EXPECT_EQ(link->Writes().back().size(), 300u);
  EXPECT_TRUE(Logged("PortOutput-- ?gid  total bytes : 4"));
  // Logged port data is text: it ends at the first zero byte.
  EXPECT_TRUE(Logged("PortOutput-- ab  total bytes : 5"));
  EXPECT_TRUE(Logged("data block: 300"));
  ClosePort();
  EXPECT_EQ(Output("?c"), PortIo::Failed);
}

TEST_F(PortLayer, SyncPatternIsSearchedAsText) {
  struct Case {
    std::string window;
    bool found;
  };
  const Case cases[] = {
      {"zz\xAA\x55\x55\xAAzzzzzzzzzzz", true},
      {"\xAA\x55\x55\xAA", true},
      {"\0\xAA\x55\x55\xAAzzzzzzzzzzzz"s, false},  // a zero byte ends the text
      {"zz\xAA\x55\x55zzzzzzzzzzzz", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.found);
    bool sent = false;
    script.onPoll = [&](uint64_t, drkclient::MemoryLink& link) {
      if (!sent) link.Send(c.window);
      sent = true;
    };
    ASSERT_EQ(CommPortSetup(), PortSetup::Opened);
    sent = false;  // the setup's own purge took the first poll
    EXPECT_EQ(LocateTarget(), c.found);
    EXPECT_EQ(Logged("LocateTarget returns FALSE: 0"), !c.found);
    ClosePort();
  }
}

TEST_F(PortLayer, HandshakeWantsTheReplyByteOnNtAndTheTextTwiceElsewhere) {
  struct Case {
    int32_t family;
    std::string reply;
    Connection result;
    std::vector<std::string> writesAfterSetup;
  };
  const Case cases[] = {
      {2, "\xAA", Connection::Connected, {"A000FF\n", "@"}},
      {2, "\xAB", Connection::Failed, {"A000FF\n"}},
      {2, "", Connection::Failed, {"A000FF\n"}},
      {0, "", Connection::Connected, {"A000FF\n", "A000FF\n", "@"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    S().osFamily = c.family;
    bool synced = false;
    script.onPoll = [&](uint64_t, drkclient::MemoryLink& link) {
      if (!synced && link.Pending() == 0) link.Send("\xAA\x55\x55\xAA");
    };
    script.onWrite = [&](const std::string& w, drkclient::MemoryLink& link) {
      if (w == "A000FF\n") {
        synced = true;
        link.Send(c.reply);
      }
    };
    EXPECT_EQ(ConnectTarget(), c.result);
    auto writes = Link()->Writes();
    writes.erase(writes.begin());  // 'D'
    EXPECT_EQ(writes, c.writesAfterSetup);
    EXPECT_EQ(S().port != nullptr, c.result == Connection::Connected);
    ClosePort();
  }
}

}  // namespace
}  // namespace flashtest
