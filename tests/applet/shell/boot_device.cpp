#include "tests/applet/shell/boot_device.h"

#include <gtest/gtest.h>

#include "platform/journal.h"
#include "platform/ras_phonebook.h"
#include "platform/sim_config.h"
#include "tools/handheld/device_layout.h"

namespace applet::test {

BootDevice::BootDevice(const BootDeviceOptions& options) {
  handheld::LayoutOptions layout;
  layout.force = true;
  layout.phoneProgram = options.phoneProgram;
  layout.mmsClient = options.mmsClient;
  std::string why;
  if (!handheld::LayOutDevice(temp_.Root(), layout, &why)) throw std::runtime_error(why);
  // A device of its own, which reads what the layout wrote.
  device_ = std::make_unique<platform::ScopedDevice>(temp_.Root());

  // The build's files but its programs, which these tests do not run: the
  // maker's libraries, the resource library and the sample databases.
  std::vector<handheld::InstallItem> items;
  if (!handheld::ReadInstallManifest(
          std::filesystem::path(VELM_BINARY_DIR) / "tools/handheld/install_manifest.txt", items, &why))
    throw std::runtime_error(why);
  std::erase_if(items, [](const handheld::InstallItem& item) {
    return item.bundle && item.devicePath.starts_with("/Windows/");
  });
  if (!handheld::CopyInstallItems(items, &why)) throw std::runtime_error(why);
  if (options.testOperators) {
    for (const char* name : {"GPRSope.inf", "OPE.inf"})
      temp_.WriteFile(std::string("Yvra File Store/GPRS Settings/") + name,
                      test_support::ReadDataFile(std::string("shell/") + name));
  }
  resources_ = std::make_unique<CSettingsStore>();
  if (!resources_->LoadResourceLibrary()) throw std::runtime_error("no resource library");
}

BootDevice::~BootDevice() {
  resources_.reset();
  device_.reset();
}

void BootDevice::SetSim(uint32_t status, const std::string& imsi) {
  platform::SimConfig sim;
  sim.status = status;
  sim.imsi = imsi;
  if (!sim.Save(Device().SimPath())) throw std::runtime_error("cannot write sim.ini");
}

std::vector<std::string> BootDevice::Journal() { return JournalFrom(0); }

std::vector<std::string> BootDevice::JournalFrom(size_t index) {
  std::vector<std::string> events;
  const auto lines = Device().Journal().Lines();
  for (size_t i = index; i < lines.size(); ++i) events.push_back(lines[i].substr(lines[i].find(' ') + 1));
  return events;
}

std::vector<std::string> BootDevice::PhonebookEntries() {
  std::vector<platform::WString> names;
  platform::ListPhonebookEntries(names);
  std::vector<std::string> out;
  for (const auto& n : names) out.push_back(platform::ToUtf8(n));
  return out;
}

}  // namespace applet::test
