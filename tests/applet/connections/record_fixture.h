#pragma once
// The records of tests/data/records/two_records_v6.dat.

#include <memory>

#include "applet/connections/ras_param.h"

namespace applet::test {

// apnList is not stored; FixtureRecord fills it, StoredFixtureRecord is the
// record as a load gives it back.
inline std::unique_ptr<CRASparam> FixtureRecord() {
  auto r = std::make_unique<CRASparam>();
  r->authentication = AuthMethod::Chap;
  r->bearer = BearerType::WapGprs;
  r->operatorName = u"Op\u00e9rateur";
  r->homeNetworkNumber = u"20801";
  r->countryName = u"France";
  r->iconIndex = 3;
  r->iconFile = u"op.ico";
  r->modemName = u"GM862";
  r->deviceName = u"Modem";
  r->entryName = u"Web";
  r->countryCode = u"33";
  r->areaCode = u"0";
  r->phoneNumber = u"*99#";
  r->userName = u"user";
  r->password = u"";
  r->serverAssignedDns = 0;
  r->dns1.Set(192, 168, 0, 1);
  r->dns2.Set(10, 0, 0, 2);
  r->wins2.Set(300, -1, 0, 7);
  r->serverAssignedIp = 1;
  r->reservedText = u"r";
  r->contextId = 2;
  r->pdpType = u"IP";
  r->pdpAddress = u"0.0.0.0";
  r->apnList = {u"internet", u"wap"};
  r->apn = u"internet";
  r->dataCompression = 1;
  r->headerCompression = 0;
  r->qosRequested.SetClasses(1, 2, 4, 19, 3);  // precedence, reliability, peak, mean, delay
  r->enabled = 1;
  r->dialStringFits = 1;
  r->reserved1 = 11;
  r->reserved2 = 12;
  r->reserved3 = 13;
  r->reserved4 = 14;
  r->reserved5 = 15;
  return r;
}

inline std::unique_ptr<CRASparam> StoredFixtureRecord() {
  auto r = FixtureRecord();
  r->apnList.clear();
  return r;
}

}  // namespace applet::test
