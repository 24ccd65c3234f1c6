#include "tools/handheld/operator_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/device/country_name.h"
#include "tests/support/applet_resources.h"
#include "tests/support/temp_device.h"

namespace handheld {
namespace {

constexpr char16_t kFolder[] = u"\\Data\\";

// One fault per line, numbered as in the file.
constexpr char kOperators[] =
    "stray=before any section\n"                                    // 1
    "[Good]\n"                                                       // 2
    "CountryProvider=33\n"                                           // 3
    "Network=GPRS, wapgprs\n"                                        // 4
    "HomeNetworkNumber=20801\n"                                      // 5
    "IconIndex=-1\n"                                                 // 6 (reads as meant)
    "DNS1=10.0.0.1\n"                                                // 7
    "QOSRequested=1, 2, 3, 4, 31\n"                                  // 8
    "[Faulty]\n"                                                     // 9
    "CountryProvider=44\n"                                           // 10
    "Network=GPRS,LTE\n"                                             // 11
    "HomeNetworkNumber=20801,2341,23415\n"                           // 12
    "IconIndex=3a\n"                                                 // 13
    "GPRS hcomp=2\n"                                                 // 14
    "DNS1=10.0.0\n"                                                  // 15
    "DNS2=300.1.1.1\n"                                               // 16
    "QOSMinimum=1,2,3\n"                                             // 17
    "GPRS Auth=pap\n"                                                // 18
    "APN=a\n"                                                        // 19
    "apn=b\n"                                                        // 20
    "Proxy=1.2.3.4\n"                                                // 21
    "just words\n"                                                   // 22
    "[Good]\n"                                                       // 23
    "[Abroad]\n"                                                     // 24
    "CountryProvider=353\n"                                          // 25
    "[No Network]\n"                                                 // 26
    "CountryProvider=33\n"                                           // 27
    "HomeNetworkNumber=20810\n"                                      // 28
    "[No Home]\n"                                                    // 29
    "CountryProvider=33\n"                                           // 30
    "Network=CSD\n"                                                  // 31
    "[Unknown]\n"                                                    // 32
    "Network=GPRS\n";                                                // 33

constexpr char kSmsCenters[] =
    "[Orange]\n"                       // 1
    "CountryProvider=33\n"             // 2
    "HomeNetworkNumber=20801\n"        // 3
    "SmsCenter0=+33689004000\n"        // 4
    "SmsCenter2=+33689004431\n"        // 5
    "[Centreless]\n"                   // 6
    "CountryProvider=44\n"             // 7
    "HomeNetworkNumber=23415\n"        // 8
    "[Stateless]\n"                    // 9
    "HomeNetworkNumber=20810\n"        // 10
    "SmsCenter0=+33600000000\n"        // 11
    "Centre=+33600000001\n";           // 12

struct Expected {
  const char* file;
  size_t line;
  const char* section;
  const char* words;  // a part of the message
};

TEST(OperatorCheck, ReportsWhatTheAppletWouldDropOrMisread) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  device.WriteFile("Data/GPRSope.inf", kOperators);
  device.WriteFile("Data/OPE.inf", kSmsCenters);
  const std::vector<Finding> findings = CheckOperatorFiles(kFolder, kFolder);

  const Expected expected[] = {
      {"GPRSope.inf", 1, "", "outside any section"},
      {"GPRSope.inf", 11, "Faulty", "\"LTE\", which is no kind of connection"},
      {"GPRSope.inf", 12, "Faulty", "20801 is also listed by [Good] (line 5)"},
      {"GPRSope.inf", 12, "Faulty", "\"2341\" is not five digits"},
      {"GPRSope.inf", 13, "Faulty", "IconIndex=3a is not a number of digits only; the applet reads -1"},
      {"GPRSope.inf", 14, "Faulty", "GPRS hcomp=2 is neither 0 nor 1"},
      {"GPRSope.inf", 15, "Faulty", "DNS1=10.0.0 is not a dotted IPv4 address; the applet ignores it"},
      {"GPRSope.inf", 16, "Faulty", "DNS2=300.1.1.1 is not a dotted IPv4 address; the applet reads 300.1.1.1"},
      {"GPRSope.inf", 17, "Faulty", "QOSMinimum=1,2,3 is not five comma-separated classes"},
      {"GPRSope.inf", 18, "Faulty", "GPRS Auth=pap is not NONE, PAP, CHAP or AUTO"},
      {"GPRSope.inf", 20, "Faulty", "apn is given again; the applet reads only the first (line 19)"},
      {"GPRSope.inf", 21, "Faulty", "unknown key \"Proxy\""},
      {"GPRSope.inf", 22, "Faulty", "no key"},
      {"GPRSope.inf", 23, "Good", "appears again; the applet reads only the first (line 2)"},
      {"GPRSope.inf", 25, "Abroad", "CountryProvider=353: the country table has no country"},
      {"GPRSope.inf", 26, "No Network", "Network names no kind of connection"},
      {"GPRSope.inf", 26, "No Network", "no SMS centre: no section of \\Data\\OPE.inf lists its home network number 20810"},
      {"GPRSope.inf", 29, "No Home", "no HomeNetworkNumber"},
      {"OPE.inf", 5, "Orange", "SmsCenter2 follows a gap (no SmsCenter1)"},
      {"OPE.inf", 6, "Centreless", "no SmsCenter0; the applet leaves it out"},
      {"OPE.inf", 9, "Stateless", "no CountryProvider; the applet leaves it out"},
      {"OPE.inf", 12, "Stateless", "unknown key \"Centre\""},
  };
  // Only an operator's first home network number selects its SMS section.
  const Expected faultyWithoutCentre{"GPRSope.inf", 9, "Faulty", "no SMS centre"};

