#include "applet/connections/operator_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/connections/sms_center_database.h"
#include "tests/support/applet_resources.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;
using Names = std::vector<WString>;

constexpr char16_t kFolder[] = u"\\Data\\";

// Two French operators (one also under a prefix of its name), a British one,
// one without a country, one of a country the table lacks, the custom
// operator's own section and "Unknown".
constexpr char kOperators[] =
    "; test operators\r\n"
    "[Orange F]\r\n"
    "CountryProvider=33\r\n"
    "Network=GPRS,CSD,WAPGPRS\r\n"
    "IconIndex=007\r\n"
    "IconFile=\\icons.ico\r\n"
    "HomeNetworkNumber=20801, 20800\r\n"
    "APN=orange.fr, orange-mib\r\n"
    "Username=web\r\n"
    "Password=secret\r\n"
    "GPRS Auth=PAP\r\n"
    "DNS1=194.51.3.56\r\n"
    "QOSRequested=1,2,3,4,31\r\n"
    "QOSMinimum=1,2\r\n"
    "GPRS hcomp=1\r\n"
    "GPRS dcomp=01\r\n"
    "CSD PhoneNumber=+33 6 07 62 64 64\r\n"
    "CSD Username=csd\r\n"
    "CSD Auth=chap\r\n"
    "CSD IP=10.0.0.7\r\n"
    "CSD DNS2=10.0.0.8\r\n"
    "MMS Center=http://mms.orange.fr\r\n"
    "WAP PROXY=192.168.10.200:9201\r\n"
    "[SFR]\r\n"
    "CountryProvider=33\r\n"
    "Network=gprs, wapgprs\r\n"
    "IconIndex=-1\r\n"
    "HomeNetworkNumber=20810,20801\r\n"
    "PDPType=PPP\r\n"
    "GPRS=SFR Web\r\n"
    "MMS APN=mmssfr\r\n"
    "MMS Username=mms\r\n"
    "MMS WapGwPort=8080\r\n"
    "WAP SECURE PROXY=10.1.1.1:9203\r\n"
    "[Orange]\r\n"
    "CountryProvider=33\r\n"
    "Network=GPRS\r\n"
    "[Vodafone UK]\r\n"
    "CountryProvider=44\r\n"
    "Network=CSD,LTE\r\n"
    "IconIndex=12a\r\n"
    "HomeNetworkNumber=23415\r\n"
    "[Free Wifi]\r\n"
    "Network=GPRS\r\n"
    "[Vodafone Ireland]\r\n"
    "CountryProvider=353\r\n"
    "HomeNetworkNumber=27201\r\n"
    "[Other operator]\r\n"
    "CountryProvider=33\r\n"
    "[Unknown]\r\n"
    "CountryProvider=33\r\n"
    "Network=GPRS\r\n";

class OperatorDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device_.WriteFile("Data/GPRSope.inf", kOperators);
    ASSERT_TRUE(db_.Open(kFolder, u"SFR"));
  }

  CRASparam& Record(const char16_t* operatorName, BearerType bearer) {
    record_.operatorName = operatorName;
    record_.bearer = bearer;
    db_.FillRecord(nullptr, record_);
    return record_;
  }

  test_support::TempDevice device_;
  test_support::InstalledResources resources_{device_};
  OperatorDatabase db_;
  CRASparam record_;
};

TEST_F(OperatorDatabaseTest, OpenKeepsOperatorsOfKnownCountriesAndMergesCountriesByCode) {
  EXPECT_EQ(db_.CustomOperator(), u"Other operator");
  EXPECT_EQ(db_.NoCountry(), u"(No country)");
  EXPECT_EQ(db_.CurrentOperator(), u"SFR");
  using Op = OperatorDatabase::Operator;
  // Vodafone Ireland's code is not in the country table. The custom
  // operator's section has no country, whatever the file says.
  EXPECT_EQ(db_.Operators(), (std::vector<Op>{{u"Orange F", 0}, {u"SFR", 0}, {u"Orange", 0},
                                              {u"Vodafone UK", 1}, {u"Free Wifi", 2},
                                              {u"Other operator", 2}, {u"Unknown", 0}}));
  EXPECT_EQ(db_.Countries(), (std::vector<OperatorDatabase::Country>{
                                 {u"France", 33}, {u"United Kingdom", 44}, {u"(No country)", -1}}));
}

