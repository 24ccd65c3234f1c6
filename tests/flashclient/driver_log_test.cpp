// The diagnostic log: file names from the local time, exact line formats,
// unsigned values, and a new file after every close.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "flashclient/driver_log.h"
#include "flashclient/port_layer.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using drkclient::LogClose;
using drkclient::LogLine;

platform::SystemTime At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                        uint16_t second) {
  return {.year = year, .month = month, .day = day, .hour = hour, .minute = minute, .second = second};
}

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(DriverLogNames, FollowTheLocalTime) {
  struct Case {
    platform::SystemTime time;
    const char* name;
  };
  const Case cases[] = {
      {At(2005, 2, 8, 14, 3, 7), "drk282005_140307.log"},
      {At(2004, 12, 31, 9, 5, 0), "drk12312004_90500.log"},
      {At(2010, 1, 1, 0, 0, 0), "drk112010_00000.log"},
  };
  for (const Case& c : cases) EXPECT_EQ(drkclient::LogFileNameFor(c.time), c.name);
}

class DriverLog : public DriverTest {};

TEST_F(DriverLog, WritesHeaderLinesAndFooterExactly) {
  clock.SetLocalTime(At(2005, 2, 8, 14, 3, 7));
  drkclient::Client_Logging(1);
  LogLine("Client_Initialize called", 0u);
  clock.Advance(2000);
  LogLine("USB Timeout on xcb", -1);
  LogLine("Get_PerCent timeout", 61u);
  LogClose();
  auto files = LogFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].filename(), "drk282005_140307.log");
  EXPECT_EQ(Slurp(files[0]),
            "DRKClient_Driver executed 2/8/2005 14:03:07 \r\n\n"
            "14:03:07 Client_Initialize called: 0\n"
            "14:03:09 USB Timeout on xcb: 4294967295\n"
            "14:03:09 Get_PerCent timeout: 61\n"
            "DRKClient_Driver completed 2/8/2005 14:03:09 \r\n\n");
}

TEST_F(DriverLog, NothingIsWrittenWhileOff) {
  LogLine("Client_Initialize called", 0u);
  LogClose();
  drkclient::Client_Logging(1);
  drkclient::Client_Logging(0);
  LogLine("again", 0u);
  EXPECT_TRUE(LogFiles().empty());
}

TEST_F(DriverLog, EveryClosedPortEndsTheFileAndTheNextLineStartsOne) {
  clock.SetLocalTime(At(2005, 2, 8, 14, 3, 7));
  drkclient::Client_Logging(1);
  LogLine("first", 0u);
  drkclient::ClosePort();  // no port open, but the file ends all the same
  clock.Advance(1000);
  LogLine("second", 0u);
  drkclient::ClosePort();
  // Within the same second the name comes round again and the file is
  // started afresh.
  LogLine("third", 0u);
  LogClose();
  auto files = LogFiles();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_NE(Slurp(files[0]).find("first: 0"), std::string::npos);
  EXPECT_EQ(files[1].filename(), "drk282005_140308.log");
  std::string last = Slurp(files[1]);
  EXPECT_EQ(last.find("second"), std::string::npos);
  EXPECT_NE(last.find("14:03:08 third: 0\n"), std::string::npos);
}

}  // namespace
}  // namespace flashtest
