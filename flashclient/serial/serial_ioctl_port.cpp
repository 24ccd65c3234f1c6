#include "flashclient/serial/serial_ioctl_port.h"

#include <cstdint>

namespace drkclient {

namespace {

// The serial device's control codes.
constexpr DWORD kIoctlSetQueueSize = 0x1B0008;
constexpr DWORD kIoctlSetTimeouts = 0x1B001C;
constexpr DWORD kIoctlPurge = 0x1B004C;
constexpr DWORD kIoctlGetCommStatus = 0x1B006C;
constexpr DWORD kIoctlClearStats = 0x1B0090;
constexpr DWORD kIoctlSetWaitMask = 0x1B0044;

// Their inputs and output, as the serial device lays them out.
struct SerialQueueSize {
  uint32_t inSize;
  uint32_t outSize;
};
struct SerialTimeouts {
  uint32_t readIntervalTimeout;
  uint32_t readTotalTimeoutMultiplier;
  uint32_t readTotalTimeoutConstant;
  uint32_t writeTotalTimeoutMultiplier;
  uint32_t writeTotalTimeoutConstant;
};
struct SerialStatus {
  uint32_t errors;
  uint32_t holdReasons;
  uint32_t amountInInQueue;
  uint32_t amountInOutQueue;
  uint8_t eofReceived;
  uint8_t waitForImmediate;
};
static_assert(sizeof(SerialQueueSize) == 8 && sizeof(SerialTimeouts) == 20 && sizeof(SerialStatus) == 20);

// The serial status's error flags and the line error flags they become.
struct ErrorFlag {
  uint32_t serialError;
  uint32_t lineError;
};
constexpr ErrorFlag kErrorFlags[] = {
    {0x01, kLineErrorBreak},    // SERIAL_ERROR_BREAK
    {0x02, kLineErrorFrame},    // SERIAL_ERROR_FRAMING
    {0x04, kLineErrorOverrun},  // SERIAL_ERROR_OVERRUN
    {0x08, kLineErrorOverrun},  // SERIAL_ERROR_QUEUEOVERRUN
    {0x10, kLineErrorParity},   // SERIAL_ERROR_PARITY
};

}  // namespace

bool SerialIoctlPort::Control(DWORD code, const void* input, DWORD inputBytes, void* output, DWORD outputBytes) {
  if (!Usable()) return false;
  DWORD returned = 0;
  if (!Check(::DeviceIoControl(Handle(), code, const_cast<void*>(input), inputBytes, output, outputBytes, &returned,
                               nullptr)))
    return false;
  // A status that came back short is no status.
  return returned == outputBytes || Fail(ERROR_INVALID_DATA);
}

bool SerialIoctlPort::SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) {
  SerialQueueSize sizes{receiveBytes, transmitBytes};
  return Control(kIoctlSetQueueSize, &sizes, sizeof sizes);
}

bool SerialIoctlPort::SetTimeouts(const PortTimeouts& t) {
  SerialTimeouts timeouts{t.readIntervalTimeout, t.readTotalTimeoutMultiplier, t.readTotalTimeoutConstant,
                           t.writeTotalTimeoutMultiplier, t.writeTotalTimeoutConstant};
  return Control(kIoctlSetTimeouts, &timeouts, sizeof timeouts);
}

bool SerialIoctlPort::Purge(uint32_t flags) {
  return Control(kIoctlPurge, &flags, sizeof flags);
}

bool SerialIoctlPort::ClearErrors(PortStatus& status) {
  status = PortStatus{};
  SerialStatus serial{};
  if (!Control(kIoctlGetCommStatus, nullptr, 0, &serial, sizeof serial)) return false;
  for (const ErrorFlag& flag : kErrorFlags)
    if ((serial.errors & flag.serialError) != 0) status.errors |= flag.lineError;
  status.receiveQueued = serial.amountInInQueue;
  status.transmitQueued = serial.amountInOutQueue;
  return true;
}

bool SerialIoctlPort::ClearStatistics() { return Control(kIoctlClearStats, nullptr, 0); }

bool SerialIoctlPort::SetEventMask(uint32_t mask) {
  return Control(kIoctlSetWaitMask, &mask, sizeof mask);
}

}  // namespace drkclient
