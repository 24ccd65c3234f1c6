#include "platform/ras_default_entry.h"

#include "platform/ras.h"
#include "platform/ras_device_config.h"
#include "platform/ras_phonebook.h"

namespace platform {

DefaultPhonebookEntry MakeDefaultPhonebookEntry(const DeviceConfig& config) {
  DefaultPhonebookEntry out;
  out.name = config.uiLanguage.starts_with("fr") ? kFrenchDefaultEntry : kEnglishDefaultEntry;
  RasEntry entry{};
  entry.size = sizeof(RasEntry);
  entry.options = kRaseoUseCountryAndAreaCodes;
  CopyRasText(entry.deviceType, u"modem");
  CopyRasText(entry.deviceName, kDefaultEntryDevice);
  out.values = EncodeEntryProperties(entry);
  DeviceConfigSettings settings;
  settings.dteSpeed = kDefaultEntrySpeed;
  out.values.push_back(
      EncodeDeviceConfig(BuildDeviceConfig(DeviceConfigLayoutFor(config.platformType), settings)));
  return out;
}

}  // namespace platform