TEST_F(OperatorDatabaseTest, CountryOfSections) {
  struct Case {
    const char16_t* section;
    const char16_t* name;
    int32_t code;
    bool result;
  };
  const Case cases[] = {
      {u"Orange F", u"France", 33, true},
      {u"Free Wifi", u"(No country)", -1, true},
      {u"Other operator", u"(No country)", -1, true},
      {u"Vodafone Ireland", u"", 353, false},
      {u"No such section", u"(No country)", -1, true},
  };
  for (const Case& c : cases) {
    WString name = u"stale";
    int32_t code = 0;
    EXPECT_EQ(db_.CountryOf(c.section, name, code), c.result) << std::string(c.section, c.section + 3);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(code, c.code);
  }
}

TEST_F(OperatorDatabaseTest, ListsCountriesWithTheOperatorsCountry) {
  WString country;
  EXPECT_EQ(db_.ListCountries(u"Vodafone UK", country),
            (Names{u"(No country)", u"France", u"United Kingdom"}));
  EXPECT_EQ(country, u"United Kingdom");
  db_.ListCountries(u"Vodafone Ireland", country);
  EXPECT_EQ(country, u"(No country)");
}

TEST_F(OperatorDatabaseTest, ListsOperatorsOfACountryByKinds) {
  // "Orange" begins "Orange F", listed before it; "Other operator" is the
  // custom entry itself; "Unknown" is never listed.
  EXPECT_EQ(db_.ListOperators(u"France", OperatorDatabase::kAllKinds),
            (Names{u"Other operator", u"Orange F", u"SFR"}));
  EXPECT_EQ(db_.ListOperators(u"France", BearerBit(BearerType::Csd)),
            (Names{u"Other operator", u"Orange F"}));
  EXPECT_EQ(db_.ListOperators(u"United Kingdom", BearerBit(BearerType::Gprs)),
            (Names{u"Other operator"}));
  EXPECT_EQ(db_.ListOperators(u"(No country)", 3), (Names{u"Other operator", u"Free Wifi"}));
  EXPECT_EQ(db_.ListOperators(u"france", OperatorDatabase::kAllKinds), (Names{u"Other operator"}));
}

TEST_F(OperatorDatabaseTest, SaysWhyAnOperatorIsNotListedAndMovesNoCursor) {
  using L = OperatorDatabase::Listing;
  struct Decision {
    WString section;
    L listing;
    WString takenBy;
    bool operator==(const Decision&) const = default;
  };
  struct Case {
    const char16_t* country;
    int32_t kinds;
    std::vector<Decision> decisions;
  };
  const Case cases[] = {
      {u"France", BearerBit(BearerType::Csd),
       {{u"Orange F", L::Listed, u""},
        {u"SFR", L::NoKindInCommon, u""},
        {u"Orange", L::NameTaken, u"Orange F"},
        {u"Unknown", L::NeverListed, u""}}},
      // The list's first entry takes the name of the custom operator's section.
      {u"(No country)", OperatorDatabase::kAllKinds,
       {{u"Free Wifi", L::Listed, u""}, {u"Other operator", L::NameTaken, u"Other operator"}}},
  };
  db_.SelectOperator(u"Vodafone UK");
  for (const Case& c : cases) {
    std::vector<Decision> got;
    for (auto& d : db_.DecideOperatorList(c.country, c.kinds))
      got.push_back({d.section, d.listing, d.takenBy});
    EXPECT_EQ(got, c.decisions) << platform::ToUtf8(c.country);
    db_.ListOperators(c.country, c.kinds);
  }
  // Listing reads each section's "Network" without selecting it.
  EXPECT_EQ(db_.CurrentOperator(), u"Vodafone UK");
}

TEST_F(OperatorDatabaseTest, ReadsNetworkTokensAndIntegers) {
  struct Case {
    const char16_t* section;
    int32_t networks;
    int32_t iconIndex;
  };
  const Case cases[] = {
      {u"Orange F", 1 | 2 | 16, 7},  // 007 is 7
      {u"SFR", 1 | 16, -1},          // lower case, comma and space
      {u"Vodafone UK", 2, -1},       // LTE is no kind; 12a is no integer
      {u"Vodafone Ireland", 0, -1},  // no Network key
  };
  for (const Case& c : cases) {
    db_.SelectOperator(c.section);
    EXPECT_EQ(db_.NetworksOf(), c.networks) << db_.CurrentOperator().size();
    EXPECT_EQ(db_.IconIndex(), c.iconIndex);
  }
}

