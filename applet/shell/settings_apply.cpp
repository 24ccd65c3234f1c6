// CSettingsStore::Apply: the current record becomes the device's
// connections, MMS settings and WAP proxies.

#include <vector>

#include "applet/connections/connection_manager_registry.h"
#include "applet/connections/connection_writer.h"
#include "applet/connections/gprs_modem_commands.h"
#include "applet/connections/network_ids.h"
#include "applet/connections/provisioning_writer.h"
#include "applet/shell/applet_data.h"
#include "applet/shell/applet_folders.h"
#include "applet/shell/mms_client_keys.h"
#include "applet/shell/settings_store.h"
#include "platform/named_event.h"
#include "platform/registry.h"
#include "platform/resource_library.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

// Connection names of the phonebook hold at most this many characters.
constexpr size_t kMaxEntryName = 20;
// The RAS device of the phone's own modem.
constexpr char16_t kCellularLine[] = u"Cellular Line";

// How the MMS connection relates to the operator's WAP access point.
enum LinkKind : int {
  kNoMmsConnection = 0,
  kSharesWapAccessPoint = 1,  // the MMS APN is the first WAP one
  kOwnAccessPoint = 2,
};

WString ResourceText(uint32_t number) { return platform::LoadString(number).value_or(WString()); }

// Records filled from the operator database name no modem and no RAS
// device. Written as they are, a phone that takes no provisioning
// documents would get no connection at all (the dial settings need a
// modem); they get the phone's own modem, whose commands are the "Default"
// section of GPRSmodems.inf, and its cellular line.
void UsePhoneModemWhenNone(CRASparam& record) {
  if (record.modemName.empty()) record.modemName = ResourceText(GprsModemCommands::kDefaultModemString);
  if (record.deviceName.empty()) record.deviceName = kCellularLine;
}

void WriteConnection(const CRASparam& record, WStringView folder, const WString* networkName,
                     WStringView networkId) {
  CRASparam written;
  written = record;
  UsePhoneModemWhenNone(written);
  ConnectionWriter writer(written);
  writer.WriteConnection(folder, networkName, networkId);
}

WString MmsConnectionName(const WString& operatorName, int linkKind) {
  if (linkKind == kSharesWapAccessPoint) {
    if (WString name = operatorName + u" GPRSWAPMMS"; name.size() <= kMaxEntryName) return name;
  }
  if (WString name = operatorName + u" MMS"; name.size() <= kMaxEntryName) return name;
  // The phonebook refuses longer names: a long operator name is cut rather
  // than leaving the phone without its MMS connection.
  return operatorName.substr(0, kMaxEntryName);
}

}  // namespace

void CSettingsStore::Apply() {
  CVELMRASparam& record = CurrentRecord();

  ConnectionWriter remover;
  auto removeConnection = [&remover](const WString& name) {
    if (!name.empty()) remover.DeleteConnection(name);
  };
  removeConnection(previousEntryName_);
  removeConnection(previousMmsEntryName_);
  RemoveProxyDocument(previousWapProxyName_);
  RemoveProxyDocument(previousWtlsProxyName_);
  removeConnection(previousWapEntryName_);
  removeConnection(previousReservedEntryName_);

  const int linkKind = ApplyMmsSettings(record);
  WriteMmsClientSettings(record, linkKind);

  record.enabled = 1;
  WriteConnection(record, installedFolder_, nullptr, network_ids::kInternet);

  ApplyWapSettings(record);

  SharedAppletData().Document().Save();
  MarkApplied();
}

int CSettingsStore::ApplyMmsSettings(CVELMRASparam& record) {
  OperatorDatabase& operators = SharedAppletData().Operators();
  operators.SelectOperator(record.operatorName);
  if (record.mmsEnabled == 0) return kNoMmsConnection;

  WString apn = record.mmsApn;
  if (apn.empty()) operators.MmsApn(/*useFallback=*/false, apn);
  if (apn.empty()) return kNoMmsConnection;

  std::vector<WString> wapApns;
  operators.ApnList(BearerType::WapGprs, wapApns);
  const int linkKind =
      !wapApns.empty() && apn == wapApns.front() ? kSharesWapAccessPoint : kOwnAccessPoint;

  CRASparam mms;
  mms.bearer = BearerType::WapGprs;
  mms.entryName = record.operatorName;
  mms.operatorName = record.operatorName;
  mms.countryName = record.countryName;
  operators.FillRecord(&operatorFolder_, mms);
  mms.userName = record.mmsUserName;
  if (mms.userName.empty()) operators.MmsUserName(mms.userName);
  mms.password = record.mmsPassword;
  if (mms.password.empty()) operators.MmsPassword(mms.password);
  mms.serverAssignedIp = 1;
  mms.ipAddress.Clear();
  const WString name = MmsConnectionName(record.operatorName, linkKind);
  if (linkKind == kOwnAccessPoint) mms.apn = apn;
  mms.enabled = 1;
  mms.entryName = name;

  const WString networkName = ResourceText(kMmsNetworkNameString);
  WriteConnection(mms, installedFolder_, &networkName, network_ids::kMms);
  record.mmsEntryName = name;
  return linkKind;
}

