#pragma once
// A serial port driven through the Win32 communication functions, as on the
// NT family: SetupComm, SetCommTimeouts, PurgeComm, ClearCommError,
// SetCommMask, and the line settings of a DCB.

#include "flashclient/serial/win32_serial_port.h"

namespace drkclient {

class NtCommPort final : public Win32SerialPort {
 public:
  explicit NtCommPort(HANDLE handle) : Win32SerialPort(handle) {}

  // The boot loader's line: 115200 bit/s, 8 data bits, no parity, one stop
  // bit, binary, no flow control, DTR and RTS on. False when the device
  // refuses the settings.
  bool ConfigureLine();

  bool SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) override;
  bool SetTimeouts(const PortTimeouts& timeouts) override;
  bool Purge(uint32_t flags) override;
  bool ClearErrors(PortStatus& status) override;
  bool ClearStatistics() override;
  bool SetEventMask(uint32_t mask) override;
};

}  // namespace drkclient
