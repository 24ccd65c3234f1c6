#include "applet/connections/provisioning_writer.h"

#include "applet/connections/connection_manager_registry.h"
#include "applet/connections/network_ids.h"
#include "applet/connections/provisioning_document.h"
#include "platform/config_manager.h"
#include "platform/file.h"
#include "platform/system_info.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

constexpr char16_t kProxyEntries[] = u"CM_ProxyEntries";

void QosParms(ProvisioningDocument& doc, WStringView prefix, const CQualityOfService& qos) {
  const WString p = u"GPRSInfo" + WString(prefix);
  if (!qos.IsSet()) {
    doc.TextParm(p + u"SettingsValid", u"0");
    return;
  }
  doc.TextParm(p + u"SettingsValid", u"1");
  doc.IntParm(p + u"PrecedenceClass", qos.precedence);
  doc.IntParm(p + u"ReliabilityClass", qos.reliability);
  doc.IntParm(p + u"DelayClass", qos.delay);
  doc.IntParm(p + u"PeakThruClass", qos.peakClass);
  doc.IntParm(p + u"MeanThruClass", qos.meanClass);
}

void CellularParms(ProvisioningDocument& doc, const CRASparam& r) {
  doc.OpenCharacteristic(u"DevSpecificCellular");
  doc.TextParm(u"GPRSInfoAccessPointName", r.apn);
  doc.TextParm(u"BearerInfoValid", u"1");
  doc.TextParm(u"GPRSInfoValid", u"1");
  doc.IntParm(u"GPRSInfoProtocolType", 2);
  doc.TextParm(u"GPRSInfoL2ProtocolType", u"PPP");
  doc.TextParm(u"GPRSInfoAddress", u"");
  doc.BoolParm(u"GPRSInfoHeaderCompression", r.headerCompression);
  doc.BoolParm(u"GPRSInfoDataCompression", r.dataCompression);
  doc.TextParm(u"GPRSInfoParameters", u"");
  QosParms(doc, u"QOS", r.qosRequested);
  QosParms(doc, u"MinQOS", r.qosMinimum);
  doc.CloseCharacteristic();
}

}  // namespace

bool IsPocketPc() {
  const platform::OsVersion version = platform::GetOsVersion();
  if (version.major != 3 && version.major != 4) return false;
  char16_t type[kPlatformTypeCapacity] = {};
  if (platform::GetPlatformType(type, kPlatformTypeCapacity) != platform::kErrorSuccess)
    return false;
  return WStringView(type) == kPocketPcPlatform;
}

bool ProvisioningAvailable() { return platform::FileExists(kPhoneProgram) && IsPocketPc(); }

void SubmitDocument(WStringView document) {
  platform::ConfigResultText result;
  platform::DMProcessConfigXML(document, platform::kCfgFlagProcess, &result);
  result.reset();
}

WString BuildConnectionDocument(const CRASparam& r, WStringView networkId) {
  ProvisioningDocument doc;
  doc.Start();
  doc.OpenCharacteristic(r.IsGprsFamily() ? u"CM_GPRSEntries" : u"CM_PPPEntries");
  doc.OpenCharacteristic(r.entryName);
  doc.TextParm(u"DestId", networkId);
  doc.TextParm(u"RequirePw", u"0");
  doc.BoolParm(u"Enabled", r.enabled);
  doc.TextParm(u"Domain", u"");
  doc.TextParm(u"UserName", r.userName);
  doc.TextParm(u"Password", r.password);
  doc.TextParm(u"CountryCode", r.countryCode);
  doc.TextParm(u"AreaCode", r.areaCode);
  doc.TextParm(u"SpecificIpAddr", r.serverAssignedIp == 0 ? u"1" : u"0");
  doc.AddressParm(u"IpAddr", r.ipAddress);
  doc.TextParm(u"SpecificNameServers", r.serverAssignedDns == 0 ? u"1" : u"0");
  doc.AddressParm(u"DnsAddr", r.dns1);
  doc.AddressParm(u"AltDnsAddr", r.dns2);
  doc.AddressParm(u"WinsAddr", r.wins1);
  doc.AddressParm(u"AltWinsAddr", r.wins2);
  doc.BoolParm(u"IpHeaderCompression", r.headerCompression);
  doc.BoolParm(u"SwCompression", r.dataCompression);
  if (r.IsGprsFamily()) {
    CellularParms(doc, r);
  } else {
    doc.TextParm(u"Phone", r.phoneNumber);
    doc.TextParm(u"DeviceName", u"Cellular Line");
    doc.TextParm(u"DeviceType", u"modem");
  }
  doc.CloseCharacteristic();
  doc.CloseCharacteristic();
  doc.End();
  return doc.Text();
}