TEST_F(OperatorDatabaseTest, FillsAGprsRecord) {
  record_.wins1.Set(9, 9, 9, 9);
  record_.phoneNumber = u"+1 555";
  const CRASparam& r = Record(u"Orange F", BearerType::Gprs);
  EXPECT_EQ(r.iconIndex, 7);
  EXPECT_EQ(r.iconFile, u"\\icons.ico");
  EXPECT_EQ(r.apnList, (Names{u"orange.fr", u"orange-mib"}));
  EXPECT_EQ(r.apn, u"orange.fr");
  EXPECT_EQ(r.qosRequested.precedence, 1);
  EXPECT_EQ(r.qosRequested.meanClass, 31);
  EXPECT_FALSE(r.qosMinimum.IsSet());  // malformed: cleared
  EXPECT_EQ(r.pdpType, u"IP");
  EXPECT_EQ(r.pdpAddress, u"0.0.0.0");
  EXPECT_EQ(r.phoneNumber, u"");  // GPRS has no phone number key
  EXPECT_EQ(r.userName, u"web");
  EXPECT_EQ(r.password, u"secret");
  EXPECT_EQ(r.dns1.a, 194);
  EXPECT_EQ(r.serverAssignedDns, 0);
  EXPECT_EQ(r.serverAssignedIp, 1);
  EXPECT_EQ(r.headerCompression, 1);
  EXPECT_EQ(r.dataCompression, 1);  // 01 is the integer 1
  EXPECT_EQ(r.authentication, AuthMethod::Pap);
  EXPECT_EQ(r.wins1.a, 9);  // not described by the database
}

TEST_F(OperatorDatabaseTest, FillsACsdRecordFromItsOwnKeys) {
  record_.apn = u"kept";
  const CRASparam& r = Record(u"Orange F", BearerType::Csd);
  EXPECT_EQ(r.phoneNumber, u"+33 6 07 62 64 64");
  EXPECT_EQ(r.userName, u"csd");
  EXPECT_EQ(r.password, u"");
  EXPECT_EQ(r.apn, u"kept");  // APNs belong to the GPRS kinds
  EXPECT_EQ(r.serverAssignedDns, 0);  // DNS2 alone is enough
  EXPECT_EQ(r.dns2.d, 8);
  EXPECT_EQ(r.serverAssignedIp, 0);
  EXPECT_EQ(r.ipAddress.d, 7);
  EXPECT_EQ(r.authentication, AuthMethod::Auto);  // "chap" is no authentication word
  EXPECT_EQ(r.headerCompression, 0);
}

TEST_F(OperatorDatabaseTest, TheCustomOperatorGetsAPlaceholderApn) {
  EXPECT_EQ(Record(u"Other operator", BearerType::WapGprs).apn, u"APN");
  record_.apn.clear();
  EXPECT_EQ(Record(u"SFR", BearerType::Gprs).apn, u"");
  EXPECT_EQ(record_.pdpType, u"PPP");
}

TEST_F(OperatorDatabaseTest, ConnectionNamesAndTheirDefaults) {
  db_.SelectOperator(u"SFR");
  const std::pair<BearerType, const char16_t*> cases[] = {
      {BearerType::Gprs, u"SFR Web"}, {BearerType::Csd, u"CSD"},
      {BearerType::OneXRtt, u"1xRTT"}, {BearerType::Cdma, u"CDMA"},
      {BearerType::WapGprs, u"WAP GPRS"}, {BearerType::WapCsd, u"WAP CSD"},
      {BearerType::WapOneXRtt, u""}, {BearerType::WapCdma, u""},
  };
  for (const auto& [kind, name] : cases) {
    WString out = u"stale";
    db_.ConnectionName(kind, out);
    EXPECT_EQ(out, name) << BearerBit(kind);
  }
}

