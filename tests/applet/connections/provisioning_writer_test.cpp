#include "applet/connections/provisioning_writer.h"

#include <gtest/gtest.h>

#include "applet/connections/network_ids.h"
#include "applet/connections/provisioning_document.h"
#include "platform/journal.h"
#include "platform/provisioning_record.h"
#include "platform/ras_phonebook.h"
#include "tests/applet/connections/writer_device.h"

namespace applet {
namespace {

using platform::WString;
using test::WriterDevice;

// Every line of the expected documents ends with CR LF.
WString Lines(std::initializer_list<const char16_t*> lines) {
  WString out;
  for (const char16_t* line : lines) out += WString(line) + u"\r\n";
  return out;
}

void FillGprs(CRASparam& r) {
  r.bearer = BearerType::Gprs;
  r.entryName = u"Orange & <Web>";
  r.enabled = 1;
  r.userName = u"orange";
  r.password = u"it's \"secret\"";
  r.countryCode = u"33";
  r.serverAssignedDns = 0;
  r.dns1.Set(194, 51, 3, 56);
  r.apn = u"orange.fr";
  r.headerCompression = 1;
}

const WString kConnectionStart = Lines({
    u"<wap-provisioningdoc>",
    u"<characteristic type=\"CM_GPRSEntries\">",
    u"<characteristic type=\"Orange &amp; &lt;Web&gt;\">",
    u"<parm name=\"DestId\" value=\"{ADB0B001-10B5-3F39-27C6-9742E785FCD4}\"/>",
    u"<parm name=\"RequirePw\" value=\"0\"/>",
    u"<parm name=\"Enabled\" value=\"1\"/>",
    u"<parm name=\"Domain\" value=\"\"/>",
    u"<parm name=\"UserName\" value=\"orange\"/>",
    u"<parm name=\"Password\" value=\"it&apos;s &quot;secret&quot;\"/>",
    u"<parm name=\"CountryCode\" value=\"33\"/>",
    u"<parm name=\"AreaCode\" value=\"0\"/>",
    u"<parm name=\"SpecificIpAddr\" value=\"0\"/>",
    u"<parm name=\"IpAddr\" value=\"0.0.0.0\"/>",
    u"<parm name=\"SpecificNameServers\" value=\"1\"/>",
    u"<parm name=\"DnsAddr\" value=\"194.51.3.56\"/>",
    u"<parm name=\"AltDnsAddr\" value=\"0.0.0.0\"/>",
    u"<parm name=\"WinsAddr\" value=\"0.0.0.0\"/>",
    u"<parm name=\"AltWinsAddr\" value=\"0.0.0.0\"/>",
    u"<parm name=\"IpHeaderCompression\" value=\"1\"/>",
    u"<parm name=\"SwCompression\" value=\"0\"/>",
});

const WString kCellularStart = Lines({
    u"<characteristic type=\"DevSpecificCellular\">",
    u"<parm name=\"GPRSInfoAccessPointName\" value=\"orange.fr\"/>",
    u"<parm name=\"BearerInfoValid\" value=\"1\"/>",
    u"<parm name=\"GPRSInfoValid\" value=\"1\"/>",
    u"<parm name=\"GPRSInfoProtocolType\" value=\"2\"/>",
    u"<parm name=\"GPRSInfoL2ProtocolType\" value=\"PPP\"/>",
    u"<parm name=\"GPRSInfoAddress\" value=\"\"/>",
    u"<parm name=\"GPRSInfoHeaderCompression\" value=\"1\"/>",
    u"<parm name=\"GPRSInfoDataCompression\" value=\"0\"/>",
    u"<parm name=\"GPRSInfoParameters\" value=\"\"/>",
});

const WString kEnd = Lines({u"</characteristic>", u"</characteristic>", u"</characteristic>",
                            u"</wap-provisioningdoc>"});

const WString kRequestedQos = Lines({
    u"<parm name=\"GPRSInfoQOSSettingsValid\" value=\"1\"/>",
    u"<parm name=\"GPRSInfoQOSPrecedenceClass\" value=\"1\"/>",
    u"<parm name=\"GPRSInfoQOSReliabilityClass\" value=\"3\"/>",
    u"<parm name=\"GPRSInfoQOSDelayClass\" value=\"2\"/>",
    u"<parm name=\"GPRSInfoQOSPeakThruClass\" value=\"4\"/>",
    u"<parm name=\"GPRSInfoQOSMeanThruClass\" value=\"31\"/>",
});
const WString kNoRequestedQos = Lines({u"<parm name=\"GPRSInfoQOSSettingsValid\" value=\"0\"/>"});
const WString kMinimumQos = Lines({
    u"<parm name=\"GPRSInfoMinQOSSettingsValid\" value=\"1\"/>",
    u"<parm name=\"GPRSInfoMinQOSPrecedenceClass\" value=\"2\"/>",
    u"<parm name=\"GPRSInfoMinQOSReliabilityClass\" value=\"0\"/>",
    u"<parm name=\"GPRSInfoMinQOSDelayClass\" value=\"0\"/>",
    u"<parm name=\"GPRSInfoMinQOSPeakThruClass\" value=\"0\"/>",
    u"<parm name=\"GPRSInfoMinQOSMeanThruClass\" value=\"0\"/>",
});
const WString kNoMinimumQos = Lines({u"<parm name=\"GPRSInfoMinQOSSettingsValid\" value=\"0\"/>"});

TEST(ProvisioningWriter, GprsDocumentsWithAndWithoutEachQosProfile) {
  struct Case {
    bool requested, minimum;
    const WString& requestedLines;
    const WString& minimumLines;
  } cases[] = {{false, false, kNoRequestedQos, kNoMinimumQos},
               {true, false, kRequestedQos, kNoMinimumQos},
               {false, true, kNoRequestedQos, kMinimumQos},
               {true, true, kRequestedQos, kMinimumQos}};
  for (const Case& c : cases) {
    CRASparam r;
    FillGprs(r);
    if (c.requested) r.qosRequested.SetClasses(1, 3, 4, 19, 2);  // mean 19 is stored as 31
    if (c.minimum) r.qosMinimum.precedence = 2;
    EXPECT_EQ(BuildConnectionDocument(r, network_ids::kInternet),
              kConnectionStart + kCellularStart + c.requestedLines + c.minimumLines + kEnd)
        << c.requested << c.minimum;
  }
}

TEST(ProvisioningWriter, CsdDocumentHasTheLineDirectlyInTheEntry) {
  CRASparam r;
  r.bearer = BearerType::WapCsd;
  r.entryName = u"Data";
  r.phoneNumber = u"+33 6 07";
  r.serverAssignedIp = 0;
  r.ipAddress.Set(10, 0, 0, 7);
  r.dataCompression = 1;
  EXPECT_EQ(BuildConnectionDocument(r, network_ids::kWap),
            Lines({u"<wap-provisioningdoc>",
                   u"<characteristic type=\"CM_PPPEntries\">",
                   u"<characteristic type=\"Data\">",
                   u"<parm name=\"DestId\" value=\"{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}\"/>",
                   u"<parm name=\"RequirePw\" value=\"0\"/>",
                   u"<parm name=\"Enabled\" value=\"0\"/>",
                   u"<parm name=\"Domain\" value=\"\"/>",
                   u"<parm name=\"UserName\" value=\"\"/>",
                   u"<parm name=\"Password\" value=\"\"/>",
                   u"<parm name=\"CountryCode\" value=\"0\"/>",
                   u"<parm name=\"AreaCode\" value=\"0\"/>",
                   u"<parm name=\"SpecificIpAddr\" value=\"1\"/>",
                   u"<parm name=\"IpAddr\" value=\"10.0.0.7\"/>",
                   u"<parm name=\"SpecificNameServers\" value=\"0\"/>",
                   u"<parm name=\"DnsAddr\" value=\"0.0.0.0\"/>",
                   u"<parm name=\"AltDnsAddr\" value=\"0.0.0.0\"/>",
                   u"<parm name=\"WinsAddr\" value=\"0.0.0.0\"/>",
                   u"<parm name=\"AltWinsAddr\" value=\"0.0.0.0\"/>",
                   u"<parm name=\"IpHeaderCompression\" value=\"0\"/>",
                   u"<parm name=\"SwCompression\" value=\"1\"/>",
                   u"<parm name=\"Phone\" value=\"+33 6 07\"/>",
                   u"<parm name=\"DeviceName\" value=\"Cellular Line\"/>",
                   u"<parm name=\"DeviceType\" value=\"modem\"/>",
                   u"</characteristic>",
                   u"</characteristic>",
                   u"</wap-provisioningdoc>"}));
}

TEST(ProvisioningWriter, EscapingTable) {
  struct Case {
    const char16_t* text;
    const char16_t* escaped;
  } cases[] = {{u"", u""},
               {u"plain", u"plain"},
               {u"a&b", u"a&amp;b"},
               {u"<x>", u"&lt;x&gt;"},
               {u"say \"hi\"", u"say &quot;hi&quot;"},
               {u"it's", u"it&apos;s"},
               {u"&amp;", u"&amp;amp;"},
               {u"Op\u00e9rateur", u"Op\u00e9rateur"}};
  for (const Case& c : cases) EXPECT_EQ(EscapeXml(c.text), c.escaped) << platform::ToUtf8(c.text);
}

// A quote in a value no longer breaks the document: the configuration
// manager takes it and the entry keeps the text as it was.
TEST(ProvisioningWriter, QuotesInValuesReachThePhonebook) {
  WriterDevice phone({.phoneProgram = true});
  CRASparam r;
  FillGprs(r);
  r.entryName = u"Bob's \"Web\"";
  EXPECT_EQ(WriteConnectionDocument(r, nullptr, network_ids::kInternet), 0);
  const auto journal = phone.Device().Device().Journal().Lines();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0], "000001 configuration manager accepted document 0001: CM_GPRSEntries");
  platform::PhonebookEntry entry;
  ASSERT_EQ(platform::ReadPhonebookEntry(u"Bob's \"Web\"", entry), 0);
  EXPECT_EQ(entry.password, WString(u"it's \"secret\""));
}

