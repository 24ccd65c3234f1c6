#include "platform/ras_device_config.h"

#include <algorithm>

namespace platform {

namespace {

constexpr std::string_view kPocketPc = "PocketPC";
// The speed field is three bytes wide to the dialler.
constexpr size_t kSpeedBytes = 3;

void PutLe(std::vector<uint8_t>& block, size_t offset, uint32_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) block[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t SettingsEnd(const DeviceConfigLayout& l) {
  size_t end = l.commandOffset + 2 * l.commandCapacity;
  for (size_t one : {l.timeoutOffset, l.optionsOffset, l.byteSizeOffset, l.stopBitsOffset,
                     l.parityOffset})
    end = std::max(end, one + 1);
  return std::max(end, l.speedOffset + kSpeedBytes);
}

}  // namespace

const DeviceConfigLayout& DeviceConfigLayoutFor(std::string_view platformType) {
  return platformType == kPocketPc ? kPocketPcDeviceConfig : kOtherDeviceConfig;
}

std::vector<uint8_t> BuildDeviceConfig(const DeviceConfigLayout& layout,
                                       const DeviceConfigSettings& settings) {
  if (settings.command.size() >= layout.commandCapacity) return {};
  std::vector<uint8_t> block(std::max(layout.blockSize, SettingsEnd(layout)), 0);
  PutLe(block, 0, static_cast<uint32_t>(block.size()), 4);
  PutLe(block, layout.timeoutOffset, settings.setupTimeout, 1);
  PutLe(block, layout.optionsOffset, settings.modemOptions, 1);
  PutLe(block, layout.speedOffset, settings.dteSpeed, kSpeedBytes);
  PutLe(block, layout.byteSizeOffset, settings.byteSize, 1);
  PutLe(block, layout.stopBitsOffset, settings.stopBits, 1);
  PutLe(block, layout.parityOffset, settings.parity, 1);
  for (size_t i = 0; i < settings.command.size(); ++i)
    PutLe(block, layout.commandOffset + 2 * i, settings.command[i], 2);
  return block;
}

std::optional<DeviceConfigSettings> DecodeDeviceConfig(const DeviceConfigLayout& layout,
                                                       std::span<const uint8_t> block) {
  if (block.size() < SettingsEnd(layout)) return std::nullopt;
  DeviceConfigSettings s;
  s.setupTimeout = block[layout.timeoutOffset];
  s.modemOptions = block[layout.optionsOffset];
  s.dteSpeed = 0;
  for (size_t i = 0; i < kSpeedBytes; ++i)
    s.dteSpeed |= static_cast<uint32_t>(block[layout.speedOffset + i]) << (8 * i);
  s.byteSize = block[layout.byteSizeOffset];
  s.stopBits = block[layout.stopBitsOffset];
  s.parity = block[layout.parityOffset];
  for (size_t i = 0; i < layout.commandCapacity; ++i) {
    const size_t at = layout.commandOffset + 2 * i;
    const char16_t c = static_cast<char16_t>(block[at] | (block[at + 1] << 8));
    if (c == 0) break;
    s.command.push_back(c);
  }
  return s;
}

}  // namespace platform
