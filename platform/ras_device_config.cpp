#include "platform/ras_device_config.h"

#include <algorithm>
#include <utility>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace platform {

namespace {

constexpr std::string_view kPocketPc = "PocketPC";

// Where the size of a block is kept.
constexpr size_t kSizeOffset = 0;

// One field of the block: its offset and its bytes.
using Field = std::pair<size_t, std::vector<uint8_t>>;

Field Byte(size_t offset, uint8_t value) { return {offset, {value}}; }

std::vector<Field> Fields(const DeviceConfigLayout& l, const DeviceConfigSettings& s) {
  ByteWriter speed;  // three bytes wide to the dialler
  speed.U16(static_cast<uint16_t>(s.dteSpeed));
  speed.U8(static_cast<uint8_t>(s.dteSpeed >> 16));
  ByteWriter command;
  command.Utf16(WStringView(s.command).substr(0, l.commandCapacity));
  if (s.command.size() < l.commandCapacity) command.U16(0);
  std::vector<Field> fields{{l.speedOffset, speed.Take()},
                            Byte(l.timeoutOffset, s.setupTimeout),
                            Byte(l.optionsOffset, s.modemOptions),
                            Byte(l.byteSizeOffset, s.byteSize),
                            Byte(l.stopBitsOffset, s.stopBits),
                            Byte(l.parityOffset, s.parity),
                            {l.commandOffset, command.Take()}};
  std::sort(fields.begin(), fields.end(),
            [](const Field& a, const Field& b) { return a.first < b.first; });
  return fields;
}

}  // namespace

const DeviceConfigLayout& DeviceConfigLayoutFor(std::string_view platformType) {
  return platformType == kPocketPc ? kPocketPcDeviceConfig : kOtherDeviceConfig;
}

bool PatchDeviceConfig(const DeviceConfigLayout& layout, const DeviceConfigSettings& settings,
                       std::span<uint8_t> block) {
  // The block is written anew in order, its own bytes between the fields, by
  // a writer that stops at the block's size.
  ByteWriter out(block.size());
  size_t at = 0;
  for (const auto& [offset, bytes] : Fields(layout, settings)) {
    if (offset < at || offset > block.size()) return false;
    out.Bytes(block.subspan(at, offset - at));
    out.Bytes(bytes);
    at = offset + bytes.size();
  }
  if (at < block.size()) out.Bytes(block.subspan(at));
  if (out.Failed()) return false;
  std::copy(out.Data().begin(), out.Data().end(), block.begin());
  return true;
}

std::vector<uint8_t> BuildDeviceConfig(const DeviceConfigLayout& layout,
                                       const DeviceConfigSettings& settings) {
  if (settings.command.size() >= layout.commandCapacity) return {};
  ByteWriter block(layout.blockSize);
  block.Zeros(layout.blockSize);
  block.PatchU32(kSizeOffset, static_cast<uint32_t>(layout.blockSize));
  std::vector<uint8_t> bytes = block.Take();
  if (!PatchDeviceConfig(layout, settings, bytes)) return {};
  return bytes;
}

std::optional<DeviceConfigSettings> DecodeDeviceConfig(const DeviceConfigLayout& layout,
                                                       std::span<const uint8_t> block) {
  ByteReader in(block);
  DeviceConfigSettings s;
  uint16_t speedLow = 0;
  uint8_t speedHigh = 0;
  bool ok = in.SeekTo(layout.speedOffset) && in.U16(speedLow) && in.U8(speedHigh);
  for (auto [offset, field] : {std::pair{layout.timeoutOffset, &s.setupTimeout},
                               std::pair{layout.optionsOffset, &s.modemOptions},
                               std::pair{layout.byteSizeOffset, &s.byteSize},
                               std::pair{layout.stopBitsOffset, &s.stopBits},
                               std::pair{layout.parityOffset, &s.parity}})
    ok = ok && in.SeekTo(offset) && in.U8(*field);
  ByteReader command;
  ok = ok && in.SeekTo(layout.commandOffset) && in.Sub(2 * layout.commandCapacity, command);
  if (!ok) return std::nullopt;
  s.dteSpeed = speedLow | static_cast<uint32_t>(speedHigh) << 16;
  s.command.clear();
  for (uint16_t unit = 0; command.U16(unit) && unit != 0;) s.command.push_back(static_cast<char16_t>(unit));
  return s;
}

}  // namespace platform
