#include "flashclient/boot_protocol.h"

#include <array>
#include <cstdio>
#include <string>

#include "base/byte_reader.h"
#include "base/clock.h"
#include "flashclient/driver_log.h"
#include "flashclient/driver_state.h"
#include "flashclient/flash_worker.h"
#include "flashclient/port_layer.h"
#include "flashclient/protocol_framing.h"

namespace drkclient {

namespace {

// Send, wait, await '&' or 'x'; on 'x' the code byte follows. Returns 0
// after '&', else the identification result.
int StandardExchange(const char* command, int noAckResult) {
  DriverState& s = State();
  if (SendCommand(command) != 0) return kIdentifyConnectFailed;
  WaitForAnswer();
  if (AwaitMarker("&x") != 0) return noAckResult;
  if (s.oneByte == kError) {
    if (ReadByte() != 0) return kIdentifyErrorCodeMissing;
    s.progress = kProgressTransportFailure;
    LogLine("Error", static_cast<uint32_t>(s.oneByte));
    return kIdentifyDeviceError;
  }
  return kIdentified;
}

// At most kDataMarkerReads single reads looking for '*', whatever each read
// returns; the number of reads made.
int SkipToDataMarker() {
  DriverState& s = State();
  int reads = 0;
  do {
    ReadByte();
    ++reads;
  } while (s.oneByte != kData && reads < kDataMarkerReads);
  return reads;
}

// The block size query ends the identification: a command that cannot be
// written fails it like any other, while an unanswered or refused query
// leaves the device identified but without a block size (progress -1).
int QueryBlockSize() {
  DriverState& s = State();
  auto timeout = [&s] {
    LogLine("USB Timeout on qbz", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return kIdentified;
  };
  if (SendCommand("?qbz") != 0) return kIdentifyConnectFailed;
  WaitForAnswer();
  if (AwaitMarker("&x") != 0) return timeout();
  if (s.oneByte == kError) {
    if (ReadByte() != 0) return timeout();
    s.progress = kProgressTransportFailure;
    LogLine("Error", static_cast<uint32_t>(s.oneByte));
    return kIdentified;
  }
  if (AwaitMarker("*") != 0) return timeout();
  std::array<uint8_t, 4> raw{};
  if (PortInput(raw.data(), raw.size()) != 0) return timeout();
  uint32_t size = 0;
  platform::ByteReader(raw).U32(size);
  char line[48];
  std::snprintf(line, sizeof line, "Buffer size = %d bytes", static_cast<int>(size));
  s.bufferSizeLine.Assign(line);
  LogLine(s.bufferSizeLine.View(), 0u);
  if (size > kMaxBlockSize) {
    // Treated as a failed query: no transfer starts with such a size.
    s.progress = kProgressTransportFailure;
    return kIdentified;
  }
  s.blockSize = size;
  return kIdentified;
}

// Steps 1 and 2 of the release: 0, or 202 after a timeout.
int ReleaseCommands() {
  DriverState& s = State();
  SendCommand("?xcb");
  WaitForAnswer();
  if (AwaitMarker("&x") != 0) {
    LogLine("USB Timeout on xcb", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return kReleaseTimeout;
  }
  SendCommand("?c");
  WaitForAnswer();
  if (AwaitMarker("&x") != 0) {
    LogLine("USB Timeout on c", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return kReleaseTimeout;
  }
  return 0;
}

}  // namespace

int IdentifyDevice() {
  DriverState& s = State();
  if (s.identified) return kIdentified;
  s.identified = true;
  LogLine("Detected OS is", DetectOsFamily());
  if (ConnectTarget() != 0) return kIdentifyConnectFailed;

  std::string text;
  if (int r = StandardExchange("?gid", kIdentifyNoAck); r != kIdentified) return r;
  if (AwaitMarker("*") != 0) return kIdentifyNoData;
  if (ReadText(text) != 0) return kIdentifyTextTimeout;
  if (text != kSupportedModelNumber) {
    LogLine(text, static_cast<uint32_t>(text.size()));
    LogLine("Invalid device", 0u);
    return kIdentifyInvalidDevice;
  }
  s.deviceIdLine.Assign("Device ID: Yvra t" + text);

  if (int r = StandardExchange("?qos", kIdentifyNoAck); r != kIdentified) return r;
  if (AwaitMarker("*") != 0) return kIdentifyNoData;
  if (ReadText(text) != 0) return kIdentifyTextTimeout;
  // Eight characters of version, one separator, then the language.
  s.osVersion.Assign(std::string_view(text).substr(0, 8));
  s.osLanguage.Assign(text.size() > 9 ? std::string_view(text).substr(9) : std::string_view());

  if (SendCommand("?ghw") != 0) return kIdentifyConnectFailed;
  WaitForAnswer();
  if (AwaitMarker("*") != 0) return kIdentifyInvalidDevice;
  if (ReadText(text) != 0) return kIdentifyHardwareTextTimeout;
  s.hwIdLine.Assign("HWID = " + text);
  if (AwaitMarker("*") != 0) return kIdentifyNoCameraData;
  if (ReadText(text) != 0) return kIdentifyCameraTextTimeout;
  s.cameraLine.Assign("Camera present = " + text);
  if (AwaitMarker("*") != 0) return kIdentifyNoModelData;
  if (ReadText(text) != 0) return kIdentifyModelTextTimeout;
  s.modelText.Assign(text);

  if (int r = StandardExchange("?qup", kIdentifyNoQupAck); r != kIdentified) return r;
  LogLine("qup response retries =", static_cast<uint32_t>(SkipToDataMarker()));
  if (ReadText(text) != 0) return kIdentifyTextTimeout;
  s.moduleText.Assign(text);

  if (int r = StandardExchange("?qgs", kIdentifyNoAck); r != kIdentified) return r;
  LogLine("qgs response retries =", static_cast<uint32_t>(SkipToDataMarker()));
  if (ReadText(text) != 0) return kIdentifyTextTimeout;
  s.moduleText.Assign(text);

  return QueryBlockSize();
}

int ReleaseDevice() {
  if (int r = ReleaseCommands(); r != 0) return r;
  LogLine("Shutting down PDA", 0u);
  ClosePort();
  return 0;
}

void AbortSession() {
  SendByte(kAbortByte);
  if (ReleaseCommands() == 0) LogClose();
}

int WarmReset() {
  DriverState& s = State();
  s.statusText.Set(" Warm Reset...");
  LogLine("warm reset", 0u);
  SendCommand("?xrs");
  WaitForAnswer();
  if (AwaitMarker("&x") != 0) {
    LogLine("USB Timeout on xrs", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return 0;
  }
  SendCommand("?w");
  ClosePort();
  platform::Sleep(kWarmResetPauseMs);
  LogLine("reconnect", 0u);
  ConnectTarget();
  return 1;
}

int Repartition() {
  DriverState& s = State();
  char line[48];
  std::snprintf(line, sizeof line, "Partition 1 size is %d", s.partition1Size);
  LogLine(line, 0u);
  std::snprintf(line, sizeof line, "Partition 2 size is %d", s.partition2Size);
  LogLine(line, 0u);
  // The partition record: 3, 2, then both sizes little-endian.
  std::array<uint8_t, 10> record{3, 2};
  for (int i = 0; i < 4; ++i) {
    record[2 + i] = static_cast<uint8_t>(static_cast<uint32_t>(s.partition1Size) >> (8 * i));
    record[6 + i] = static_cast<uint8_t>(static_cast<uint32_t>(s.partition2Size) >> (8 * i));
  }
  CreateReformatTimer();

  auto timeout = [&s] {
    LogLine("USB Timeout on dft", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return 0;
  };
  if (SendCommand("?dft") != 0) return timeout();
  WaitForAnswer();
  if (AwaitMarker("&x") != 0) return timeout();
  if (s.oneByte == kError) {
    ReadByte();
    s.progress = kProgressTransportFailure;
    LogLine("Error", static_cast<uint32_t>(s.oneByte));
    return 0;
  }
  if (SendCommand("?f") != 0 || SendByte(kRecordByte) != 0 || PortOutput(record.data(), record.size()) != 0)
    return timeout();

  // The device is reformatting its flash, which may take minutes: a read
  // that times out is simply repeated (the reformat timer moves progress
  // meanwhile); only a failed read ends the wait.
  for (;;) {
    int r = ReadByte();
    if (r == 0 && (s.oneByte == kAck || s.oneByte == kError)) break;
    if (r < 0) break;
  }
  if (s.oneByte == kError) {
    ReadByte();
    LogLine("Can not Dformat successful!!", static_cast<uint32_t>(s.oneByte));
    return 0;
  }
  if (s.oneByte == kAck) {
    LogLine("Dformat successful!!", 0u);
    return WarmReset();
  }
  return 0;
}

}  // namespace drkclient
