#pragma once
// An in-memory serial link to a device simulated in the same process, for
// tests. The device sees every write the host makes, one call per write, and
// is polled whenever the host looks at its receive queue or reads, so it can
// answer or send bytes that are due by the current clock's time.
//
// A read that finds nothing waiting is decided at once: the port sleeps the
// read timeout on the current clock (no real time under a manual clock),
// polls the device once more and returns what is there, possibly nothing.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "flashclient/serial/serial_port.h"

namespace drkclient {

class MemoryLink;

class MemoryDevice {
 public:
  virtual ~MemoryDevice() = default;
  // One write of the host.
  virtual void OnHostWrite(const uint8_t* bytes, size_t n, MemoryLink& link) = 0;
  // The host is about to look at what arrived; nowMs is the current clock's reading.
  virtual void OnPoll(uint64_t nowMs, MemoryLink& link) {
    (void)nowMs;
    (void)link;
  }
};

// The shared middle of the link. Safe to use from several threads.
class MemoryLink {
 public:
  // Device to host.
  void Send(std::string_view bytes);
  void Send(const uint8_t* bytes, size_t n);
  // Line errors reported by the next status query.
  void RaiseLineError(uint32_t flags);
  // The device goes away: every later operation on the port fails.
  void Disconnect();

  // What the host wrote, one entry per write call, and all of it joined.
  std::vector<std::string> Writes() const;
  std::string Written() const;
  size_t Pending() const;

 private:
  friend class MemorySerialPort;
  mutable std::mutex mutex_;
  std::deque<uint8_t> toHost_;
  std::vector<std::string> writes_;
  uint32_t lineErrors_ = 0;
  bool disconnected_ = false;
};

class MemorySerialPort final : public SerialPort {
 public:
  MemorySerialPort(std::shared_ptr<MemoryLink> link, MemoryDevice& device, uint32_t handle);

  bool SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) override;
  bool SetTimeouts(const PortTimeouts& timeouts) override;
  bool Purge(uint32_t flags) override;
  bool ClearErrors(PortStatus& status) override;
  bool ClearStatistics() override;
  bool Read(uint8_t* buffer, size_t n, size_t& got) override;
  bool Write(const uint8_t* bytes, size_t n, size_t& written) override;
  bool SetEventMask(uint32_t mask) override;
  int Close() override;
  uint32_t HandleValue() const override { return handle_; }
  uint32_t LastError() const override { return lastError_; }

  uint32_t QueueSize() const { return receiveQueueSize_; }
  const PortTimeouts& Timeouts() const { return timeouts_; }

 private:
  bool Usable();
  size_t Take(uint8_t* buffer, size_t n);

  std::shared_ptr<MemoryLink> link_;
  MemoryDevice& device_;
  uint32_t handle_;
  PortTimeouts timeouts_;
  uint32_t receiveQueueSize_ = 0;
  uint32_t lastError_ = 0;
  bool closed_ = false;
};

// Hands out in-memory ports connected to one device, each open on a fresh
// link, and can play an absent device for a number of attempts.
class MemoryPortOpener final : public PortOpener {
 public:
  explicit MemoryPortOpener(MemoryDevice& device) : device_(device) {}

  std::unique_ptr<SerialPort> Open(const std::string& devicePath, uint32_t& error) override;

  // The next count opens fail as with no device present.
  void FailNextOpens(int count);
  int Attempts() const;
  int Opens() const;
  std::string LastPath() const;
  // The link of the most recent open (empty before the first).
  std::shared_ptr<MemoryLink> Link() const;

 private:
  MemoryDevice& device_;
  mutable std::mutex mutex_;
  int failuresLeft_ = 0;
  int attempts_ = 0;
  int opens_ = 0;
  std::string lastPath_;
  std::shared_ptr<MemoryLink> link_;
};

}  // namespace drkclient
