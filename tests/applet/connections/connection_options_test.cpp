#include "applet/connections/connection_options.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace applet {
namespace {

TEST(ConnectionOptions, EverythingIsOnWithoutAFile) {
  test_support::TempDevice device;
  ConnectionOptions options;
  EXPECT_FALSE(options.Open(u"\\Nowhere\\"));
  for (int bit = 1; bit <= 128; bit <<= 1)
    EXPECT_TRUE(options.IsEnabled(static_cast<BearerType>(bit))) << bit;
  EXPECT_FALSE(options.IsEnabled(static_cast<BearerType>(3)));
  const auto& pages = options.LoadPageOptions(BearerType::Cdma);
  EXPECT_TRUE(pages.showIp && pages.showDns && pages.showQos && pages.fallback);
}

TEST(ConnectionOptions, OnlyTheIntegerOneIsOnAndAnythingElseButDigitsIsTheDefault) {
  test_support::TempDevice device;
  device.WriteFile("Data/RAScnxMngr.INI",
                   "[General]\n"
                   "EnableGPRS=1\n"
                   "EnableGPRSWAP=0\n"
                   "EnableCSD=2\n"
                   "EnableCSDWAP=yes\n"  // not an integer: the default, on
                   "Enable1xRTT=-1\n"    // not an integer either
                   "EnableCDMA=01\n"
                   "EnableFallback=0\n"
                   "[GPRS]\nShow IP=0\nShow DNS=1\n"
                   "[CSD]\nShow QoS=0\n"
                   "[1XRTT]\nShow DNS=0\n"
                   "[CDMA]\nShow IP=0\nShow DNS=0\nShow QoS=0\n");
  ConnectionOptions options;
  ASSERT_TRUE(options.Open(u"\\Data\\"));
  const std::pair<BearerType, bool> enabled[] = {
      {BearerType::Gprs, true},     {BearerType::WapGprs, false},   {BearerType::Csd, false},
      {BearerType::WapCsd, true},   {BearerType::OneXRtt, true},    {BearerType::WapOneXRtt, true},
      {BearerType::Cdma, true},     {BearerType::WapCdma, true},
  };
  for (const auto& [kind, on] : enabled) EXPECT_EQ(options.IsEnabled(kind), on) << BearerBit(kind);

  struct Pages {
    int bearer;
    bool ip, dns, qos;
  };
  const Pages pages[] = {
      {1, false, true, true},  {16, false, true, true},  // WAP kinds use the base kind's section
      {2, true, true, false},  {32, true, true, false},
      {4, true, false, true},  {64, true, false, true},
      {8, false, false, false}, {128, false, false, false},
      {0, false, true, true},  {255, false, true, true},  // anything else: "GPRS"
  };
  for (const Pages& p : pages) {
    const auto& got = options.LoadPageOptions(static_cast<BearerType>(p.bearer));
    EXPECT_EQ(got.showIp, p.ip) << p.bearer;
    EXPECT_EQ(got.showDns, p.dns) << p.bearer;
    EXPECT_EQ(got.showQos, p.qos) << p.bearer;
    EXPECT_FALSE(got.fallback);
  }
}

}  // namespace
}  // namespace applet
