#include "applet/connections/dial_settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/applet/connections/writer_device.h"

namespace applet {
namespace {

using platform::WString;
using test::WriterDevice;
using test::WriterDeviceOptions;

constexpr char16_t kFolder[] = u"\\Yvra ROM\\GPRS Settings\\";

// A modem whose context command is the APN alone, so that the APN sets the
// command's length.
constexpr char kApnOnlyModems[] = "[Default]\nGPRSDialNumber=*99#\nSetExtraDialString=%APN%\n";

// A GPRS record on the phone's own modem.
struct GprsRecord : CRASparam {
  explicit GprsRecord(const WString& withApn) {
    modemName = u"Phone modem";
    apn = withApn;
  }
};

TEST(DialSettings, TheCommandStringFitsItsPlaceOrIsLeftOut) {
  struct Case {
    const char* platform;
    size_t length;
    bool fits;
  } cases[] = {{"PocketPC", 38, true}, {"PocketPC", 39, false},
               {"Smartphone", 37, true}, {"Smartphone", 38, false}};
  for (const Case& c : cases) {
    WriterDevice phone({.platformType = c.platform});
    phone.WriteDataFile("GPRSmodems.inf", kApnOnlyModems);
    GprsRecord r(WString(c.length, u'a'));
    r.dialStringFits = c.fits ? 0 : 1;  // Build must set it either way
    DialSettings settings;
    ASSERT_TRUE(settings.Build(kFolder, r));
    EXPECT_EQ(r.dialStringFits, c.fits ? 1 : 0) << c.platform << " " << c.length;
    EXPECT_EQ(settings.commandString, c.fits ? r.apn : u"") << c.platform << " " << c.length;
    EXPECT_EQ(settings.apn, r.apn);
  }
}

TEST(DialSettings, AQosRecordGetsNoCommandAndKeepsItsFlag) {
  WriterDevice phone;
  for (int previous : {0, 1}) {
    GprsRecord r(u"internet");
    r.modemName = u"QZ7100 - GPRS";
    r.qosMinimum.delay = 1;
    r.dialStringFits = previous;
    DialSettings settings;
    ASSERT_TRUE(settings.Build(kFolder, r));
    EXPECT_EQ(settings.commandString, u"");
    EXPECT_EQ(r.dialStringFits, previous);
  }
  GprsRecord r(u"internet");
  r.modemName = u"QZ7100 - GPRS";
  DialSettings settings;
  ASSERT_TRUE(settings.Build(kFolder, r));
  EXPECT_EQ(settings.commandString, u"+CGDCONT=1,\"IP\",\"internet\",,0,0");
}

TEST(DialSettings, OtherKindsTakeTheOperatorsModemCommand) {
  WriterDevice phone;
  phone.WriteDataFile("GPRSope.inf", "[Op]\nCountryProvider=33\nCSD ExtraDialString=+CBST=71,0,1\n");
  CRASparam r;
  r.bearer = BearerType::Csd;
  r.operatorName = u"Op";
  r.modemName = u"QZ7100 - GSM";
  r.dialStringFits = 0;
  DialSettings settings;
  ASSERT_TRUE(settings.Build(kFolder, r));
  EXPECT_EQ(settings.commandString, u"+CBST=71,0,1");
  EXPECT_EQ(r.dialStringFits, 1);
  EXPECT_EQ(settings.dteSpeed, 115200);  // no DTESpeedDUN: the general speed
}

TEST(DialSettings, ARecordWithoutModemFails) {
  WriterDevice phone;
  GprsRecord r(u"internet");
  r.modemName.clear();
  DialSettings settings;
  EXPECT_FALSE(settings.Build(kFolder, r));
}

TEST(DialSettings, TheBlockBytesAtEachOffset) {
  struct Case {
    const char* platform;
    size_t timeout, options, speed, byteSize, stopBits, parity, command;
  } cases[] = {{"PocketPC", 4, 8, 12, 18, 19, 20, 22}, {"Smartphone", 28, 32, 36, 42, 44, 43, 46}};
  for (const Case& c : cases) {
    WriterDevice phone({.platformType = c.platform});
    DialSettings s;
    s.dteSpeed = 115200;
    s.byteSize = 7;
    s.parity = 2;
    s.stopBits = 1;
    s.setupTimeout = 90;
    s.commandString = u"AT";
    std::vector<uint8_t> block(128, 0xCC);
    ASSERT_FALSE(s.Patch(std::span(block).first(c.command + 5)));  // "AT" and the terminator end at +6
    ASSERT_TRUE(s.Patch(std::span(block).first(c.command + 6)));
    EXPECT_EQ(block[c.timeout], 90);
    EXPECT_EQ(block[c.options], 16);
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + c.speed, block.begin() + c.speed + 4),
              (std::vector<uint8_t>{0x00, 0xC2, 0x01, 0xCC}));
    EXPECT_EQ(block[c.byteSize], 7);
    EXPECT_EQ(block[c.stopBits], 1);
    EXPECT_EQ(block[c.parity], 2);
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + c.command, block.begin() + c.command + 8),
              (std::vector<uint8_t>{'A', 0, 'T', 0, 0, 0, 0xCC, 0xCC}));  // stops after the terminator
  }
}

TEST(DialSettings, SpeedsOutsideTheFourAreWrittenAs19200) {
  struct Case {
    int32_t speed;
    std::vector<uint8_t> bytes;
  } cases[] = {{9600, {0x80, 0x25, 0x00}},   {38400, {0x00, 0x96, 0x00}},
               {57600, {0x00, 0xE1, 0x00}},  {115200, {0x00, 0xC2, 0x01}},
               {19200, {0x00, 0x4B, 0x00}},  {230400, {0x00, 0x4B, 0x00}},
               {14400, {0x00, 0x4B, 0x00}}};
  WriterDevice phone;
  for (const Case& c : cases) {
    DialSettings s;
    s.dteSpeed = c.speed;
    std::vector<uint8_t> block(128, 0);
    ASSERT_TRUE(s.Patch(block));
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 12, block.begin() + 15), c.bytes) << c.speed;
  }
  // As the modem database gives it: "QZ8346 - E" runs dial-up at 230400.
  GprsRecord r(u"x");
  r.modemName = u"QZ8346 - E";
  DialSettings s;
  ASSERT_TRUE(s.Build(kFolder, r));
  EXPECT_EQ(s.dteSpeed, 230400);
  std::vector<uint8_t> block(128, 0);
  ASSERT_TRUE(s.Patch(block));
  EXPECT_EQ(block[13], 0x4B);
}

// A block shorter than what Patch writes is refused, not overrun.
TEST(DialSettings, AShortBlockIsRefusedUntouched) {
  WriterDevice phone;
  DialSettings s;
  s.commandString = WString(38, u'x');
  std::vector<uint8_t> block(22 + 2 * 39 - 1, 0xCC);  // one byte short of the terminator
  EXPECT_FALSE(s.Patch(block));
  EXPECT_EQ(block, std::vector<uint8_t>(block.size(), 0xCC));
  block.push_back(0xCC);
  EXPECT_TRUE(s.Patch(block));
}

}  // namespace
}  // namespace applet
