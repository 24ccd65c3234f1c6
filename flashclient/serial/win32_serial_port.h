#pragma once
// Serial ports on Windows, opened with CreateFile on a device name: the USB
// serial device of the desktop synchronisation driver (\\.\wceusbsh001) or
// any COM port (\\.\COM3). Reads and writes are ReadFile and WriteFile on
// the handle, without overlapped I/O, under the timeouts the port layer
// sets. The rest of the port's control comes in two forms, chosen by the
// desktop's OS family when the port is opened:
// - NtCommPort (nt_comm_port.h): the communication functions, for the NT
//   family;
// - SerialIoctlPort (serial_ioctl_port.h): the serial device's I/O control
//   codes through DeviceIoControl, for the other systems.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "flashclient/serial/serial_port.h"

namespace drkclient {

// What both forms share: the handle and the byte moving.
class Win32SerialPort : public SerialPort {
 public:
  ~Win32SerialPort() override;
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

  bool Read(uint8_t* buffer, size_t n, size_t& got) override;
  bool Write(const uint8_t* bytes, size_t n, size_t& written) override;
  int Close() override;
  uint32_t HandleValue() const override;
  uint32_t LastError() const override { return lastError_; }

 protected:
  // Takes ownership of an open handle.
  explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}

  // The open handle, or nothing (with ERROR_INVALID_HANDLE recorded) once
  // the port is closed.
  bool Usable();
  HANDLE Handle() const { return handle_; }
  // Records the result of a Win32 call: false, with the thread's last error
  // kept, when it failed.
  bool Check(BOOL result);
  // Records a failure the system did not report: false.
  bool Fail(DWORD error);

 private:
  HANDLE handle_;
  uint32_t lastError_ = 0;
};

class Win32PortOpener final : public PortOpener {
 public:
  // The OS family (os_family.h) decides how each opened port is driven.
  using FamilySource = int32_t (*)();
  explicit Win32PortOpener(FamilySource family) : family_(family) {}

  // Opens for reading and writing, without sharing, as an existing device,
  // with normal attributes and no overlapped I/O.
  std::unique_ptr<SerialPort> Open(const std::string& devicePath, uint32_t& error) override;

 private:
  FamilySource family_;
};

}  // namespace drkclient