void CSettingsStore::WriteMmsClientSettings(const CVELMRASparam& record, int linkKind) {
  const bool enabled = record.mmsEnabled != 0;

  platform::RegistryKey gateway;
  if (gateway.Open(platform::Hive::LocalMachine, mms_client::kGatewayKey) == platform::kErrorSuccess) {
    uint32_t port = 0;
    if (enabled) {
      port = static_cast<uint32_t>(platform::TextToLong(record.mmsGatewayPort));
      if (port == 0) port = mms_client::kDefaultGatewayPort;
    }
    CAdresseIP address = record.mmsGateway;
    gateway.SetDword(mms_client::kGatewayPortValue, port);
    gateway.SetString(mms_client::kMmscUriValue, enabled ? record.mmsCenter : WString());
    gateway.SetString(mms_client::kGatewayValue, enabled ? address.ToText() : WString());
    gateway.SetString(mms_client::kNameValue, ResourceText(kMmsClientNameString));
  }

  // Without MMS the client must not keep sending through a connection that
  // the removals above took away, so its connection is forgotten whether or
  // not a network name is found; with MMS it is the network's display name.
  platform::RegistryKey ui;
  if (ui.Open(platform::Hive::LocalMachine, mms_client::kUiKey) == platform::kErrorSuccess) {
    WString networkName;
    const WStringView network = linkKind != kNoMmsConnection ? WStringView(network_ids::kMms)
                                                             : WStringView(network_ids::kInternet);
    if (!enabled)
      ui.DeleteValue(mms_client::kConnectionViaValue);
    else if (FindDestinationName(network, networkName))
      ui.SetString(mms_client::kConnectionViaValue, networkName);
  }

  platform::RegistryKey menu;
  if (menu.Open(platform::Hive::LocalMachine, mms_client::kContextMenuKey) == platform::kErrorSuccess) {
    if (enabled) {
      menu.SetString(u"", ResourceText(kMmsContextMenuString));
      menu.SetDword(mms_client::kEnabledValue, 1);
    } else {
      menu.DeleteValue(mms_client::kEnabledValue);
      menu.DeleteValue(u"");
    }
  }

  if (!enabled) return;
  WriteMmsAccountDocument(linkKind != kNoMmsConnection);
  platform::NamedEvent detected;
  if (detected.Create(mms_client::kMmsDetectedEvent, /*manualReset=*/false,
                      /*initiallySignalled=*/false) == platform::kErrorSuccess)
    detected.Set();
}

void CSettingsStore::ApplyWapSettings(CVELMRASparam& record) {
  OperatorDatabase& operators = SharedAppletData().Operators();
  operators.SelectOperator(record.operatorName);
  WString proxy, secureProxy;
  const bool hasProxy = operators.WapProxies(proxy, secureProxy);

  record.wapEntryName.clear();
  std::vector<WString> wapApns;
  operators.ApnList(BearerType::WapGprs, wapApns);
  if (!wapApns.empty()) {
    record.wapEntryName =
        platform::Format(u"WAP %s", {WStringView(record.operatorName)}).substr(0, kMaxEntryName);
    CRASparam wap;
    wap.bearer = BearerType::WapGprs;
    wap.entryName = record.wapEntryName;
    wap.countryName = record.countryName;
    wap.operatorName = record.operatorName;
    wap.enabled = hasProxy ? 1 : 0;
    operators.FillRecord(&operatorFolder_, wap);
    WriteConnection(wap, installedFolder_, nullptr,
                    hasProxy ? network_ids::kWap : network_ids::kInternet);
  }

  record.reservedEntryName.clear();
  if (hasProxy) {
    WriteProxyDocuments(proxy, secureProxy, record.wapProxyName, record.wtlsProxyName);
  } else {
    record.wapProxyName.clear();
    record.wtlsProxyName.clear();
  }
}

void CSettingsStore::MarkApplied() {
  platform::RegistryKey key;
  if (key.Open(platform::Hive::CurrentUser, kSettingsKey) != platform::kErrorSuccess) return;
  hardReset_ = kSettingsApplied;
  key.SetString(kHardResetValue, kSettingsApplied);
}

}  // namespace applet
