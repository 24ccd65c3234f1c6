// CSettingsStore::LoadOperatorSettings: the current record made from an
// operator's section of the operator database.

#include "applet/connections/connection_kinds.h"
#include "applet/connections/operator_keys.h"
#include "applet/connections/sms_center_database.h"
#include "applet/shell/applet_data.h"
#include "applet/shell/settings_store.h"
#include "platform/ras.h"

namespace applet {

using platform::WString;
using platform::WStringView;

bool CSettingsStore::LoadOperatorSettings(WStringView country, WStringView operatorName) {
  AppletData& data = SharedAppletData();
  OperatorDatabase& operators = data.Operators();
  CVELMRASparam& record = CurrentRecord();
  record.ResetDefaults();

  operators.SelectOperator(operatorName);
  const int32_t networks = operators.NetworksOf();
  WStringView bearerWord;
  if ((networks & BearerBit(BearerType::Gprs)) != 0) {
    record.bearer = BearerType::Gprs;
    bearerWord = u" GPRS";
  } else if ((networks & BearerBit(BearerType::Csd)) != 0) {
    record.bearer = BearerType::Csd;
    bearerWord = u" CSD";
  } else {
    return false;
  }
  // The phonebook refuses names over 20 characters: a longer operator name
  // is cut, keeping the bearer word so that the name stays apart from the
  // MMS and WAP connections' names.
  const size_t operatorRoom = platform::kRasMaxEntryName - bearerWord.size();
  record.entryName = WString(operatorName.substr(0, operatorRoom)) + WString(bearerWord);
  record.countryName = country;
  record.operatorName = operatorName;
  operators.HomeNetworkNumber(operatorName, record.homeNetworkNumber);
  operators.FillRecord(nullptr, record);

  record.smsCenter.clear();
  const WString smsSection = operators.FindSmsOperator(smsCenterFolder_, operatorName);
  WString centers;
  if (!smsSection.empty() && data.SmsCenters().FirstSmsCenter(smsSection, centers))
    record.smsCenter = centers.substr(0, centers.find(SmsCenterDatabase::kCenterSeparator));

  record.mmsEnabled = operators.MmsOnly() ? 1 : 0;
  operators.MmsCenter(record.mmsCenter);
  operators.MmsApn(/*useFallback=*/true, record.mmsApn);
  operators.MmsUserName(record.mmsUserName);
  operators.MmsPassword(record.mmsPassword);
  WString gateway;
  operators.MmsGateway(gateway);
  if (gateway.empty())
    record.mmsGateway.Clear();
  else
    record.mmsGateway.FromText(gateway);
  operators.MmsGatewayPort(record.mmsGatewayPort);
  if (record.mmsGatewayPort.empty()) record.mmsGatewayPort = operator_keys::kDefaultMmsGatewayPort;
  return true;
}

}  // namespace applet
