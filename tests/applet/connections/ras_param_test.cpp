#include "applet/connections/ras_param.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/applet/connections/record_fixture.h"

namespace applet {
namespace {

TEST(CRASparam, ConstructorGivesTheResetValues) {
  CRASparam r;
  EXPECT_EQ(r.authentication, AuthMethod::Auto);
  EXPECT_EQ(r.bearer, BearerType::Gprs);
  EXPECT_EQ(r.countryCode, u"0");
  EXPECT_EQ(r.areaCode, u"0");
  EXPECT_EQ(r.pdpType, u"IP");
  EXPECT_EQ(r.contextId, -1);
  EXPECT_EQ(r.serverAssignedDns, 1);
  EXPECT_EQ(r.serverAssignedIp, 1);
  EXPECT_EQ(r.dialStringFits, 1);
  EXPECT_EQ(r.iconIndex, -1);
  for (const platform::WString* text :
       {&r.operatorName, &r.homeNetworkNumber, &r.countryName, &r.iconFile, &r.modemName,
        &r.deviceName, &r.entryName, &r.phoneNumber, &r.userName, &r.password, &r.reservedText,
        &r.pdpAddress, &r.apn})
    EXPECT_TRUE(text->empty());
  for (int32_t value : {r.dataCompression, r.headerCompression, r.enabled, r.reserved1,
                        r.reserved2, r.reserved3, r.reserved4, r.reserved5})
    EXPECT_EQ(value, 0);
  EXPECT_TRUE(r.apnList.empty());
  for (const CAdresseIP* address : {&r.dns1, &r.dns2, &r.wins1, &r.wins2, &r.ipAddress})
    EXPECT_TRUE(*address == CAdresseIP());
  EXPECT_FALSE(r.HasQos());
}

TEST(CRASparam, ResetDefaultsKeepsTheIcon) {
  auto r = test::FixtureRecord();
  r->ResetDefaults();
  EXPECT_EQ(r->iconIndex, 3);
  EXPECT_EQ(r->iconFile, u"op.ico");
  EXPECT_TRUE(r->IsEqual(CRASparam()));
  EXPECT_TRUE(r->homeNetworkNumber.empty());
}

TEST(CRASparam, CopyLeavesOutTheRecordsPlace) {
  auto source = test::FixtureRecord();
  CRASparam copy;
  copy.homeNetworkNumber = u"99999";
  copy.iconIndex = 7;
  copy.iconFile = u"mine.ico";
  copy.apnList = {u"old", u"older", u"oldest"};
  copy = *source;
  EXPECT_EQ(copy.homeNetworkNumber, u"99999");
  EXPECT_EQ(copy.iconIndex, 7);
  EXPECT_EQ(copy.iconFile, u"mine.ico");
  EXPECT_EQ(copy.apnList, source->apnList);
  EXPECT_EQ(copy.operatorName, source->operatorName);
  EXPECT_EQ(copy.countryName, u"France");
  // The fields the copy leaves out are the ones the comparison ignores.
  EXPECT_TRUE(copy.IsEqual(*source));
  EXPECT_TRUE(source->IsEqual(copy));
}

TEST(CRASparam, EveryCopiedFieldTakesPartInTheComparison) {
  using Change = std::function<void(CRASparam&)>;
  const std::pair<const char*, Change> changes[] = {
      {"authentication", [](CRASparam& r) { r.authentication = AuthMethod::Pap; }},
      {"bearer", [](CRASparam& r) { r.bearer = BearerType::Gprs; }},
      {"operatorName", [](CRASparam& r) { r.operatorName = u"OP\u00c9RATEUR"; }},
      {"countryName", [](CRASparam& r) { r.countryName = u"france"; }},
      {"modemName", [](CRASparam& r) { r.modemName += u"x"; }},
      {"deviceName", [](CRASparam& r) { r.deviceName += u"x"; }},
      {"entryName", [](CRASparam& r) { r.entryName = u"web"; }},
      {"countryCode", [](CRASparam& r) { r.countryCode += u"x"; }},
      {"areaCode", [](CRASparam& r) { r.areaCode += u"x"; }},
      {"phoneNumber", [](CRASparam& r) { r.phoneNumber += u"x"; }},
      {"userName", [](CRASparam& r) { r.userName = u"User"; }},
      {"password", [](CRASparam& r) { r.password = u"p"; }},
      {"serverAssignedDns", [](CRASparam& r) { r.serverAssignedDns = 1; }},
      {"dns1", [](CRASparam& r) { r.dns1.d = 2; }},
      {"dns2", [](CRASparam& r) { r.dns2.a = 0; }},
      {"wins1", [](CRASparam& r) { r.wins1.b = 1; }},
      {"wins2", [](CRASparam& r) { r.wins2.c = 1; }},
      {"serverAssignedIp", [](CRASparam& r) { r.serverAssignedIp = 0; }},
      {"ipAddress", [](CRASparam& r) { r.ipAddress.Set(1, 2, 3, 4); }},
      {"reservedText", [](CRASparam& r) { r.reservedText.clear(); }},
      {"contextId", [](CRASparam& r) { r.contextId = -1; }},
      {"pdpType", [](CRASparam& r) { r.pdpType = u"PPP"; }},
      {"pdpAddress", [](CRASparam& r) { r.pdpAddress.clear(); }},
      {"apnList", [](CRASparam& r) { r.apnList[1] = u"WAP"; }},
      {"apn", [](CRASparam& r) { r.apn = u"Internet"; }},
      {"dataCompression", [](CRASparam& r) { r.dataCompression = 0; }},
      {"headerCompression", [](CRASparam& r) { r.headerCompression = 1; }},
      {"qosRequested", [](CRASparam& r) { r.qosRequested.meanClass = 30; }},
      {"qosMinimum", [](CRASparam& r) { r.qosMinimum.precedence = 1; }},
      {"enabled", [](CRASparam& r) { r.enabled = 0; }},
      {"dialStringFits", [](CRASparam& r) { r.dialStringFits = 0; }},
      {"reserved1", [](CRASparam& r) { r.reserved1 = 0; }},
      {"reserved2", [](CRASparam& r) { r.reserved2 = 0; }},
      {"reserved3", [](CRASparam& r) { r.reserved3 = 0; }},
      {"reserved4", [](CRASparam& r) { r.reserved4 = 0; }},
      {"reserved5", [](CRASparam& r) { r.reserved5 = 0; }},
  };
  const auto original = test::FixtureRecord();
  for (const auto& [field, change] : changes) {
    auto changed = test::FixtureRecord();
    change(*changed);
    EXPECT_FALSE(changed->IsEqual(*original)) << field;
    EXPECT_FALSE(original->IsEqual(*changed)) << field;
    // The copy carries the field over.
    CRASparam copy;
    copy = *changed;
    EXPECT_TRUE(copy.IsEqual(*changed)) << field;
  }
  auto placeOnly = test::FixtureRecord();
  placeOnly->homeNetworkNumber = u"00000";
  placeOnly->iconIndex = 0;
  placeOnly->iconFile = u"other.ico";
  EXPECT_TRUE(placeOnly->IsEqual(*original));
}

TEST(CRASparam, ApnListsCompareOverTheOtherRecordsElements) {
  CRASparam shorter, longer;
  shorter.apnList = {u"a"};
  longer.apnList = {u"a", u"b"};
  // An element of the other record without a counterpart here differs...
  EXPECT_FALSE(shorter.IsEqual(longer));
  // ...while extra elements here are not looked at.
  EXPECT_TRUE(longer.IsEqual(shorter));
}

TEST(CRASparam, BearerFamilies) {
  struct Case {
    int32_t bearer;
    bool gprs, oneXRtt;
  } cases[] = {
      {1, true, false},   {2, false, false},  {4, false, true},  {8, false, false},
      {16, true, false},  {32, false, false}, {64, false, true}, {128, false, false},
      {0, false, false},  {3, false, false},  {-1, false, false},
  };
  for (const auto& c : cases) {
    CRASparam r;
    r.bearer = static_cast<BearerType>(c.bearer);
    EXPECT_EQ(r.IsGprsFamily(), c.gprs) << c.bearer;
    EXPECT_EQ(r.IsOneXRttFamily(), c.oneXRtt) << c.bearer;
    EXPECT_EQ(r.IsPacketFamily(), c.gprs || c.oneXRtt) << c.bearer;
  }
}

TEST(CRASparam, HasQosWhenEitherProfileIsSet) {
  CRASparam r;
  EXPECT_FALSE(r.HasQos());
  r.qosMinimum.FromText(u"0,0,0,0,1");
  EXPECT_TRUE(r.HasQos());
  r.qosMinimum.Clear();
  r.qosRequested.FromText(u"1,0,0,0,0");
  EXPECT_TRUE(r.HasQos());
  r.qosRequested.FromText(u"1,2,3");
  EXPECT_FALSE(r.HasQos());
}

}  // namespace
}  // namespace applet