TEST_F(OperatorDatabaseTest, MmsSettingsAndTheirFallbacks) {
  WString text;
  db_.SelectOperator(u"Orange F");
  EXPECT_FALSE(db_.MmsOnly());
  db_.MmsGatewayPort(text);
  EXPECT_EQ(text, u"9201");
  db_.MmsApn(false, text);
  EXPECT_EQ(text, u"");
  db_.MmsApn(true, text);
  EXPECT_EQ(text, u"orange.fr");
  db_.MmsUserName(text);
  EXPECT_EQ(text, u"web");
  db_.MmsPassword(text);
  EXPECT_EQ(text, u"secret");
  db_.MmsCenter(text);
  EXPECT_EQ(text, u"http://mms.orange.fr");

  db_.SelectOperator(u"SFR");
  db_.MmsGatewayPort(text);
  EXPECT_EQ(text, u"8080");
  db_.MmsApn(true, text);
  EXPECT_EQ(text, u"mmssfr");
  db_.MmsUserName(text);
  EXPECT_EQ(text, u"mms");
}

TEST_F(OperatorDatabaseTest, WapProxies) {
  WString proxy, secure;
  db_.SelectOperator(u"Orange F");
  EXPECT_TRUE(db_.WapProxies(proxy, secure));
  EXPECT_EQ(proxy, u"192.168.10.200:9201");
  EXPECT_EQ(secure, u"");
  db_.SelectOperator(u"SFR");
  EXPECT_TRUE(db_.WapProxies(proxy, secure));
  EXPECT_EQ(secure, u"10.1.1.1:9203");
  db_.SelectOperator(u"Orange");
  EXPECT_FALSE(db_.WapProxies(proxy, secure));
}

TEST_F(OperatorDatabaseTest, FindsTheOperatorOfAHomeNetworkNumber) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"20800", u"Orange F"},            // second in its list
      {u"20801", u"Orange F"},            // also SFR's: the earlier section wins
      {u"234150123456789", u"Vodafone UK"},  // a whole subscriber identity
      {u"27201,x", u"Vodafone Ireland"},  // cut at the comma
      {u"2080", u""},
      {u"", u""},
  };
  for (const auto& [number, section] : cases) EXPECT_EQ(db_.FindByHomeNetwork(number), section);
}

TEST(OperatorDatabase, AMissingFileLeavesEverythingAlone) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  OperatorDatabase db;
  db.SelectOperator(u"Kept");
  EXPECT_FALSE(db.Open(u"\\Nowhere\\", u"Other"));
  EXPECT_EQ(db.CurrentOperator(), u"Kept");
  EXPECT_TRUE(db.Operators().empty());
  WString country;
  EXPECT_EQ(db.ListCountries(u"Kept", country), (Names{u"(No country)"}));
  EXPECT_EQ(db.ListOperators(u"(No country)", 255), (Names{u"Other operator"}));

  CRASparam record;
  record.operatorName = u"Kept";
  record.userName = u"mine";
  record.apn = u"my.apn";
  record.iconIndex = 3;
  db.FillRecord(nullptr, record);
  EXPECT_EQ(record.userName, u"mine");
  EXPECT_EQ(record.apn, u"my.apn");
  EXPECT_EQ(record.iconIndex, -1);
  EXPECT_EQ(record.pdpType, u"IP");
  EXPECT_EQ(record.authentication, AuthMethod::Auto);
  EXPECT_EQ(db.FindByHomeNetwork(u"20801"), u"");
}

// ---------------------------------------------------------------- SMS centres

constexpr char kSmsCenters[] =
    "[Orange France]\n"
    "CountryProvider=33\n"
    "HomeNetworkNumber=20801,20800\n"
    "SmsCenter0=+33689004000\n"
    "SmsCenter1=+33689004431\n"
    "SmsCenter3=+33600000000\n"
    "[No centre]\n"
    "CountryProvider=33\n"
    "HomeNetworkNumber=20810\n"
    "[No country]\n"
    "HomeNetworkNumber=20810\n"
    "SmsCenter0=+33600000001\n"
    "[SFR]\n"
    "CountryProvider=33\n"
    "HomeNetworkNumber=20810\n"
    "SmsCenter0=+33609001390\n"
    "[Vodafone UK]\n"
    "CountryProvider=44\n"
    "HomeNetworkNumber=23415\n"
    "SmsCenter0=\n"
    "[Other operator]\n"
    "CountryProvider=33\n"
    "HomeNetworkNumber=20899\n"
    "SmsCenter0=+33600000002\n";

