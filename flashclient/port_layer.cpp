#include "flashclient/port_layer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/errors.h"
#include "flashclient/driver_log.h"
#include "flashclient/driver_state.h"

namespace drkclient {

namespace {

constexpr uint32_t kMaxDword = 0xFFFFFFFFu;
constexpr size_t kBulkLogThreshold = 256;
constexpr uint32_t kPurgeBoth = kPurgeTxClear | kPurgeRxClear;

bool IsNtFamily() { return DetectOsFamily() != kOsFamilyOther; }

// Port data as the log shows it: text up to the first zero byte.
std::string AsText(const uint8_t* bytes, size_t n) {
  const void* zero = std::memchr(bytes, 0, n);
  size_t len = zero != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : n;
  return std::string(reinterpret_cast<const char*>(bytes), len);
}

bool ClearErrors(PortStatus& status) {
  SerialPort* port = State().port.get();
  return port != nullptr && port->ClearErrors(status);
}

// Clears the errors and resets the statistics: both are asked for, and
// both must succeed.
bool ClearErrorsAndStatistics(PortStatus& status) {
  const bool cleared = ClearErrors(status);
  SerialPort* port = State().port.get();
  const bool reset = port != nullptr && port->ClearStatistics();
  return cleared && reset;
}

PortIo Output(std::string_view text) {
  return PortOutput(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace

std::string SerialDevicePath() {
  const char* v = std::getenv("DRK_SERIAL_PORT");
  return v != nullptr && *v != '\0' ? std::string(v) : std::string(kDefaultSerialDevice);
}

PortSetup CommPortSetup() {
  DriverState& s = State();
  platform::Clock& clock = platform::CurrentClock();
  if (s.port) ClosePort();
  const std::string device = SerialDevicePath();
  for (int attempt = 1; attempt <= kOpenAttempts && !StopRequested(); ++attempt) {
    clock.Sleep(kOpenRetryWaitMs);
    uint32_t error = 0;
    s.port = CurrentPortOpener().Open(device, error);
    LogLine("waiting for CommPortSetup CreateFile ", s.port ? s.port->HandleValue() : kInvalidHandleValue);
    if (s.port) break;
  }
  if (!s.port) {
    LogLine("CreateFile failed", 0u);
    return PortSetup::DeviceAbsent;
  }
  LogLine("CreateFile successful", 0u);
  if (s.port->SetQueueSizes(kPortQueueSize, kPortQueueSize))
    LogLine("CommPortSetup SetupComm successful", 0u);
  else
    LogLine("CommPortSetup SetupComm failed, return", s.port->LastError());
  PortTimeouts timeouts;
  timeouts.readIntervalTimeout = kMaxDword;
  timeouts.readTotalTimeoutMultiplier = kMaxDword;
  timeouts.readTotalTimeoutConstant = kReadTimeoutConstantMs;
  if (s.port->SetTimeouts(timeouts))
    LogLine("CommPortSetup SetCommTimeouts successful", 0u);
  else
    LogLine("CommPortSetup SetCommTimeouts failed", 0u);
  PortStatus status;
  ClearErrorsAndStatistics(status);
  ClearErrorsAndStatistics(status);
  const uint8_t configured = kPortConfiguredByte;
  PortOutput(&configured, 1);
  ClearErrors(status);
  return PortSetup::Opened;
}

PortIo PortInput(uint8_t* buffer, size_t n) {
  DriverState& s = State();
  platform::Clock& clock = platform::CurrentClock();
  std::vector<uint8_t> bytes(n);
  size_t got = 0;
  const bool nt = IsNtFamily();
  if (nt) {
    bool waiting = false;
    for (int poll = 0; poll < kInputPolls && !waiting; ++poll) {
      clock.Sleep(kInputPollWaitMs);
      PortStatus status;
      if (!ClearErrors(status)) return PortIo::Failed;
      if (status.errors != 0) return PortIo::Incomplete;
      if (status.receiveQueued >= n) {
        waiting = true;
        break;
      }
      clock.Sleep(kInputPollExtraWaitMs);
    }
    if (!waiting) return PortIo::Incomplete;
    if (!s.port->Read(bytes.data(), n, got)) return PortIo::Failed;
    if (got < n) return PortIo::Incomplete;
  } else {
    clock.Sleep(kInputPollWaitMs);
    if (!s.port || !s.port->Read(bytes.data(), n, got)) return PortIo::Failed;
    if (got < n) return PortIo::Incomplete;
  }
  std::copy(bytes.begin(), bytes.end(), buffer);
  LogLine((nt ? "NT USB port input: " : "USB port input: ") + AsText(bytes.data(), n), static_cast<uint32_t>(n));
  return PortIo::Done;
}

PortIo PortOutput(const uint8_t* bytes, size_t n) {
  DriverState& s = State();
  if (IsNtFamily()) {
    // Discard whatever arrived unread, so that the answer read after this
    // write is the answer to it.
    PortStatus status;
    if (!ClearErrors(status)) return PortIo::Failed;
    uint8_t discard[kPortQueueSize];
    size_t left = status.receiveQueued;
    while (left > 0) {
      size_t got = 0;
      if (!s.port->Read(discard, std::min(left, sizeof discard), got)) return PortIo::Failed;
      if (got == 0) break;
      left -= std::min(left, got);
    }
  }
  size_t written = 0;
  bool ok = s.port && s.port->Write(bytes, n, written);
  if (n >= kBulkLogThreshold)
    LogLine("data block", static_cast<uint32_t>(n));
  else
    LogLine("PortOutput-- " + AsText(bytes, n) + "  total bytes ", static_cast<uint32_t>(written));
  if (!ok) {
    LogLine("PortOutput-- failed at WriteFile()",
            s.port ? s.port->LastError() : static_cast<uint32_t>(platform::kErrorInvalidHandle));
    return PortIo::Failed;
  }
  return written == n ? PortIo::Done : PortIo::Incomplete;
}

bool ClosePort() {
  DriverState& s = State();
  LogClose();
  if (!s.port) return false;
  s.port->SetEventMask(0);
  const bool closed = s.port->Close() != 0;
  s.port.reset();
  return closed;
}

bool LocateTarget() {
  DriverState& s = State();
  platform::Clock& clock = platform::CurrentClock();
  LogLine("enter LocateTarget", 0u);
  // A position whose read delivers nothing keeps what it held before.
  uint8_t window[kLocateWindow + 1] = {};
  for (int attempt = 0; attempt < kLocateAttempts && !StopRequested(); ++attempt) {
    size_t lastGot = 0;
    for (size_t i = 0; i < kLocateWindow; ++i) {
      lastGot = 0;
      if (s.port) s.port->Read(&window[i], 1, lastGot);
    }
    window[kLocateWindow] = 0;
    const char* text = reinterpret_cast<const char*>(window);
    LogLine(text, static_cast<uint32_t>(lastGot));
    // Searched as text: a zero byte ends the window early.
    if (std::strstr(text, kSyncPattern) != nullptr) {
      LogLine("LocateTarget returns TRUE", 0u);
      return true;
    }
    clock.Sleep(kLocateRetryWaitMs);
  }
  LogLine("LocateTarget returns FALSE", 0u);
  return false;
}

Connection ConnectTarget() {
  DriverState& s = State();
  platform::Clock& clock = platform::CurrentClock();
  if (CommPortSetup() != PortSetup::Opened) return Connection::Failed;
  auto fail = [] {
    ClosePort();
    return Connection::Failed;
  };
  if (!LocateTarget()) return fail();
  s.port->Purge(kPurgeBoth);
  if (Output(kHandshakeText) != PortIo::Done) return fail();
  clock.Sleep(kHandshakeWaitMs);
  if (IsNtFamily()) {
    uint8_t reply = 0;
    if (PortInput(&reply, 1) != PortIo::Done || reply != kHandshakeReply) return fail();
  } else if (Output(kHandshakeText) != PortIo::Done) {
    return fail();
  }
  const uint8_t go = kGoByte;
  if (PortOutput(&go, 1) != PortIo::Done) return fail();
  clock.Sleep(kHandshakeWaitMs);
  return Connection::Connected;
}

}  // namespace drkclient
