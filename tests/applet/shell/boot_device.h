#pragma once
// A phone laid out as "handheld init" lays one out (factory registry with
// the MMS client's keys, the maker's libraries, the operator's bundle of
// this build with the sample databases), made current for the test, with
// the applet's resource library as the current resource source. Tests put
// their own operator databases into the working folder when they need
// particular operators.

#include <memory>
#include <string>
#include <vector>

#include "applet/shell/settings_store.h"
#include "tests/applet/connections/writer_device.h"
#include "platform/device.h"
#include "platform/registry.h"
#include "tests/support/temp_device.h"

namespace applet::test {

struct BootDeviceOptions {
  bool phoneProgram = true;  // \Windows\cprog.exe: connections as documents
  bool mmsClient = true;
  bool testOperators = false;  // tests/data/shell's databases in the working folder
};

class BootDevice {
 public:
  static constexpr char16_t kWorkingFolder[] = u"\\Yvra File Store\\GPRS Settings\\";

  explicit BootDevice(const BootDeviceOptions& options = {});
  ~BootDevice();

  const std::filesystem::path& Root() const { return temp_.Root(); }
  platform::Device& Device() { return device_->Get(); }
  test_support::TempDevice& Temp() { return temp_; }

  void SetSim(uint32_t status, const std::string& imsi);
  // The events of the journal, without their numbers.
  std::vector<std::string> Journal();
  // The journal's events from the index-th on (0 = all).
  std::vector<std::string> JournalFrom(size_t index);
  size_t JournalSize() { return Journal().size(); }

  // Registry reads; "(absent)" or -1 when missing.
  static constexpr auto Text = WriterDevice::Text;
  static constexpr auto Number = WriterDevice::Number;
  // The phonebook's entry names.
  static std::vector<std::string> PhonebookEntries();

 private:
  test_support::TempDevice temp_;
  std::unique_ptr<platform::ScopedDevice> device_;
  std::unique_ptr<CSettingsStore> resources_;
};

}  // namespace applet::test
