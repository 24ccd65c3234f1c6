#pragma once
// The applet's connection record: a CRASparam with what the applet adds to
// it, the operator's SMS centre, the MMS settings, whether the record is the
// user's own custom connection, and the names of the connections and proxies
// the last apply wrote, so that the next apply removes them.
//
// Stored after the base record's fields, in this order (texts in the
// archive's text encoding, integers 32-bit little-endian):
//
//   smsCenter, mmsEnabled, mmsCenter, mmsGateway (four integers),
//   mmsGatewayPort, mmsEntryName, mmsApn, mmsUserName, mmsPassword,
//   isCustom                                     read whatever the version
//   wapEntryName, wapProxyName, wtlsProxyName,
//   reservedEntryName                            read only from version 6
//
// The MMS login name and password are stored as plain text.

#include <cstdint>

#include "applet/connections/adresse_ip.h"
#include "applet/connections/ras_param.h"
#include "base/text.h"

namespace applet {

class CVELMRASparam : public CRASparam {
  VELM_DECLARE_SERIAL(CVELMRASparam)

 public:
  // The version of the connection document from which the last four names
  // are stored.
  static constexpr int32_t kApplyNamesVersion = 6;

  CVELMRASparam();
  ~CVELMRASparam() override;
  CVELMRASparam(const CVELMRASparam&) = delete;

  // The base's copy, then every added field.
  CVELMRASparam& operator=(const CVELMRASparam& other);

  // The base's reset, then the added fields but reservedEntryName:
  // mmsEnabled 1, isCustom 0, texts empty, mmsGateway cleared.
  void ResetDefaults() override;

  // The base's comparison, then every added field: texts exactly,
  // mmsGateway by its four numbers.
  bool IsEqual(const CVELMRASparam& other) const;

  void Serialize(framework::CArchive& ar) override;

  platform::WString smsCenter;
  int32_t mmsEnabled = 1;
  platform::WString mmsCenter;
  platform::WString mmsEntryName;  // the MMS connection the last apply wrote
  platform::WString mmsApn;
  platform::WString mmsUserName;
  platform::WString mmsPassword;
  CAdresseIP mmsGateway;
  platform::WString mmsGatewayPort;  // decimal
  int32_t isCustom = 0;
  platform::WString wapEntryName;       // the WAP connection the last apply wrote
  platform::WString wapProxyName;       // the WAP proxy entry the last apply wrote
  platform::WString wtlsProxyName;      // the WTLS proxy entry the last apply wrote
  platform::WString reservedEntryName;  // removed by apply, which empties it
};

}  // namespace applet
