#include "applet/connections/gprs_modem_commands.h"

#include <gtest/gtest.h>

#include "tests/applet/connections/writer_device.h"

namespace applet {
namespace {

using platform::WString;
using test::WriterDevice;

constexpr char16_t kFolder[] = u"\\Yvra ROM\\GPRS Settings\\";

TEST(GprsModemCommands, PlaceholderTable) {
  WriterDevice phone;
  CRASparam r;
  r.contextId = -1;
  r.pdpType = u"IP";
  r.apn = u"web.%CID%";  // a value holding an earlier placeholder stays as it is
  r.pdpAddress = u"10.1.2.3";
  r.dataCompression = 1;
  r.qosRequested.peakClass = 4;
  r.qosRequested.meanClass = 31;
  r.qosMinimum.delay = 2;
  GprsModemCommands g;
  ASSERT_TRUE(g.BuildPlaceholders(kFolder, r));
  ASSERT_EQ(g.Placeholders().size(), 27u);

  struct Case {
    const char16_t* text;
    const char16_t* expected;
  } cases[] = {
      {u"%CID%", u"1"},
      {u"%PDPTYPE%,%APN%", u"IP,web.%CID%"},
      {u"%APN%;%APN%", u"web.%CID%;%APN%"},  // the first occurrence only
      {u"%CID%,\"%PDPADDRESS_NONE%\",%DCOMP%,%HCOMP%", u"1,,1,0"},  // the quotes go too
      {u"%PDPADDRESS_NONE%", u"%PDPADDRESS_NONE%"},              // without quotes it is no placeholder
      {u"\"%PDPADDRESS%\"", u"\"10.1.2.3\""},
      {u"%REQ_DELAY%/%REQ_DELAY_NONE%", u"0/"},
      {u"%REQ_PEAK%/%REQ_PEAK_NONE%", u"4/4"},
      {u"%REQ_MEAN%/%REQ_MEAN_NONE%", u"31/31"},
      {u"%MIN_PEAK_NONE%/%MIN_DELAY_NONE%/%MIN_DELAY%", u"/2/2"},
      {u"%REQ_PRECEDENCE_NONE%%REQ_RELIABILITY%%MIN_MEAN%", u"00"},
      {u"%req_delay%", u"%req_delay%"},  // letter case counts
  };
  for (const Case& c : cases) EXPECT_EQ(g.ApplyPlaceholders(c.text), c.expected) << platform::ToUtf8(c.text);

  r.contextId = 3;
  ASSERT_TRUE(g.BuildPlaceholders(kFolder, r));
  EXPECT_EQ(g.ApplyPlaceholders(u"%CID%"), u"3");
}

TEST(GprsModemCommands, TheModemsSectionOrDefault) {
  WriterDevice phone;
  struct Case {
    const char16_t* modem;
    const char16_t* section;
    const char16_t* dialNumber;
    int32_t maxContext;
    int32_t speed;
  } cases[] = {
      {u"QZ7100 - GPRS", u"QZ7100", u"*99***1#", 3, 115200},
      {u"QZ8346 - E", u"QZ8346", u"*99***1#", 4, 230400},
      {u"Cellular Line", u"QZ-Dial", u"*99#", 1, 38400},
      {u"Hayes Compatible on COM1:", u"Default", u"*99***1#", 1, 19200},  // family "Default"
      {u"Not in the database", u"Default", u"*99***1#", 1, 19200},
      {u"Phone modem", u"Default", u"*99***1#", 1, 19200},  // the applet's default modem
  };
  for (const Case& c : cases) {
    CRASparam r;
    r.modemName = c.modem;
    GprsModemCommands g;
    ASSERT_TRUE(g.BuildPlaceholders(kFolder, r));
    EXPECT_EQ(g.ModemSection(), c.section) << platform::ToUtf8(c.modem);
    EXPECT_EQ(g.GprsDialNumber(), c.dialNumber) << platform::ToUtf8(c.modem);
    EXPECT_EQ(g.MaxContextId(), c.maxContext) << platform::ToUtf8(c.modem);
    EXPECT_EQ(g.DteSpeed(), c.speed) << platform::ToUtf8(c.modem);
  }
  GprsModemCommands dial;
  CRASparam r;
  r.modemName = u"Cellular Line";
  ASSERT_TRUE(dial.BuildPlaceholders(kFolder, r));
  EXPECT_EQ(dial.ExtraDialString(), u"");  // QZ-Dial has none
}

TEST(GprsModemCommands, MissingFiles) {
  WriterDevice phone;
  CRASparam r;
  r.modemName = u"QZ7100 - GPRS";
  GprsModemCommands g;
  EXPECT_FALSE(g.BuildPlaceholders(u"\\Nowhere\\", r));
  EXPECT_TRUE(g.Placeholders().empty());
  EXPECT_EQ(g.GprsDialNumber(), u"");

  // Without the modem database no section is chosen: the dial number comes
  // from "Default" and there are no context commands.
  phone.Device().WriteFile("Only/GPRSmodems.inf", "[Default]\nGPRSDialNumber=*99#\nSetExtraDialString=X\n");
  GprsModemCommands only;
  ASSERT_TRUE(only.BuildPlaceholders(u"\\Only\\", r));
  EXPECT_EQ(only.ModemSection(), u"");
  EXPECT_EQ(only.GprsDialNumber(), u"*99#");
  EXPECT_EQ(only.ExtraDialString(), u"");
  ASSERT_TRUE(only.OpenForSection(u"\\Only\\", u"Default"));
  EXPECT_EQ(only.ExtraDialString(), u"X");
}

}  // namespace
}  // namespace applet