TEST(ProvisioningWriter, OnlyASecureProxyMakesOneDocument) {
  WriterDevice phone({.phoneProgram = true});
  WString wap = u"stale", wtls;
  EXPECT_TRUE(WriteProxyDocuments(u"", u"10.0.0.1:9203", wap, wtls));
  EXPECT_EQ(wap, u"");
  EXPECT_EQ(wtls, u"WTLS-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}");
  EXPECT_EQ(platform::ListProvisioningDocuments(), std::vector<uint32_t>{1});
  EXPECT_EQ(BuildProxyDocument(u"10.0.0.1:9203", true),
            Lines({u"<wap-provisioningdoc>",
                   u"<characteristic type=\"CM_ProxyEntries\">",
                   u"<characteristic type=\"WTLS-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}\">",
                   u"<parm name=\"SrcId\" value=\"{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}\"/>",
                   u"<parm name=\"DestId\" value=\"{F28D1F74-72BE-4394-A4A7-4E296219390C}\"/>",
                   u"<parm name=\"Proxy\" value=\"10.0.0.1:9203\"/>",
                   u"<parm name=\"Enabled\" value=\"1\"/>",
                   u"<parm name=\"Type\" value=\"2\"/>",
                   u"</characteristic>",
                   u"</characteristic>",
                   u"</wap-provisioningdoc>"}));
  EXPECT_EQ(WriterDevice::Text(platform::Hive::LocalMachine,
                               WString(u"\\SOFTWARE\\Microsoft\\ConnMgr\\Providers\\"
                                       u"{EF097F4C-DC4B-4c98-8FF6-AEF805DC0E8E}\\") + wtls,
                               u"Proxy"),
            "10.0.0.1:9203");
}

