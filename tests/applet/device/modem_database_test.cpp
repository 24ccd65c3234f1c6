#include "applet/device/modem_database.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/applet_resources.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;

constexpr char16_t kFolder[] = u"\\Windows\\";
constexpr char kHostFile[] = "Windows/ModemsCE.ini";
constexpr char16_t kOtherFolder[] = u"\\Yvra File Store\\";
constexpr char kOtherHostFile[] = "Yvra File Store/ModemsCE.ini";

std::string Utf8(const WString& text) { return platform::ToUtf8(text); }

// Every use, and two values outside the named ones.
const DteUse kUses[] = {
    DteUse::Fax,     DteUse::Phonebook,      DteUse::Sms, DteUse::DialUpNetworking,
    DteUse::Dialler, static_cast<DteUse>(0), static_cast<DteUse>(99),
};
constexpr size_t kUseCount = std::size(kUses);

TEST(ModemDatabase, SpeedsByUse) {
  test_support::TempDevice device;
  device.WriteFile(kHostFile,
                   "[None]\r\n"
                   "Identification=X\r\n"
                   "[Only]\r\n"
                   "DTESpeed=57600\r\n"
                   "[Override]\r\n"
                   "DTESpeed=57600\r\n"
                   "DTESpeedDUN=115200\r\n"
                   "[EveryUse]\r\n"
                   "DTESpeed=1\r\n"
                   "DTESpeedFax=2\r\n"
                   "DTESpeedPB=3\r\n"
                   "DTESpeedSMS=4\r\n"
                   "DTESpeedDUN=5\r\n"
                   "DTESpeedDialer=6\r\n"
                   "[NotDigits]\r\n"
                   "DTESpeed=-5\r\n"
                   "DTESpeedFax=9600x\r\n"
                   "DTESpeedDUN=1e4\r\n"
                   "DTESpeedSMS=\r\n"
                   "DTESpeedPB=+9600\r\n"
                   "[NotDigitsOverGeneral]\r\n"
                   "DTESpeed=38400\r\n"
                   "DTESpeedDUN=-1\r\n"
                   "DTESpeedDialer=96 00\r\n");
  struct Case {
    const char16_t* modem;
    // Fax, phonebook, SMS, dial-up networking, dialler, 0, 99.
    int32_t speeds[kUseCount];
  } const cases[] = {
      {u"None", {19200, 19200, 19200, 19200, 19200, 19200, 19200}},
      {u"Only", {57600, 57600, 57600, 57600, 57600, 57600, 57600}},
      {u"Override", {57600, 57600, 57600, 115200, 57600, 57600, 57600}},
      {u"EveryUse", {2, 3, 4, 5, 6, 1, 1}},
      {u"NotDigits", {19200, 19200, 19200, 19200, 19200, 19200, 19200}},
      {u"NotDigitsOverGeneral", {38400, 38400, 38400, 38400, 38400, 38400, 38400}},
      // A section the file lacks.
      {u"Absent", {19200, 19200, 19200, 19200, 19200, 19200, 19200}},
  };
  // One object selects every modem in turn, as the file is read on each
  // lookup and not only once.
  ModemDatabase db;
  for (const Case& c : cases) {
    ASSERT_TRUE(db.Select(kFolder, c.modem, 1)) << Utf8(c.modem);
    EXPECT_EQ(db.CurrentModem(), c.modem);
    for (size_t i = 0; i < kUseCount; ++i) {
      EXPECT_EQ(db.DteSpeed(kUses[i]), c.speeds[i])
          << Utf8(c.modem) << ", use " << static_cast<int32_t>(kUses[i]);
    }
  }
}

