#include "tests/applet/connections/writer_device.h"

#include <gtest/gtest.h>

#include "platform/connection_manager_keys.h"
#include "platform/ras_default_entry.h"

namespace applet::test {

using platform::Hive;
using platform::RegistryKey;
using platform::WStringView;

WriterDevice::WriterDevice(const WriterDeviceOptions& options) {
  platform::DeviceConfig config;
  config.uiLanguage = options.language;
  config.platformType = options.platformType;
  device_.SetConfig(config);
  test_support::InstallSampleFiles(device_, "Yvra ROM/GPRS Settings",
                                   {"GPRSmodems.inf", "ModemsCE.ini", "GPRSope.inf"});
  if (options.phoneProgram) device_.WriteFile("Windows/cprog.exe", "phone");
  for (const char16_t* key : {platform::connmgr::kDestinationsKey, platform::connmgr::kConnectionsKey,
                              platform::connmgr::kDtptProviderKey, platform::connmgr::kProxyProviderKey}) {
    RegistryKey k;
    EXPECT_EQ(k.Create(Hive::LocalMachine, key), 0);
  }
  if (!options.defaultEntry) return;
  const platform::DefaultPhonebookEntry entry = platform::MakeDefaultPhonebookEntry(config);
  RegistryKey k;
  EXPECT_EQ(k.Create(Hive::CurrentUser, platform::WString(platform::kRasBookKey) + u"\\" + entry.name), 0);
  for (const platform::RegistryValue& v : entry.values)
    EXPECT_EQ(k.SetValue(v.name, v.type, v.data.data(), static_cast<uint32_t>(v.data.size())), 0);
}

void WriterDevice::WriteDataFile(const std::string& name, const std::string& text) {
  device_.WriteFile("Yvra ROM/GPRS Settings/" + name, text);
}

std::string WriterDevice::Text(Hive hive, WStringView key, WStringView value) {
  RegistryKey k;
  platform::WString text;
  if (k.Open(hive, key) != 0 || k.QueryString(value, text) != 0) return "(absent)";
  return platform::ToUtf8(text);
}

int64_t WriterDevice::Number(Hive hive, WStringView key, WStringView value) {
  RegistryKey k;
  uint32_t n = 0;
  if (k.Open(hive, key) != 0 || k.QueryDword(value, n) != 0) return -1;
  return n;
}

bool WriterDevice::KeyExists(Hive hive, WStringView key) {
  RegistryKey k;
  return k.Open(hive, key) == 0;
}

}  // namespace applet::test