TEST(ProvisioningWriter, RemovalOfAProxy) {
  WriterDevice phone({.phoneProgram = true});
  EXPECT_EQ(BuildProxyRemovalDocument(kWapProxyName),
            Lines({u"<wap-provisioningdoc>", u"<characteristic type=\"CM_ProxyEntries\">",
                   u"<nocharacteristic type=\"WAP-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}\"/>",
                   u"</characteristic>", u"</wap-provisioningdoc>"}));
  // A removal name is escaped like every other text of a document.
  EXPECT_NE(BuildProxyRemovalDocument(u"A&B").find(u"type=\"A&amp;B\""), WString::npos);
  EXPECT_TRUE(RemoveProxyDocument(u""));
  EXPECT_TRUE(platform::ListProvisioningDocuments().empty());
  EXPECT_TRUE(RemoveProxyDocument(kWapProxyName));
  EXPECT_EQ(platform::ListProvisioningDocuments(), std::vector<uint32_t>{1});
}

TEST(ProvisioningWriter, MmsAccountWithEitherConnection) {
  for (bool mmsConnection : {true, false}) {
    EXPECT_EQ(BuildMmsAccountDocument(mmsConnection),
              Lines({u"<wap-provisioningdoc>",
                     u"<characteristic type=\"EMAIL2\">",
                     u"<characteristic type=\"{751F77F6-920D-43e3-AFCB-7888B2666C63}\">",
                     mmsConnection
                         ? u"<parm name=\"CONNECTIONID\" value=\"{2D2433C7-0E2E-4031-A355-2143A926856B}\"/>"
                         : u"<parm name=\"CONNECTIONID\" value=\"{ADB0B001-10B5-3F39-27C6-9742E785FCD4}\"/>",
                     u"<parm name=\"SERVICENAME\" value=\"MMS\"/>",
                     u"<parm name=\"SERVICETYPE\" value=\"MMS\"/>",
                     u"<parm name=\"INSERVER\" value=\"mms\"/>",
                     u"<parm name=\"OUTSERVER\" value=\"mms\"/>",
                     u"<parm name=\"AUTHNAME\" value=\"user@domain\"/>",
                     u"<parm name=\"REPLYADDR\" value=\"user@domain\"/>",
                     u"</characteristic>",
                     u"</characteristic>",
                     u"</wap-provisioningdoc>"}));
  }
}

TEST(ProvisioningWriter, WhenDocumentsAreTaken) {
  struct Case {
    unsigned major;
    const char* platformType;
    bool phoneProgram;
    bool pocketPc;
    bool available;
  } cases[] = {{4, "PocketPC", true, true, true},   {3, "PocketPC", true, true, true},
               {4, "PocketPC", false, true, false}, {5, "PocketPC", true, false, false},
               {2, "PocketPC", true, false, false}, {4, "Smartphone", true, false, false},
               {4, "pocketpc", true, false, false}};
  for (const Case& c : cases) {
    test_support::TempDevice device;
    platform::DeviceConfig config;
    config.osMajorVersion = c.major;
    config.platformType = c.platformType;
    device.SetConfig(config);
    if (c.phoneProgram) device.WriteFile("Windows/CPROG.EXE", "phone");
    EXPECT_EQ(IsPocketPc(), c.pocketPc) << c.major << " " << c.platformType;
    EXPECT_EQ(ProvisioningAvailable(), c.available) << c.major << " " << c.platformType;
  }
}

}  // namespace
}  // namespace applet