  std::vector<std::string> got;
  for (const Finding& f : findings) got.push_back(FormatFinding(f));
  auto has = [&](const Expected& e) {
    for (const Finding& f : findings)
      if (platform::ToUtf8(f.file) == std::string("\\Data\\") + e.file && f.line == e.line &&
          platform::ToUtf8(f.section) == e.section && f.message.find(e.words) != std::string::npos)
        return true;
    return false;
  };
  for (const Expected& e : expected)
    EXPECT_TRUE(has(e)) << e.file << ":" << e.line << " " << e.words << "\n" << testing::PrintToString(got);
  // Faulty's first is 20801, which [Orange] serves; 23415 of the left-out
  // [Centreless] does not count.
  EXPECT_FALSE(has(faultyWithoutCentre)) << testing::PrintToString(got);
  EXPECT_EQ(findings.size(), std::size(expected)) << testing::PrintToString(got);
  // Sorted file by file, in line order.
  for (size_t i = 1; i < findings.size(); ++i) {
    if (findings[i].file != findings[i - 1].file) continue;
    EXPECT_LE(findings[i - 1].line, findings[i].line);
  }
}

// What the applet hides without a word: operators the operator dialog
// never lists, codes its country table gives another country, and lines
// its lookups read differently from the way they look.
constexpr char kHiddenOperators[] =
    "[Orange F]\n"                     // 1
    "CountryProvider=33\n"             // 2
    "Network=GPRS\n"                   // 3
    "HomeNetworkNumber=20801\n"        // 4
    "[Orange]\n"                       // 5
    "CountryProvider=33\n"             // 6
    "Network=GPRS\n"                   // 7
    "HomeNetworkNumber=20802\n"        // 8
    "[(Select]\n"                      // 9
    "CountryProvider=33\n"             // 10
    "Network=GPRS\n"                   // 11
    "HomeNetworkNumber=20803\n"        // 12
    "[Sprint]\n"                       // 13
    "CountryProvider=1\n"              // 14
    "Network=1XRTT,WAP1XRTT\n"         // 15
    "HomeNetworkNumber=31000\n"        // 16
    "[TMN]\n"                          // 17
    "CountryProvider=351\n"            // 18
    "Network=GPRS\n"                   // 19
    "HomeNetworkNumber=26806\n"        // 20
    "[Rogers]\n"                       // 21
    "CountryProvider=107\n"            // 22
    "Network=GPRS\n"                   // 23
    "HomeNetworkNumber=30272\n"        // 24
    "[Vivo]\n"                         // 25
    "CountryProvider=55\n"             // 26
    "Network=GPRS\n"                   // 27
    "HomeNetworkNumber=72406\n"        // 28
    "\t[Tabbed]\n"                     // 29
    "CountryProvider=44\n"             // 30
    "[Broken\n"                        // 31
    "Network=GPRS\n"                   // 32 (no lookup reads it)
    "[Last]\n"                         // 33
    "CountryProvider=33\n"             // 34
    "Network=CSD\n"                    // 35
    "HomeNetworkNumber=20801\n";       // 36

constexpr char kHiddenSmsCenters[] =
    "[All]\n"                                                     // 1
    "CountryProvider=33\n"                                        // 2
    "HomeNetworkNumber=20801,20802,20803,31000,26806,30272\n"     // 3
    "SmsCenter0=+33600000000\n"                                   // 4
    "[Centreless]\n"                                              // 5
    "CountryProvider=44\n"                                        // 6
    "HomeNetworkNumber=23415\n"                                   // 7
    "[UK]\n"                                                      // 8
    "CountryProvider=44\n"                                        // 9
    "HomeNetworkNumber=23415,20801\n"                             // 10
    "SmsCenter0=+44700000000\n"                                   // 11
    "[Other operator]\n"                                          // 12
    "CountryProvider=33\n"                                        // 13
    "SmsCenter0=+33600000001\n";                                  // 14

TEST(OperatorCheck, ReportsWhatTheDialogAndTheCountryTableHide) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  device.WriteFile("Data/GPRSope.inf", kHiddenOperators);
  device.WriteFile("Data/OPE.inf", kHiddenSmsCenters);
  const std::vector<Finding> findings = CheckOperatorFiles(kFolder, kFolder);

