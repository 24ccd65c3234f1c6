#pragma once
// The parameters of one connection the applet configures: an Internet
// connection over GPRS, CSD, 1xRTT or CDMA, a WAP variant of these, or the
// MMS connection. The operator database fills it, the pages edit it, the
// writers turn it into provisioning documents, phonebook entries, modem
// commands and connection-manager keys, and the connection document keeps
// it between runs.
//
// Stored fields, in this order (integers 32-bit little-endian, texts in the
// archive's text encoding, addresses and profiles by their own Serialize):
//
//    1  operatorName
//    2  iconIndex
//    3  iconFile, modemName, deviceName, entryName, countryCode, areaCode,
//       phoneNumber
//    4  userName, password, each as its CredentialCipher text
//    5  serverAssignedDns
//    6  dns1, dns2, wins1, wins2
//    7  serverAssignedIp, ipAddress
//    8  contextId
//    9  pdpType, pdpAddress, apn
//    10 dataCompression, headerCompression
//    11 qosRequested, qosMinimum
//    12 dialStringFits, bearer
//    13 reservedText
//    14 reserved1, reserved2, enabled, reserved3, reserved4, reserved5,
//       authentication
//    15 homeNetworkNumber, countryName
//
// Loading follows archiveVersion: below kFirstRecordVersion nothing is
// read and the record keeps its values; from it on items 1 to 14 are read
// and the home network number and the country name are emptied; from
// kHomeNetworkVersion on item 15 is read as well. apnList is never stored.

#include <cstdint>
#include <vector>

#include "applet/connections/adresse_ip.h"
#include "applet/connections/connection_kinds.h"
#include "applet/connections/quality_of_service.h"
#include "base/text.h"
#include "platform/framework/object.h"

namespace applet {

class CRASparam : public framework::CObject {
  VELM_DECLARE_SERIAL(CRASparam)

 public:
  // Builds the members and applies ResetDefaults.
  CRASparam();
  ~CRASparam() override;
  // Copies are made by assignment, which leaves some fields out.
  CRASparam(const CRASparam&) = delete;

  // Copies every field except homeNetworkNumber, iconIndex and iconFile
  // (which belong to the record's place, not its settings); apnList is
  // emptied and refilled with the source's texts in order.
  CRASparam& operator=(const CRASparam& other);

  // Sets the reset values: authentication Auto, bearer Gprs, countryCode
  // and areaCode "0", pdpType "IP", contextId -1, serverAssignedDns,
  // serverAssignedIp and dialStringFits 1, every other text, list,
  // address, profile and number empty or 0. iconIndex and iconFile keep
  // their values.
  virtual void ResetDefaults();

  // Compares the fields the copy copies: texts exactly, letter case
  // included, numbers, addresses and profiles by value. apnList is compared
  // position by position over the other record's elements; one of them
  // without a counterpart here is a difference, while extra elements here
  // are not looked at.
  bool IsEqual(const CRASparam& other) const;

  bool IsGprsFamily() const;     // Gprs or WapGprs
  bool IsOneXRttFamily() const;  // OneXRtt or WapOneXRtt
  bool IsPacketFamily() const;   // either of the two; contextId applies
  bool HasQos() const;           // either profile is set

  void Serialize(framework::CArchive& ar) override;

  // The value of contextId that stands for context 1.
  static constexpr int32_t kDefaultContextId = -1;
  // iconIndex of a record without an icon.
  static constexpr int32_t kNoIcon = -1;

  AuthMethod authentication = AuthMethod::Auto;
  BearerType bearer = BearerType::Gprs;
  platform::WString operatorName;       // section of the operator database
  platform::WString homeNetworkNumber;  // the SIM's first five IMSI digits it was made for
  platform::WString countryName;
  int32_t iconIndex = kNoIcon;
  platform::WString iconFile;
  platform::WString modemName;   // section of the modem database
  platform::WString deviceName;  // RAS device
  platform::WString entryName;   // name of the connection
  platform::WString countryCode;
  platform::WString areaCode;
  platform::WString phoneNumber;
  platform::WString userName;
  platform::WString password;
  int32_t serverAssignedDns = 1;
  CAdresseIP dns1;
  CAdresseIP dns2;
  CAdresseIP wins1;
  CAdresseIP wins2;
  int32_t serverAssignedIp = 1;
  CAdresseIP ipAddress;
  platform::WString reservedText;
  int32_t contextId = kDefaultContextId;
  platform::WString pdpType;
  platform::WString pdpAddress;
  std::vector<platform::WString> apnList;  // offered by the operator; not stored
  platform::WString apn;
  int32_t dataCompression = 0;
  int32_t headerCompression = 0;
  CQualityOfService qosRequested;
  CQualityOfService qosMinimum;
  int32_t enabled = 0;
  int32_t dialStringFits = 1;
  int32_t reserved1 = 0;
  int32_t reserved2 = 0;
  int32_t reserved3 = 0;
  int32_t reserved4 = 0;
  int32_t reserved5 = 0;
};

}  // namespace applet
