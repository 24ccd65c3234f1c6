#include "applet/shell/velm_ras_param.h"

#include "applet/connections/archive_fields.h"
#include "applet/connections/archive_version.h"
#include "platform/framework/archive.h"

namespace applet {

VELM_IMPLEMENT_SERIAL(CVELMRASparam, CRASparam, 1)

CVELMRASparam::CVELMRASparam() { ResetDefaults(); }

CVELMRASparam::~CVELMRASparam() = default;

void CVELMRASparam::ResetDefaults() {
  CRASparam::ResetDefaults();
  smsCenter.clear();
  mmsEnabled = 1;
  mmsCenter.clear();
  mmsEntryName.clear();
  mmsApn.clear();
  mmsUserName.clear();
  mmsPassword.clear();
  mmsGateway.Clear();
  mmsGatewayPort.clear();
  isCustom = 0;
  wapEntryName.clear();
  wapProxyName.clear();
  wtlsProxyName.clear();
}

CVELMRASparam& CVELMRASparam::operator=(const CVELMRASparam& other) {
  if (this == &other) return *this;
  CRASparam::operator=(other);
  smsCenter = other.smsCenter;
  mmsEnabled = other.mmsEnabled;
  mmsCenter = other.mmsCenter;
  mmsEntryName = other.mmsEntryName;
  mmsApn = other.mmsApn;
  mmsUserName = other.mmsUserName;
  mmsPassword = other.mmsPassword;
  mmsGateway = other.mmsGateway;
  mmsGatewayPort = other.mmsGatewayPort;
  isCustom = other.isCustom;
  wapEntryName = other.wapEntryName;
  wapProxyName = other.wapProxyName;
  wtlsProxyName = other.wtlsProxyName;
  reservedEntryName = other.reservedEntryName;
  return *this;
}

bool CVELMRASparam::IsEqual(const CVELMRASparam& other) const {
  return CRASparam::IsEqual(other) && smsCenter == other.smsCenter &&
         mmsEnabled == other.mmsEnabled && mmsCenter == other.mmsCenter &&
         mmsEntryName == other.mmsEntryName && mmsApn == other.mmsApn &&
         mmsUserName == other.mmsUserName && mmsPassword == other.mmsPassword &&
         mmsGateway == other.mmsGateway && mmsGatewayPort == other.mmsGatewayPort &&
         isCustom == other.isCustom && wapEntryName == other.wapEntryName &&
         wapProxyName == other.wapProxyName && wtlsProxyName == other.wtlsProxyName &&
         reservedEntryName == other.reservedEntryName;
}

void CVELMRASparam::Serialize(framework::CArchive& ar) {
  CRASparam::Serialize(ar);
  SerializeText(ar, smsCenter);
  SerializeInt(ar, mmsEnabled);
  SerializeText(ar, mmsCenter);
  mmsGateway.Serialize(ar);
  for (platform::WString* text :
       {&mmsGatewayPort, &mmsEntryName, &mmsApn, &mmsUserName, &mmsPassword})
    SerializeText(ar, *text);
  SerializeInt(ar, isCustom);
  // Documents before version 6 end the record here; the names keep what
  // they held.
  if (ar.IsLoading() && archiveVersion != kApplyNamesVersion) return;
  for (platform::WString* text : {&wapEntryName, &wapProxyName, &wtlsProxyName, &reservedEntryName})
    SerializeText(ar, *text);
}

}  // namespace applet
