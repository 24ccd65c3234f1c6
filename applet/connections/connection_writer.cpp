#include "applet/connections/connection_writer.h"

#include <algorithm>

#include "applet/connections/connection_manager_registry.h"
#include "applet/connections/gprs_modem_commands.h"
#include "applet/connections/provisioning_writer.h"
#include "platform/ras_default_entry.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"

namespace applet {

using platform::ErrorCode;
using platform::WString;
using platform::WStringView;

namespace {

constexpr char16_t kModemDeviceType[] = u"modem";
constexpr char16_t kDevCfgValue[] = u"DevCfg";

WString WithoutSpaces(WStringView text) {
  WString out;
  for (char16_t c : text)
    if (c != u' ') out.push_back(c);
  return out;
}

}  // namespace

ConnectionWriter::ConnectionWriter(const CRASparam& record) { record_ = record; }

bool ConnectionWriter::FitsPhonebook() {
  const CRASparam& r = record_;
  if (!platform::IsValidRasEntryName(r.entryName)) {
    lastRasError_ = platform::kErrorInvalidName;
    return false;
  }
  // A GPRS entry dials the modem's number, checked when it is known.
  const bool fits = r.userName.size() <= platform::kRasMaxUserName &&
                    r.password.size() <= platform::kRasMaxPassword &&
                    r.areaCode.size() <= platform::kRasMaxAreaCode &&
                    r.deviceName.size() <= platform::kRasMaxDeviceName &&
                    (r.IsGprsFamily() ||
                     WithoutSpaces(r.phoneNumber).size() <= platform::kRasMaxPhoneNumber);
  if (!fits) lastRasError_ = platform::kErrorInvalidParameter;
  return fits;
}

bool ConnectionWriter::WriteConnection(WStringView folder, const WString* networkName,
                                       WStringView networkId) {
  lastRasError_ = platform::kErrorSuccess;
  if (!FitsPhonebook()) return false;
  if (ProvisioningAvailable()) {
    WriteConnectionDocument(record_, networkName, networkId);
    return true;
  }
  if (!dialSettings_.Build(folder, record_)) return false;
  const WString entryName = record_.entryName;
  if (!SetEntryProperties(folder, record_.deviceName) || !SetDeviceConfig(entryName) ||
      !SetDialParams())
    return false;

  bool result = true;
  if (IsPocketPc() && networkName != nullptr)
    result = RegisterConnection(*networkName, networkId, entryName);
  if (result && record_.enabled != 0) ActivateForNetwork(networkId, entryName);
  return result;
}

bool ConnectionWriter::SetEntryProperties(WStringView folder, WStringView deviceName) {
  entry_ = platform::RasEntry{};
  entry_.size = kEntrySize;
  CRASparam& r = record_;
  entry_.options = platform::kRaseoUseCountryAndAreaCodes;
  if (r.headerCompression != 0) entry_.options |= platform::kRaseoIpHeaderCompression;
  if (r.dataCompression != 0) entry_.options |= platform::kRaseoSwCompression;
  if (r.serverAssignedIp == 0) {
    entry_.options |= platform::kRaseoSpecificIpAddr;
    r.ipAddress.ToRasAddress(entry_.ipAddr.bytes);
  }
  if (r.serverAssignedDns == 0) {
    entry_.options |= platform::kRaseoSpecificNameServers;
    r.dns1.ToRasAddress(entry_.dnsAddr.bytes);
    r.dns2.ToRasAddress(entry_.altDnsAddr.bytes);
    r.wins1.ToRasAddress(entry_.winsAddr.bytes);
    r.wins2.ToRasAddress(entry_.altWinsAddr.bytes);
  }
  entry_.countryCode = static_cast<uint32_t>(platform::TextToLong(r.countryCode));

  GprsModemCommands templates;
  templates.BuildPlaceholders(folder, r);
  if (r.IsGprsFamily()) r.phoneNumber = templates.GprsDialNumber();

  entry_.alternateOffset = 0;
  // FitsPhonebook checked the record's texts; a GPRS dial number comes from
  // the modem templates and is checked here.
  if (!platform::CopyRasText(entry_.areaCode, r.areaCode) ||
      !platform::CopyRasText(entry_.localPhoneNumber, WithoutSpaces(r.phoneNumber)) ||
      !platform::CopyRasText(entry_.deviceType, kModemDeviceType) ||
      !platform::CopyRasText(entry_.deviceName, deviceName)) {
    lastRasError_ = platform::kErrorInvalidParameter;
    return false;
  }
  lastRasError_ = session_.Call().setEntryProperties(nullptr, r.entryName.c_str(), &entry_,
                                                      kEntrySize, nullptr, 0);
  return lastRasError_ == platform::kErrorSuccess;
}

bool ConnectionWriter::SetDeviceConfig(WStringView entryName) {
  if (!deviceConfig_ && !GetDeviceConfig(entryName)) return false;
  std::vector<uint8_t>& block = *deviceConfig_;
  if (!dialSettings_.Patch(block)) {
    // The block is too short for the settings; patching would overrun it.
    lastRasError_ = platform::kErrorInsufficientBuffer;
    return false;
  }
  const WString name(entryName);
  lastRasError_ = session_.Call().setEntryProperties(nullptr, name.c_str(), &entry_, kEntrySize,
                                                      block.data(),
                                                      static_cast<uint32_t>(block.size()));
  return lastRasError_ == platform::kErrorSuccess;
}

bool ConnectionWriter::GetDeviceConfig(WStringView name) {
  const WString entryName(name);
  platform::RasEntry scratch{};
  scratch.size = kEntrySize;
  uint32_t entrySize = kEntrySize;
  uint32_t blockSize = 0;
  session_.Call().getEntryProperties(nullptr, entryName.c_str(), &scratch, &entrySize, nullptr,
                                     &blockSize);
  if (blockSize != 0) {
    deviceConfig_.reset();
    if (blockSize > platform::kMaxDeviceConfigSize) return false;
    std::vector<uint8_t> block(blockSize);
    lastRasError_ = session_.Call().getEntryProperties(nullptr, entryName.c_str(), &scratch,
                                                       &entrySize, block.data(), &blockSize);
    if (lastRasError_ != platform::kErrorSuccess) return false;
    block.resize(std::min<size_t>(block.size(), blockSize));
    deviceConfig_ = std::move(block);
    return true;
  }
  return ReadDefaultDeviceConfig(platform::kEnglishDefaultEntry) ||
         ReadDefaultDeviceConfig(platform::kFrenchDefaultEntry);
}

bool ConnectionWriter::ReadDefaultDeviceConfig(WStringView name) {
  deviceConfig_.reset();
  platform::RegistryKey key;
  if (key.Open(platform::Hive::CurrentUser, WString(platform::kRasBookKey) + u"\\" + WString(name)) !=
      platform::kErrorSuccess)
    return false;
  std::vector<uint8_t> block(kDefaultBlockBuffer);
  uint32_t size = kDefaultBlockBuffer - 1;
  if (key.QueryValue(kDevCfgValue, nullptr, block.data(), &size) != platform::kErrorSuccess)
    return false;
  block.resize(size);
  deviceConfig_ = std::move(block);
  return true;
}

bool ConnectionWriter::SetDialParams() {
  dialParams_ = platform::RasDialParams{};
  dialParams_.size = kDialParamsSize;
  // FitsPhonebook checked that each text fits its field.
  platform::CopyRasText(dialParams_.entryName, record_.entryName);
  platform::CopyRasText(dialParams_.userName, record_.userName);
  platform::CopyRasText(dialParams_.password, record_.password);
  lastRasError_ = session_.Call().setEntryDialParams(nullptr, &dialParams_, false);
  return lastRasError_ == platform::kErrorSuccess;
}

bool ConnectionWriter::DeleteConnection(WStringView entryName) {
  const WString name(entryName);
  lastRasError_ = session_.Call().deleteEntry(nullptr, name.c_str());
  if (lastRasError_ != platform::kErrorSuccess) return false;
  return IsPocketPc() ? RemoveConnection(entryName) : true;
}

}  // namespace applet
