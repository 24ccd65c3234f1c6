#pragma once
// A serial port on a POSIX terminal device (a USB serial adapter, or the
// slave side of a pseudo-terminal such as bootloader-sim's), driven in raw
// mode through termios.
//
// How the desktop port operations map here:
// - open without sharing: an exclusive, non-blocking flock on the device;
//   a device that is not a terminal is refused;
// - queue sizes: the kernel's terminal buffers have a fixed size, so the
//   sizes are recorded and the call succeeds;
// - timeouts: reads wait for a first byte with poll() for the constant read
//   timeout and then take what is waiting, which is the behaviour of the
//   "return at once, else wait for one byte" setting the driver uses;
//   writes block until every byte is queued (write timeouts of zero);
// - purge: tcflush of the input and/or output queue;
// - clear errors: the receive count from FIONREAD, the transmit count from
//   TIOCOUTQ, line errors from the driver's error counters where the device
//   keeps them (TIOCGICOUNT); a hung-up device fails the call.

#include <cstdint>
#include <memory>
#include <string>

#include "flashclient/serial/serial_port.h"

namespace drkclient {

class PosixSerialPort final : public SerialPort {
 public:
  // Takes ownership of an open descriptor.
  explicit PosixSerialPort(int fd);
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) override;
  bool SetTimeouts(const PortTimeouts& timeouts) override;
  bool Purge(uint32_t flags) override;
  bool ClearErrors(PortStatus& status) override;
  bool ClearStatistics() override;
  bool Read(uint8_t* buffer, size_t n, size_t& got) override;
  bool Write(const uint8_t* bytes, size_t n, size_t& written) override;
  bool SetEventMask(uint32_t mask) override;
  int Close() override;
  uint32_t HandleValue() const override { return static_cast<uint32_t>(fd_); }
  uint32_t LastError() const override { return lastError_; }

 private:
  bool Fail(int err);
  // Waits up to timeoutMs (negative: forever) for the events; false on a
  // poll failure or hang-up.
  bool WaitFor(short events, int timeoutMs, bool& ready);

  int fd_;
  PortTimeouts timeouts_;
  uint32_t receiveQueueSize_ = 0;
  uint32_t transmitQueueSize_ = 0;
  uint32_t eventMask_ = 0;
  uint32_t lastError_ = 0;
  bool haveCounters_ = false;
  uint32_t lastErrorCounts_[4] = {};  // overrun, parity, frame, break
};

class PosixPortOpener final : public PortOpener {
 public:
  std::unique_ptr<SerialPort> Open(const std::string& devicePath, uint32_t& error) override;
};

}  // namespace drkclient