int WriteConnectionDocument(const CRASparam& record, const WString* networkName,
                            WStringView networkId) {
  if (networkName != nullptr) RegisterDestination(*networkName, networkId);
  SubmitDocument(BuildConnectionDocument(record, networkId));
  return 0;
}

WString BuildProxyDocument(WStringView proxy, bool secure) {
  ProvisioningDocument doc;
  doc.Start();
  doc.OpenCharacteristic(kProxyEntries);
  doc.OpenCharacteristic(secure ? kWtlsProxyName : kWapProxyName);
  doc.TextParm(u"SrcId", network_ids::kWap);
  doc.TextParm(u"DestId", secure ? network_ids::kSecureWapProxyDestination
                                 : network_ids::kWapProxyDestination);
  doc.TextParm(u"Proxy", proxy);
  doc.TextParm(u"Enabled", u"1");
  doc.TextParm(u"Type", u"2");
  doc.CloseCharacteristic();
  doc.CloseCharacteristic();
  doc.End();
  return doc.Text();
}

bool WriteProxyDocuments(WStringView proxy, WStringView secureProxy, WString& wapProxyName,
                         WString& wtlsProxyName) {
  wapProxyName.clear();
  wtlsProxyName.clear();
  if (!proxy.empty()) {
    SubmitDocument(BuildProxyDocument(proxy, false));
    wapProxyName = kWapProxyName;
  }
  if (!secureProxy.empty()) {
    SubmitDocument(BuildProxyDocument(secureProxy, true));
    wtlsProxyName = kWtlsProxyName;
  }
  return true;
}

WString BuildProxyRemovalDocument(WStringView name) {
  ProvisioningDocument doc;
  doc.Start();
  doc.OpenCharacteristic(kProxyEntries);
  doc.Removal(name);
  doc.CloseCharacteristic();
  doc.End();
  return doc.Text();
}

bool RemoveProxyDocument(WStringView name) {
  if (!name.empty()) SubmitDocument(BuildProxyRemovalDocument(name));
  return true;
}

WString BuildMmsAccountDocument(bool mmsConnectionWritten) {
  ProvisioningDocument doc;
  doc.Start();
  doc.OpenCharacteristic(u"EMAIL2");
  doc.OpenCharacteristic(network_ids::kMmsAccount);
  doc.TextParm(u"CONNECTIONID", mmsConnectionWritten ? network_ids::kMms : network_ids::kInternet);
  doc.TextParm(u"SERVICENAME", u"MMS");
  doc.TextParm(u"SERVICETYPE", u"MMS");
  doc.TextParm(u"INSERVER", u"mms");
  doc.TextParm(u"OUTSERVER", u"mms");
  doc.TextParm(u"AUTHNAME", kMmsAccountAddress);
  doc.TextParm(u"REPLYADDR", kMmsAccountAddress);
  doc.CloseCharacteristic();
  doc.CloseCharacteristic();
  doc.End();
  return doc.Text();
}

void WriteMmsAccountDocument(bool mmsConnectionWritten) {
  SubmitDocument(BuildMmsAccountDocument(mmsConnectionWritten));
}

}  // namespace applet
