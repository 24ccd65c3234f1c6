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

bool Answered(WaitEnd end) { return end == WaitEnd::Marker; }

// How a command that is answered '&', or 'x' and an error code, came out.
enum class Answer {
  Ack,
  DeviceError,       // 'x' and its code: "Error" logged, progress -1
  ErrorCodeMissing,  // 'x' without its code byte
  NoAnswer,
  WriteFailed,
};

// Send, wait, await '&' or 'x'; on 'x' the code byte follows.
Answer AcknowledgedCommand(const char* command) {
  DriverState& s = State();
  if (SendCommand(command) != PortIo::Done) return Answer::WriteFailed;
  WaitForAnswer();
  if (!Answered(AwaitMarker("&x"))) return Answer::NoAnswer;
  if (s.oneByte != kError) return Answer::Ack;
  if (ReadByte() != PortIo::Done) return Answer::ErrorCodeMissing;
  s.progress = kProgressTransportFailure;
  LogLine("Error", static_cast<uint32_t>(s.oneByte));
  return Answer::DeviceError;
}

// The standard exchange of the identification: Identified after '&'.
IdentifyResult StandardExchange(const char* command, IdentifyResult noAck) {
  switch (AcknowledgedCommand(command)) {
    case Answer::Ack: return IdentifyResult::Identified;
    case Answer::DeviceError: return IdentifyResult::DeviceError;
    case Answer::ErrorCodeMissing: return IdentifyResult::ErrorCodeMissing;
    case Answer::NoAnswer: return noAck;
    case Answer::WriteFailed: break;
  }
  return IdentifyResult::ConnectFailed;
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

// Awaits '*' and reads the text after it into text.
IdentifyResult DataText(std::string& text, IdentifyResult noData, IdentifyResult textTimeout) {
  if (!Answered(AwaitMarker("*"))) return noData;
  if (!Answered(ReadText(text))) return textTimeout;
  return IdentifyResult::Identified;
}

// The block size query ends the identification: a command that cannot be
// written fails it like any other, while an unanswered or refused query
// leaves the device identified but without a block size (progress -1).
IdentifyResult QueryBlockSize() {
  DriverState& s = State();
  auto timeout = [&s] {
    LogLine("USB Timeout on qbz", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return IdentifyResult::Identified;
  };
  switch (AcknowledgedCommand("?qbz")) {
    case Answer::Ack: break;
    case Answer::DeviceError: return IdentifyResult::Identified;
    case Answer::ErrorCodeMissing:
    case Answer::NoAnswer: return timeout();
    case Answer::WriteFailed: return IdentifyResult::ConnectFailed;
  }
  if (!Answered(AwaitMarker("*"))) return timeout();
  std::array<uint8_t, 4> raw{};
  if (PortInput(raw.data(), raw.size()) != PortIo::Done) return timeout();
  uint32_t size = 0;
  platform::ByteReader(raw).U32(size);
  char line[48];
  std::snprintf(line, sizeof line, "Buffer size = %d bytes", static_cast<int>(size));
  s.bufferSizeLine.Assign(line);
  LogLine(s.bufferSizeLine.View(), 0u);
  if (size > kMaxBlockSize) {
    // Treated as a failed query: no transfer starts with such a size.
    s.progress = kProgressTransportFailure;
    return IdentifyResult::Identified;
  }
  s.blockSize = size;
  return IdentifyResult::Identified;
}

// The exchange itself, run once per load.
IdentifyResult RunIdentification() {
  DriverState& s = State();
  LogLine("Detected OS is", DetectOsFamily());
  if (ConnectTarget() != Connection::Connected) return IdentifyResult::ConnectFailed;

  std::string text;
  if (auto r = StandardExchange("?gid", IdentifyResult::NoAck); r != IdentifyResult::Identified) return r;
  if (auto r = DataText(text, IdentifyResult::NoData, IdentifyResult::TextTimeout); r != IdentifyResult::Identified)
    return r;
  if (text != kSupportedModelNumber) {
    LogLine(text, static_cast<uint32_t>(text.size()));
    LogLine("Invalid device", 0u);
    return IdentifyResult::InvalidDevice;
  }
  s.deviceIdLine.Assign("Device ID: Yvra t" + text);

  if (auto r = StandardExchange("?qos", IdentifyResult::NoAck); r != IdentifyResult::Identified) return r;
  if (auto r = DataText(text, IdentifyResult::NoData, IdentifyResult::TextTimeout); r != IdentifyResult::Identified)
    return r;
  // Eight characters of version, one separator, then the language.
  s.osVersion.Assign(std::string_view(text).substr(0, 8));
  s.osLanguage.Assign(text.size() > 9 ? std::string_view(text).substr(9) : std::string_view());

  if (SendCommand("?ghw") != PortIo::Done) return IdentifyResult::ConnectFailed;
  WaitForAnswer();
  if (auto r = DataText(text, IdentifyResult::InvalidDevice, IdentifyResult::HardwareTextTimeout);
      r != IdentifyResult::Identified)
    return r;
  s.hwIdLine.Assign("HWID = " + text);
  if (auto r = DataText(text, IdentifyResult::NoCameraData, IdentifyResult::CameraTextTimeout);
      r != IdentifyResult::Identified)
    return r;
  s.cameraLine.Assign("Camera present = " + text);
  if (auto r = DataText(text, IdentifyResult::NoModelData, IdentifyResult::ModelTextTimeout);
      r != IdentifyResult::Identified)
    return r;
  s.modelText.Assign(text);

  if (auto r = StandardExchange("?qup", IdentifyResult::NoQupAck); r != IdentifyResult::Identified) return r;
  LogLine("qup response retries =", static_cast<uint32_t>(SkipToDataMarker()));
  if (!Answered(ReadText(text))) return IdentifyResult::TextTimeout;
  s.moduleText.Assign(text);

  if (auto r = StandardExchange("?qgs", IdentifyResult::NoAck); r != IdentifyResult::Identified) return r;
  LogLine("qgs response retries =", static_cast<uint32_t>(SkipToDataMarker()));
  if (!Answered(ReadText(text))) return IdentifyResult::TextTimeout;
  s.moduleText.Assign(text);

  return QueryBlockSize();
}

// A command that either marker answers. False after a timeout, which is
// logged under timeoutLine with the last byte and leaves progress at -1.
bool AnsweredCommand(const char* command, const char* timeoutLine) {
  DriverState& s = State();
  SendCommand(command);
  WaitForAnswer();
  if (Answered(AwaitMarker("&x"))) return true;
  LogLine(timeoutLine, static_cast<uint32_t>(s.oneByte));
  s.progress = kProgressTransportFailure;
  return false;
}

// Steps 1 and 2 of the release.
ReleaseResult ReleaseCommands() {
  if (!AnsweredCommand("?xcb", "USB Timeout on xcb") || !AnsweredCommand("?c", "USB Timeout on c"))
    return ReleaseResult::Timeout;
  return ReleaseResult::Released;
}

// "?dft" and, once it is acknowledged, the partition record. False after a
// failure, which is logged and leaves progress at -1.
bool AnnounceRepartition(const std::array<uint8_t, 10>& record) {
  DriverState& s = State();
  auto timeout = [&s] {
    LogLine("USB Timeout on dft", static_cast<uint32_t>(s.oneByte));
    s.progress = kProgressTransportFailure;
    return false;
  };
  switch (AcknowledgedCommand("?dft")) {
    case Answer::Ack: break;
    case Answer::DeviceError: return false;
    // Without its code byte an error marker is as good as no answer.
    case Answer::ErrorCodeMissing:
    case Answer::NoAnswer:
    case Answer::WriteFailed: return timeout();
  }
  if (SendCommand("?f") != PortIo::Done || SendByte(kRecordByte) != PortIo::Done ||
      PortOutput(record.data(), record.size()) != PortIo::Done)
    return timeout();
  return true;
}

}  // namespace

IdentifyResult IdentifyDevice() {
  DriverState& s = State();
  if (s.identified) return s.identifyResult;
  s.identified = true;
  s.identifyResult = RunIdentification();
  return s.identifyResult;
}

ReleaseResult ReleaseDevice() {
  if (ReleaseCommands() != ReleaseResult::Released) return ReleaseResult::Timeout;
  LogLine("Shutting down PDA", 0u);
  ClosePort();
  return ReleaseResult::Released;
}

void AbortSession() {
  SendByte(kAbortByte);
  if (ReleaseCommands() == ReleaseResult::Released) LogClose();
}

ExchangeResult WarmReset() {
  DriverState& s = State();
  s.statusText.Set(" Warm Reset...");
  LogLine("warm reset", 0u);
  if (!AnsweredCommand("?xrs", "USB Timeout on xrs")) return ExchangeResult::Failed;
  SendCommand("?w");
  ClosePort();
  platform::Sleep(kWarmResetPauseMs);
  LogLine("reconnect", 0u);
  // A failed reconnection leaves the port closed: the next step's first
  // write fails and ends the run.
  ConnectTarget();
  return ExchangeResult::Done;
}

ExchangeResult Repartition() {
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
  StartReformatTimer();
  if (!AnnounceRepartition(record)) return ExchangeResult::Failed;

  // The device is reformatting its flash, which may take minutes: reads
  // that time out are repeated (the reformat timer moves progress
  // meanwhile) up to a generous limit.
  if (!Answered(AwaitMarker("&x", kReformatWait))) {
    LogLine("USB Timeout on dft", static_cast<uint32_t>(s.oneByte));
    return ExchangeResult::Failed;
  }
  if (s.oneByte == kError) {
    ReadByte();
    LogLine("Can not Dformat successful!!", static_cast<uint32_t>(s.oneByte));
    return ExchangeResult::Failed;
  }
  LogLine("Dformat successful!!", 0u);
  return WarmReset();
}

}  // namespace drkclient
