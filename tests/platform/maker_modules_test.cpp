// The maker's libraries as the device installs them: "QZUtil.dll" reports
// the SIM of sim.ini, "Yvrautil.dll" the camera of device.ini.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "platform/device_config.h"
#include "platform/module.h"
#include "platform/sim_config.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using GetStatus = uint32_t (*)();
using GetImsi = int (*)(char16_t*, uint32_t*);
using CameraPresent = int (*)(uint32_t*);

class MakerModules : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(QZUTIL_PATH, device_.HostPath("Windows/QZUtil.dll"));
    std::filesystem::copy_file(YVRAUTIL_PATH, device_.HostPath("Windows/Yvrautil.dll"));
    ASSERT_EQ(sim_.Load(u"QZUtil.dll"), kErrorSuccess) << sim_.LoadMessage();
    ASSERT_EQ(camera_.Load(u"Yvrautil.dll"), kErrorSuccess) << camera_.LoadMessage();
  }
  void SetSim(uint32_t status, const std::string& imsi) {
    SimConfig sim;
    sim.status = status;
    sim.imsi = imsi;
    ASSERT_TRUE(sim.Save(device_.Device().SimPath()));
  }

  test_support::TempDevice device_;
  Module sim_, camera_;
};

TEST_F(MakerModules, SimStatusAndIdentity) {
  auto status = sim_.ExportAs<GetStatus>("QZUtil_GetSIMStatus");
  auto imsi = sim_.ExportAs<GetImsi>("QZUtil_GetIMSI");
  ASSERT_NE(status, nullptr);
  ASSERT_NE(imsi, nullptr);
  EXPECT_EQ(status(), 0xFF000001u);  // no sim.ini: no SIM card

  SetSim(SimConfig::kReady, "208011234567890");
  EXPECT_EQ(status(), 1u);
  std::array<char16_t, 260> buffer;
  buffer.fill(u'#');
  uint32_t length = 260;
  ASSERT_EQ(imsi(buffer.data(), &length), 1);
  EXPECT_EQ(length, 15u);
  EXPECT_EQ(WString(buffer.data()), u"208011234567890");

  // Too small a buffer, or a null argument: nothing written.
  buffer.fill(u'#');
  length = 15;
  EXPECT_EQ(imsi(buffer.data(), &length), 0);
  EXPECT_EQ(length, 15u);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(imsi(nullptr, &length), 0);
  EXPECT_EQ(imsi(buffer.data(), nullptr), 0);

  SetSim(0xFF000003, "");
  EXPECT_EQ(status(), 0xFF000003u);
  length = 260;
  EXPECT_EQ(imsi(buffer.data(), &length), 0);  // no identity to give
}

TEST_F(MakerModules, CameraOfDeviceIni) {
  auto present = camera_.ExportAs<CameraPresent>("YvraGetCameraPresent");
  ASSERT_NE(present, nullptr);
  const std::pair<CameraState, int> cases[] = {
      {CameraState::Present, 1}, {CameraState::Absent, 0}, {CameraState::Unknown, -1}};
  for (const auto& [state, expected] : cases) {
    DeviceConfig config;
    config.camera = state;
    device_.SetConfig(config);
    uint32_t value = 77;
    const int ok = present(&value);
    EXPECT_EQ(ok != 0, expected >= 0);
    EXPECT_EQ(value, expected >= 0 ? static_cast<uint32_t>(expected) : 77u);
  }
  EXPECT_EQ(present(nullptr), 0);
}

}  // namespace
}  // namespace platform
