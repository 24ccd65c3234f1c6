#include "tools/handheld/operator_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(OperatorCheck, TheSampleDataHasOnlyItsTwoDeliberateFindings) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  test_support::InstallSampleFiles(device, "Data", {"GPRSope.inf", "OPE.inf"});
  std::vector<std::string> got;
  for (const Finding& f : CheckOperatorFiles(kFolder, kFolder)) got.push_back(FormatFinding(f));
  ASSERT_EQ(got.size(), 2u) << testing::PrintToString(got);
  EXPECT_NE(got[0].find("[Telfort] the operator has no SMS centre"), std::string::npos) << got[0];
  EXPECT_NE(got[1].find("[Vodafone Ireland] CountryProvider=353"), std::string::npos) << got[1];
}

}  // namespace
}  // namespace handheld
