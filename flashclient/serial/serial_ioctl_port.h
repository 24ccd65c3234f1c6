#pragma once
// A serial port driven through the serial device's I/O control codes, as on
// desktop systems outside the NT family, whose USB serial device the
// communication functions do not reach:
//   queue sizes   IOCTL_SERIAL_SET_QUEUE_SIZE  (0x1B0008), receive then transmit size
//   timeouts      IOCTL_SERIAL_SET_TIMEOUTS    (0x1B001C), the five timeouts in order
//   purge         IOCTL_SERIAL_PURGE           (0x1B004C), the purge flags
//   errors/counts IOCTL_SERIAL_GET_COMMSTATUS  (0x1B006C), the serial status
//   statistics    IOCTL_SERIAL_CLEAR_STATS     (0x1B0090)
//   event mask    IOCTL_SERIAL_SET_WAIT_MASK   (0x1B0044), the mask
// Every input is a sequence of 32-bit values.

#include "flashclient/serial/win32_serial_port.h"

namespace drkclient {

class SerialIoctlPort final : public Win32SerialPort {
 public:
  explicit SerialIoctlPort(HANDLE handle) : Win32SerialPort(handle) {}

  bool SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) override;
  bool SetTimeouts(const PortTimeouts& timeouts) override;
  bool Purge(uint32_t flags) override;
  // The serial status's error flags, turned into the line error flags of
  // serial_port.h, and its queue counts.
  bool ClearErrors(PortStatus& status) override;
  bool ClearStatistics() override;
  bool SetEventMask(uint32_t mask) override;

 private:
  // One control call; output must come back whole when asked for.
  bool Control(DWORD code, const void* input, DWORD inputBytes, void* output = nullptr, DWORD outputBytes = 0);
};

}  // namespace drkclient