TEST(SmsCenterDatabase, KeepsSectionsWithACountryAndAFirstCentre) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  device.WriteFile("Data/ope.inf", kSmsCenters);
  SmsCenterDatabase db;
  ASSERT_TRUE(db.Open(kFolder, u"OPE.inf"));
  EXPECT_EQ(db.Sections(), (Names{u"Orange France", u"SFR", u"Vodafone UK"}));
  // Numbered keys are read up to the first gap.
  EXPECT_EQ(db.SmsCenters(), (Names{u"+33689004000\u00A7+33689004431", u"+33609001390", u""}));
  EXPECT_EQ(db.CountryNumbers(), (std::vector<int32_t>{33, 44}));
  EXPECT_EQ(db.SectionCountry(), (std::vector<size_t>{0, 0, 1}));
  using Reason = SmsCenterDatabase::LeftOutReason;
  EXPECT_EQ(db.LeftOut(), (std::vector<SmsCenterDatabase::LeftOutSection>{
                              {u"No centre", Reason::NoFirstCenter},
                              {u"No country", Reason::NoCountry},
                              {u"Other operator", Reason::CustomOperator}}));
  EXPECT_EQ(db.HomeNetworkNumbers(u"Orange France"), (Names{u"20801", u"20800"}));

  WString number = u"stale";
  EXPECT_TRUE(db.FirstSmsCenter(u"Orange France", number));
  EXPECT_EQ(number, u"+33689004000");
  EXPECT_FALSE(db.FirstSmsCenter(u"No centre", number));
  EXPECT_EQ(number, u"+33689004000");
  // "No centre" lists 20810 first but was left out.
  EXPECT_EQ(db.FindByHomeNetwork(nullptr, u"20810"), u"SFR");

  // Read as an operator database, sections need no centre.
  device.WriteFile("Data/GPRSope.inf", kSmsCenters);
  ASSERT_TRUE(db.Open(kFolder, u"gprsope.inf"));
  EXPECT_EQ(db.Sections(), (Names{u"Orange France", u"No centre", u"SFR", u"Vodafone UK"}));
  EXPECT_FALSE(db.Open(kFolder, u"missing.inf"));
  EXPECT_TRUE(db.Sections().empty());
}

TEST_F(OperatorDatabaseTest, FindsTheSmsCentreSectionOfAnOperator) {
  device_.WriteFile("Data/ope.inf", kSmsCenters);
  // Orange F's first home network number is 20801.
  EXPECT_EQ(db_.FindSmsOperator(kFolder, u"Orange F"), u"Orange France");
  EXPECT_EQ(db_.FindSmsOperator(kFolder, u"SFR"), u"SFR");
  EXPECT_EQ(db_.FindSmsOperator(kFolder, u"Orange"), u"");  // no home network number
  EXPECT_EQ(db_.FindSmsOperator(u"\\Elsewhere\\", u"SFR"), u"");
}

// --------------------------------------------------------------- sample data

TEST(SampleOperatorData, TheShippedDatabasesReadAsIntended) {
  test_support::TempDevice device;
  test_support::InstalledResources resources(device);
  test_support::InstallSampleFiles(device, "Data", {"GPRSope.inf", "OPE.inf"});
  OperatorDatabase db;
  ASSERT_TRUE(db.Open(kFolder, u""));
  // All but the Irish operator, whose country code the table lacks;
  // "Unknown" is kept (without a country) but never listed.
  EXPECT_EQ(db.Operators().size(), 22u);
  EXPECT_EQ(db.Countries().front().name, u"France");
  EXPECT_EQ(db.ListOperators(u"France", 3),
            (Names{u"Other operator", u"Orange F", u"SFR", u"Bouygues T\u00e9l\u00e9com"}));

  const WString section = db.FindByHomeNetwork(u"208201234567890");
  EXPECT_EQ(section, u"Bouygues T\u00e9l\u00e9com");
  EXPECT_EQ(db.FindSmsOperator(kFolder, section), u"Bouygues T\u00e9l\u00e9com");
  SmsCenterDatabase sms;
  ASSERT_TRUE(sms.Open(kFolder, SmsCenterDatabase::kFileName));
  WString centre;
  EXPECT_TRUE(sms.FirstSmsCenter(u"Orange France", centre));
  EXPECT_EQ(centre, u"+33689004000");
}

}  // namespace
}  // namespace applet