  const char* const expected[] = {
      "\\Data\\GPRSope.inf:5: [Orange] the operator dialog never lists the operator: [Orange F], "
      "listed before it, begins with its name (letter case ignored)",
      "\\Data\\GPRSope.inf:9: [(Select] the operator dialog never lists the operator: the list's "
      "first entry \"(Select your operator)\" begins with its name (letter case ignored)",
      "\\Data\\GPRSope.inf:13: [Sprint] the operator offers only 1XRTT WAP1XRTT; the operator dialog "
      "lists only operators with GPRS or CSD, and a SIM card of the operator configures nothing",
      "\\Data\\GPRSope.inf:18: [TMN] CountryProvider=351: the applet lists the operator under Brazil, "
      "the country its table gives this code, but the public code of Brazil is 55 and 351 is the "
      "public code of Portugal",
      "\\Data\\GPRSope.inf:22: [Rogers] CountryProvider=107: the applet lists the operator under "
      "Canada, the country its table gives this code, but the public code of Canada is 1 and 107 is "
      "no country's",
      "\\Data\\GPRSope.inf:26: [Vivo] CountryProvider=55: the country table has no country with this "
      "code; the applet leaves the operator out of every list (55 is the public code of Brazil, "
      "which the table has under 351)",
      "\\Data\\GPRSope.inf:29: [Tabbed] the header is indented with a tab (or other white space than "
      "blanks): the applet takes the section for an operator of no country but reads none of its "
      "keys, and reads the lines below as lines of [Vivo]",
      "\\Data\\GPRSope.inf:30: [Vivo] CountryProvider is given again; the applet reads only the first "
      "(line 26)",
      "\\Data\\GPRSope.inf:31: [Vivo] the line has '[' but no ']' and is no header: the applet's "
      "lookups stop here and read none of the lines up to the next header",
      "\\Data\\GPRSope.inf:36: [Last] home network number 20801 is also listed by [Orange F] (line 4); "
      "SIM cards of this network find that section",
      "\\Data\\OPE.inf:5: [Centreless] the section has no SmsCenter0; the applet leaves it out",
      // 23415 of the left-out [Centreless] does not count.
      "\\Data\\OPE.inf:10: [UK] home network number 20801 is also listed by [All] (line 3); SIM cards "
      "of this network find that section",
      "\\Data\\OPE.inf:12: [Other operator] the section has the name of the applet's custom operator "
      "entry; the applet leaves it out",
  };
  std::vector<std::string> got;
  for (const Finding& f : findings) got.push_back(FormatFinding(f));
  EXPECT_EQ(got, std::vector<std::string>(std::begin(expected), std::end(expected)));
}

TEST(OperatorCheck, OnlyTwoCodesOfTheCountryTableAreNotTheirCountrysPublicCode) {
  std::vector<int> differing;
  for (const applet::CountryRow& row : applet::CountryTable())
    if (CountryCodeFault(row.code)) differing.push_back(row.code);
  EXPECT_EQ(differing, (std::vector<int>{107, 351}));
  // Codes the table lacks: a public one is named, another is not.
  EXPECT_NE(CountryCodeFault(353)->find("(353 is the public code of Ireland)"), std::string::npos);
  EXPECT_EQ(CountryCodeFault(999)->find("public"), std::string::npos);
}

TEST(OperatorCheck, MissingFilesAreFindings) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  std::vector<Finding> findings = CheckOperatorFiles(kFolder, kFolder);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(FormatFinding(findings[0]), "\\Data\\GPRSope.inf: the file cannot be opened");

  device.WriteFile("Data/GPRSope.inf", "[A]\nCountryProvider=33\nNetwork=GPRS\nHomeNetworkNumber=20801\n");
  findings = CheckOperatorFiles(kFolder, kFolder);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(FormatFinding(findings[0]),
            "\\Data\\OPE.inf: the file cannot be opened; no operator gets an SMS centre");
}

TEST(OperatorCheck, TheSampleDataHasOnlyItsThreeDeliberateFindings) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  test_support::InstallSampleFiles(device, "Data", {"GPRSope.inf", "OPE.inf"});
  std::vector<std::string> got;
  for (const Finding& f : CheckOperatorFiles(kFolder, kFolder)) got.push_back(FormatFinding(f));
  ASSERT_EQ(got.size(), 3u) << testing::PrintToString(got);
  EXPECT_NE(got[0].find("[Telfort] the operator has no SMS centre"), std::string::npos) << got[0];
  // A CDMA operator: the dialog offers GPRS and CSD operators only.
  EXPECT_NE(got[1].find("[Sprint PCS] the operator offers only 1XRTT CDMA WAP1XRTT"), std::string::npos)
      << got[1];
  EXPECT_NE(got[2].find("[Vodafone Ireland] CountryProvider=353"), std::string::npos) << got[2];
}

}  // namespace
}  // namespace handheld
