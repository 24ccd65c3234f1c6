#include "applet/connections/ras_param.h"

#include "applet/connections/archive_fields.h"
#include "applet/connections/archive_version.h"
#include "applet/connections/credential_cipher.h"
#include "platform/framework/archive.h"

namespace applet {

VELM_IMPLEMENT_SERIAL(CRASparam, framework::CObject, 1)

namespace {

template <typename Enum>
void SerializeEnum(framework::CArchive& ar, Enum& value) {
  if (ar.IsStoring()) {
    ar.WriteInt(static_cast<int32_t>(value));
  } else {
    value = static_cast<Enum>(ar.ReadInt());
  }
}

// Login name and password are stored enciphered.
void SerializeCredential(framework::CArchive& ar, platform::WString& text) {
  if (ar.IsStoring()) {
    ar << CredentialCipher::Encode(text);
  } else {
    platform::WString stored;
    ar >> stored;
    text = ar.Failed() ? platform::WString() : CredentialCipher::Decode(stored);
  }
}

}  // namespace

CRASparam::CRASparam() { ResetDefaults(); }

CRASparam::~CRASparam() = default;

void CRASparam::ResetDefaults() {
  authentication = AuthMethod::Auto;
  bearer = BearerType::Gprs;
  operatorName.clear();
  homeNetworkNumber.clear();
  countryName.clear();
  modemName.clear();
  deviceName.clear();
  entryName.clear();
  countryCode = u"0";
  areaCode = u"0";
  phoneNumber.clear();
  userName.clear();
  password.clear();
  serverAssignedDns = 1;
  dns1.Clear();
  dns2.Clear();
  wins1.Clear();
  wins2.Clear();
  serverAssignedIp = 1;
  ipAddress.Clear();
  reservedText.clear();
  contextId = kDefaultContextId;
  pdpType = u"IP";
  pdpAddress.clear();
  apnList.clear();
  apn.clear();
  dataCompression = 0;
  headerCompression = 0;
  qosRequested.Clear();
  qosMinimum.Clear();
  enabled = 0;
  dialStringFits = 1;
  reserved1 = reserved2 = reserved3 = reserved4 = reserved5 = 0;
}

CRASparam& CRASparam::operator=(const CRASparam& other) {
  if (this == &other) return *this;
  authentication = other.authentication;
  bearer = other.bearer;
  operatorName = other.operatorName;
  countryName = other.countryName;
  modemName = other.modemName;
  deviceName = other.deviceName;
  entryName = other.entryName;
  countryCode = other.countryCode;
  areaCode = other.areaCode;
  phoneNumber = other.phoneNumber;
  userName = other.userName;
  password = other.password;
  serverAssignedDns = other.serverAssignedDns;
  dns1 = other.dns1;
  dns2 = other.dns2;
  wins1 = other.wins1;
  wins2 = other.wins2;
  serverAssignedIp = other.serverAssignedIp;
  ipAddress = other.ipAddress;
  reservedText = other.reservedText;
  contextId = other.contextId;
  pdpType = other.pdpType;
  pdpAddress = other.pdpAddress;
  apnList = other.apnList;
  apn = other.apn;
  dataCompression = other.dataCompression;
  headerCompression = other.headerCompression;
  qosRequested = other.qosRequested;
  qosMinimum = other.qosMinimum;
  enabled = other.enabled;
  dialStringFits = other.dialStringFits;
  reserved1 = other.reserved1;
  reserved2 = other.reserved2;
  reserved3 = other.reserved3;
  reserved4 = other.reserved4;
  reserved5 = other.reserved5;
  return *this;
}

bool CRASparam::IsEqual(const CRASparam& other) const {
  for (size_t i = 0; i < other.apnList.size(); ++i)
    if (i >= apnList.size() || apnList[i] != other.apnList[i]) return false;
  return authentication == other.authentication && bearer == other.bearer &&
         operatorName == other.operatorName && countryName == other.countryName &&
         modemName == other.modemName && deviceName == other.deviceName &&
         entryName == other.entryName && countryCode == other.countryCode &&
         areaCode == other.areaCode && phoneNumber == other.phoneNumber &&
         userName == other.userName && password == other.password &&
         serverAssignedDns == other.serverAssignedDns && dns1 == other.dns1 &&
         dns2 == other.dns2 && wins1 == other.wins1 && wins2 == other.wins2 &&
         serverAssignedIp == other.serverAssignedIp && ipAddress == other.ipAddress &&
         reservedText == other.reservedText && contextId == other.contextId &&
         pdpType == other.pdpType && pdpAddress == other.pdpAddress && apn == other.apn &&
         dataCompression == other.dataCompression &&
         headerCompression == other.headerCompression && qosRequested == other.qosRequested &&
         qosMinimum == other.qosMinimum && enabled == other.enabled &&
         dialStringFits == other.dialStringFits && reserved1 == other.reserved1 &&
         reserved2 == other.reserved2 && reserved3 == other.reserved3 &&
         reserved4 == other.reserved4 && reserved5 == other.reserved5;
}

bool CRASparam::IsGprsFamily() const {
  return bearer == BearerType::Gprs || bearer == BearerType::WapGprs;
}

bool CRASparam::IsOneXRttFamily() const {
  return bearer == BearerType::OneXRtt || bearer == BearerType::WapOneXRtt;
}

bool CRASparam::IsPacketFamily() const { return IsGprsFamily() || IsOneXRttFamily(); }

bool CRASparam::HasQos() const { return qosRequested.IsSet() || qosMinimum.IsSet(); }

void CRASparam::Serialize(framework::CArchive& ar) {
  if (ar.IsLoading() && archiveVersion < kFirstRecordVersion) return;

  SerializeText(ar, operatorName);
  SerializeInt(ar, iconIndex);
  for (platform::WString* text :
       {&iconFile, &modemName, &deviceName, &entryName, &countryCode, &areaCode, &phoneNumber})
    SerializeText(ar, *text);
  SerializeCredential(ar, userName);
  SerializeCredential(ar, password);
  SerializeInt(ar, serverAssignedDns);
  for (CAdresseIP* address : {&dns1, &dns2, &wins1, &wins2}) address->Serialize(ar);
  SerializeInt(ar, serverAssignedIp);
  ipAddress.Serialize(ar);
  SerializeInt(ar, contextId);
  for (platform::WString* text : {&pdpType, &pdpAddress, &apn}) SerializeText(ar, *text);
  SerializeInt(ar, dataCompression);
  SerializeInt(ar, headerCompression);
  qosRequested.Serialize(ar);
  qosMinimum.Serialize(ar);
  SerializeInt(ar, dialStringFits);
  SerializeEnum(ar, bearer);
  SerializeText(ar, reservedText);
  for (int32_t* value : {&reserved1, &reserved2, &enabled, &reserved3, &reserved4, &reserved5})
    SerializeInt(ar, *value);
  SerializeEnum(ar, authentication);

  if (ar.IsLoading() && archiveVersion < kHomeNetworkVersion) {
    homeNetworkNumber.clear();
    countryName.clear();
    return;
  }
  SerializeText(ar, homeNetworkNumber);
  SerializeText(ar, countryName);
}

}  // namespace applet