TEST(ModemDatabase, IdentificationLineParametersAndEndOfCommand) {
  test_support::TempDevice device;
  device.WriteFile(kHostFile,
                   "[Full]\n"
                   "Identification=QZ7100\n"
                   "INTERCHAR=5\n"
                   "EOC=\\r\n"
                   "[Bare]\n"
                   "DTESpeed=9600\n"
                   "[Written empty]\n"
                   "Identification=\n"
                   "INTERCHAR=x5\n"
                   "EOC=\n");
  struct Case {
    const char16_t* modem;
    bool hasIdentification;
    const char16_t* identification;
    int32_t interChar;
    const char16_t* eoc;
  } const cases[] = {
      {u"Full", true, u"QZ7100", 5, u"\\r"},
      {u"Bare", true, u"Default", 0, u""},
      {u"Written empty", false, u"", 0, u""},
  };
  ModemDatabase db;
  for (const Case& c : cases) {
    ASSERT_TRUE(db.Select(kFolder, c.modem, 1)) << Utf8(c.modem);
    WString out = u"<stale>";
    EXPECT_EQ(db.Identification(out), c.hasIdentification) << Utf8(c.modem);
    EXPECT_EQ(out, c.identification) << Utf8(c.modem);
    EXPECT_EQ(db.InterChar(), c.interChar) << Utf8(c.modem);
    EXPECT_EQ(db.Eoc(), c.eoc) << Utf8(c.modem);
  }

  // Any section's identification, the fallback standing in for a missing
  // section, a missing key and an empty value alike.
  struct Of {
    const char16_t* section;
    const char16_t* expected;
  } const ofCases[] = {
      {u"Full", u"QZ7100"},
      {u"Bare", u"fallback"},
      {u"Written empty", u"fallback"},
      {u"full", u"fallback"},
      {u"Absent", u"fallback"},
  };
  for (const Of& c : ofCases) {
    WString out = u"<stale>";
    EXPECT_TRUE(db.IdentificationOf(c.section, out, u"fallback")) << Utf8(c.section);
    EXPECT_EQ(out, c.expected) << Utf8(c.section);
  }
}

TEST(ModemDatabase, SectionNamesListModemsAndVariants) {
  test_support::TempDevice device;
  device.WriteFile(kHostFile,
                   "[Alpha - 1]\n"
                   "[Beta - 2]\n"
                   "[Plain]\n"
                   "Identification=PlainFamily\n"
                   "[Alpha - 3]\n"
                   // Modem names are compared exactly.
                   "[alpha - 4]\n"
                   // Only a separator with a blank on each side counts.
                   "[Gamma-5]\n"
                   "[Gamma -6]\n"
                   // The name is cut at the first separator.
                   "[Delta - x - y]\n"
                   "[Beta - 7]\n");
  ModemDatabase db;
  ASSERT_TRUE(db.Load(kFolder));
  EXPECT_EQ(db.Folder(), kFolder);
  EXPECT_EQ(db.ModemNames(), (std::vector<WString>{u"Alpha", u"Beta", u"alpha", u"Delta"}));
  EXPECT_EQ(db.Variants(), (std::vector<WString>{u"1", u"2", u"3", u"4", u"x - y", u"7"}));
  EXPECT_EQ(db.VariantModem(), (std::vector<size_t>{0, 1, 0, 2, 3, 1}));

  // A section that is not listed is still a modem that can be selected.
  ASSERT_TRUE(db.Select(kFolder, u"Plain", 1));
  WString family;
  EXPECT_TRUE(db.Identification(family));
  EXPECT_EQ(family, u"PlainFamily");
}

TEST(ModemDatabase, OnceListedTheFileIsNotLoadedAgain) {
  test_support::TempDevice device;
  device.WriteFile(kHostFile, "[Alpha - 1]\nDTESpeed=57600\n");
  device.WriteFile(kOtherHostFile, "[Beta - 2]\nDTESpeed=9600\n[Alpha - 1]\nDTESpeed=4800\n");
  ModemDatabase db;
  ASSERT_TRUE(db.Select(kFolder, u"Alpha - 1", 1));
  ASSERT_TRUE(db.Select(kOtherFolder, u"Alpha - 1", 1));
  EXPECT_EQ(db.Folder(), kFolder);
  EXPECT_EQ(db.ModemNames(), (std::vector<WString>{u"Alpha"}));
  EXPECT_EQ(db.DteSpeed(DteUse::DialUpNetworking), 57600);

  // A fresh object reads the other folder.
  ModemDatabase other;
  ASSERT_TRUE(other.Select(kOtherFolder, u"Alpha - 1", 1));
  EXPECT_EQ(other.ModemNames(), (std::vector<WString>{u"Beta", u"Alpha"}));
  EXPECT_EQ(other.DteSpeed(DteUse::DialUpNetworking), 4800);
}

