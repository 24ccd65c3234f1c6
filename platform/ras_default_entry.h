#pragma once
// The phonebook entry every handheld has from the factory: a modem entry at
// 38400 bits per second whose device configuration block serves as the
// template for new entries. Its name follows the language of the handheld's
// user interface: a grave accent and "38400 Default" in English, a grave
// accent and "Défaut 38400" in French (device.ini's UILanguage "fr...").

#include <vector>

#include "base/registry_tree.h"
#include "base/text.h"
#include "platform/device_config.h"

namespace platform {

inline constexpr char16_t kEnglishDefaultEntry[] = u"`38400 Default";
inline constexpr char16_t kFrenchDefaultEntry[] = u"`D\u00e9faut 38400";
inline constexpr uint32_t kDefaultEntrySpeed = 38400;
inline constexpr char16_t kDefaultEntryDevice[] = u"Hayes Compatible on COM1:";

struct DefaultPhonebookEntry {
  WString name;
  std::vector<RegistryValue> values;  // the entry key's values (ras_phonebook.h)
};

// The default entry of a device: its name by the device's language and a
// device configuration block of the device's platform layout.
DefaultPhonebookEntry MakeDefaultPhonebookEntry(const DeviceConfig& config);

}  // namespace platform
