#pragma once
// The device end of the driver's serial link: the handful of operations the
// port layer performs on an open port, as the desktop's communication
// functions offer them. The port layer (flashclient/port_layer.h) adds the
// driver's own timing rules, logging and handshake on top; implementations
// here only move bytes and report the port's state.
//
// Implementations: PosixSerialPort (termios, a real or pseudo terminal);
// on Windows NtCommPort (the communication functions) and SerialIoctlPort
// (the serial device's I/O control codes); and MemorySerialPort (an
// in-memory link to a device simulated in the same process, for tests).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace drkclient {

// Read and write timeouts in milliseconds, with the desktop's meaning: an
// interval and a multiplier of 0xFFFFFFFF with a constant C make a read
// return at once with the bytes already waiting, or wait up to C for a first
// byte when none is waiting. Write values of 0 mean writes never time out.
struct PortTimeouts {
  uint32_t readIntervalTimeout = 0;
  uint32_t readTotalTimeoutMultiplier = 0;
  uint32_t readTotalTimeoutConstant = 0;
  uint32_t writeTotalTimeoutMultiplier = 0;
  uint32_t writeTotalTimeoutConstant = 0;
};

// Purge flags.
inline constexpr uint32_t kPurgeTxAbort = 0x1;
inline constexpr uint32_t kPurgeRxAbort = 0x2;
inline constexpr uint32_t kPurgeTxClear = 0x4;
inline constexpr uint32_t kPurgeRxClear = 0x8;

// Line error flags reported by ClearErrors.
inline constexpr uint32_t kLineErrorOverrun = 0x2;
inline constexpr uint32_t kLineErrorParity = 0x4;
inline constexpr uint32_t kLineErrorFrame = 0x8;
inline constexpr uint32_t kLineErrorBreak = 0x10;

struct PortStatus {
  uint32_t errors = 0;         // line errors since the last call
  uint32_t receiveQueued = 0;  // bytes waiting to be read
  uint32_t transmitQueued = 0; // bytes not yet sent
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual bool SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) = 0;
  virtual bool SetTimeouts(const PortTimeouts& timeouts) = 0;
  virtual bool Purge(uint32_t flags) = 0;
  // Reads and clears the line errors and reports the queue counts. A port
  // whose device has gone away fails here.
  virtual bool ClearErrors(PortStatus& status) = 0;
  // Resets the port's statistics where the device keeps them apart from
  // its error state (the I/O control family); true where there is nothing
  // to reset.
  virtual bool ClearStatistics() = 0;
  // Reads up to n bytes under the timeouts set; got tells how many arrived.
  virtual bool Read(uint8_t* buffer, size_t n, size_t& got) = 0;
  virtual bool Write(const uint8_t* bytes, size_t n, size_t& written) = 0;
  virtual bool SetEventMask(uint32_t mask) = 0;
  // Closes the port: nonzero on success, as the desktop's close does.
  virtual int Close() = 0;
  // The handle value the desktop would log for this port.
  virtual uint32_t HandleValue() const = 0;
  // The platform error code of the last failed operation.
  virtual uint32_t LastError() const = 0;
};

// Opens ports by device path. The driver asks its current opener, so tests
// can hand it in-memory ports.
class PortOpener {
 public:
  virtual ~PortOpener() = default;
  // Opens for reading and writing without sharing; nullptr when the device
  // is absent or busy, with the platform error code in error.
  virtual std::unique_ptr<SerialPort> Open(const std::string& devicePath, uint32_t& error) = 0;
};

// The platform's own opener: POSIX terminals, or Windows devices.
PortOpener& DefaultPortOpener();
// The opener in use: the platform's own unless a test installed another.
PortOpener& CurrentPortOpener();
// nullptr restores the platform's opener. Install before starting driver
// work.
void InstallPortOpener(PortOpener* opener);

}  // namespace drkclient
