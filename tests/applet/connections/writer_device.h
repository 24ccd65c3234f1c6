#pragma once
// A throw-away phone for the writers' tests: the connection manager's
// factory keys, the default phonebook entry of the phone's language, the
// applet's resource library, and the sample modem and operator files in the
// installed folder. With the phone program, connections go through the
// configuration manager.

#include <cstdint>
#include <string>

#include "platform/device_config.h"
#include "platform/ras_phonebook.h"
#include "platform/registry.h"
#include "tests/support/applet_resources.h"
#include "tests/support/temp_device.h"

namespace applet::test {

struct WriterDeviceOptions {
  bool phoneProgram = false;
  const char* language = "en";
  const char* platformType = "PocketPC";
  bool defaultEntry = true;
};

class WriterDevice {
 public:
  // The data folder the writers are given (it ends with a backslash).
  static constexpr char16_t kFolder[] = u"\\Yvra ROM\\GPRS Settings\\";

  explicit WriterDevice(const WriterDeviceOptions& options = {});

  test_support::TempDevice& Device() { return device_; }
  // A file in the data folder.
  void WriteDataFile(const std::string& name, const std::string& text);

  // Registry reads for the checks; "(absent)" or -1 when missing.
  static std::string Text(platform::Hive hive, platform::WStringView key, platform::WStringView value);
  static int64_t Number(platform::Hive hive, platform::WStringView key, platform::WStringView value);
  static bool KeyExists(platform::Hive hive, platform::WStringView key);

 private:
  test_support::TempDevice device_;
  test_support::InstalledResources resources_{device_};
};

}  // namespace applet::test