TEST(ModemDatabase, AFileWithoutModemsFailsAndLeavesTheCurrentModem) {
  struct Case {
    const char* name;
    std::optional<std::string> bytes;  // none: no file
  } const cases[] = {
      {"missing file", std::nullopt},
      {"empty file", ""},
      {"no header", "; only a comment\nDTESpeed=57600\n[Broken\nIdentification=X\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::TempDevice device;
    // A first file whose only modem has no variant leaves the lists empty,
    // so the next Select reads the other folder.
    device.WriteFile(kHostFile, "[Plain]\nDTESpeed=57600\nINTERCHAR=3\nIdentification=Q\n");
    if (c.bytes) device.WriteFile(kOtherHostFile, *c.bytes);

    ModemDatabase db;
    ASSERT_TRUE(db.Select(kFolder, u"Plain", 1));
    EXPECT_FALSE(db.Select(kOtherFolder, u"Other", 1));
    EXPECT_EQ(db.CurrentModem(), u"Plain");
    EXPECT_TRUE(db.ModemNames().empty());
    for (const DteUse use : kUses) EXPECT_EQ(db.DteSpeed(use), 19200);
    EXPECT_EQ(db.InterChar(), 0);
    WString out = u"<stale>";
    EXPECT_FALSE(db.Identification(out));
    EXPECT_EQ(out, u"");
    EXPECT_TRUE(db.IdentificationOf(u"Plain", out, u"Default"));
    EXPECT_EQ(out, u"Default");

    ModemDatabase fresh;
    EXPECT_FALSE(fresh.Load(kOtherFolder));
    EXPECT_EQ(fresh.CurrentModem(), u"");
    EXPECT_EQ(fresh.DteSpeed(DteUse::Fax), 19200);
  }
}

TEST(ModemDatabase, TheSampleInstallationsFile) {
  test_support::TempDevice device;
  test_support::InstallSampleFiles(device, "Yvra ROM/GPRS Settings", {"ModemsCE.ini"});
  ModemDatabase db;
  ASSERT_TRUE(db.Load(u"\\Yvra ROM\\GPRS Settings\\"));
  EXPECT_EQ(db.ModemNames(), (std::vector<WString>{u"QZ7100", u"QZ8346"}));
  EXPECT_EQ(db.Variants(), (std::vector<WString>{u"GSM", u"GPRS", u"B", u"D", u"E"}));
  EXPECT_EQ(db.VariantModem(), (std::vector<size_t>{0, 0, 1, 1, 1}));

  struct Case {
    const char16_t* modem;
    int32_t dialUp;
    int32_t general;
    int32_t interChar;
    const char16_t* identification;
  } const cases[] = {
      {u"Hayes Compatible on COM1:", 19200, 19200, 0, u"Default"},
      {u"QZ7100 - GSM", 115200, 115200, 0, u"QZ7100"},
      {u"QZ8346 - E", 230400, 57600, 5, u"QZ8346"},
      {u"Cellular Line", 38400, 19200, 0, u"QZ-Dial"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(db.Select(u"\\Yvra ROM\\GPRS Settings\\", c.modem, 1)) << Utf8(c.modem);
    EXPECT_EQ(db.DteSpeed(DteUse::DialUpNetworking), c.dialUp) << Utf8(c.modem);
    EXPECT_EQ(db.DteSpeed(static_cast<DteUse>(0)), c.general) << Utf8(c.modem);
    EXPECT_EQ(db.InterChar(), c.interChar) << Utf8(c.modem);
    WString out;
    EXPECT_TRUE(db.Identification(out));
    EXPECT_EQ(out, c.identification) << Utf8(c.modem);
  }
}

}  // namespace
}  // namespace applet
