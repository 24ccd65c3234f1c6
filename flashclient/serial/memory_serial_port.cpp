#include "flashclient/serial/memory_serial_port.h"

#include <algorithm>

#include "base/clock.h"
#include "base/errors.h"

namespace drkclient {

namespace {
constexpr uint32_t kMaxDword = 0xFFFFFFFFu;
// The first handle value handed out; any plausible number does.
constexpr uint32_t kFirstHandle = 0x40;
}  // namespace

void MemoryLink::Send(std::string_view bytes) {
  Send(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void MemoryLink::Send(const uint8_t* bytes, size_t n) {
  std::lock_guard guard(mutex_);
  toHost_.insert(toHost_.end(), bytes, bytes + n);
}

void MemoryLink::RaiseLineError(uint32_t flags) {
  std::lock_guard guard(mutex_);
  lineErrors_ |= flags;
}

void MemoryLink::Disconnect() {
  std::lock_guard guard(mutex_);
  disconnected_ = true;
}

std::vector<std::string> MemoryLink::Writes() const {
  std::lock_guard guard(mutex_);
  return writes_;
}

std::string MemoryLink::Written() const {
  std::lock_guard guard(mutex_);
  std::string all;
  for (const auto& w : writes_) all += w;
  return all;
}

size_t MemoryLink::Pending() const {
  std::lock_guard guard(mutex_);
  return toHost_.size();
}

MemorySerialPort::MemorySerialPort(std::shared_ptr<MemoryLink> link, MemoryDevice& device, uint32_t handle)
    : link_(std::move(link)), device_(device), handle_(handle) {}

bool MemorySerialPort::Usable() {
  bool gone;
  {
    std::lock_guard guard(link_->mutex_);
    gone = link_->disconnected_;
  }
  if (closed_ || gone) {
    lastError_ = static_cast<uint32_t>(closed_ ? platform::kErrorInvalidHandle : platform::kErrorReadFault);
    return false;
  }
  return true;
}

bool MemorySerialPort::SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) {
  (void)transmitBytes;
  if (!Usable()) return false;
  receiveQueueSize_ = receiveBytes;
  return true;
}

bool MemorySerialPort::SetTimeouts(const PortTimeouts& timeouts) {
  if (!Usable()) return false;
  timeouts_ = timeouts;
  return true;
}

bool MemorySerialPort::Purge(uint32_t flags) {
  if (!Usable()) return false;
  if ((flags & (kPurgeRxClear | kPurgeRxAbort)) != 0) {
    std::lock_guard guard(link_->mutex_);
    link_->toHost_.clear();
  }
  return true;
}

bool MemorySerialPort::ClearErrors(PortStatus& status) {
  status = PortStatus{};
  if (!Usable()) return false;
  device_.OnPoll(platform::NowMs(), *link_);
  std::lock_guard guard(link_->mutex_);
  status.errors = link_->lineErrors_;
  link_->lineErrors_ = 0;
  status.receiveQueued = static_cast<uint32_t>(link_->toHost_.size());
  return true;
}

bool MemorySerialPort::ClearStatistics() { return Usable(); }

size_t MemorySerialPort::Take(uint8_t* buffer, size_t n) {
  std::lock_guard guard(link_->mutex_);
  size_t take = std::min(n, link_->toHost_.size());
  std::copy_n(link_->toHost_.begin(), take, buffer);
  link_->toHost_.erase(link_->toHost_.begin(), link_->toHost_.begin() + static_cast<std::ptrdiff_t>(take));
  return take;
}

bool MemorySerialPort::Read(uint8_t* buffer, size_t n, size_t& got) {
  got = 0;
  if (!Usable()) return false;
  platform::Clock& clock = platform::CurrentClock();
  device_.OnPoll(clock.NowMs(), *link_);
  got = Take(buffer, n);
  const bool returnAtOnce = timeouts_.readIntervalTimeout == kMaxDword;
  if (returnAtOnce && got > 0) return true;
  if (got == n) return true;
  // Nothing (or not enough) waiting: the read timeout passes on the clock,
  // then whatever the device sent meanwhile is taken.
  uint64_t waitMs = timeouts_.readTotalTimeoutConstant;
  if (!returnAtOnce) waitMs += static_cast<uint64_t>(timeouts_.readTotalTimeoutMultiplier) * n;
  if (returnAtOnce && timeouts_.readTotalTimeoutMultiplier != kMaxDword) waitMs = 0;
  if (waitMs > 0) clock.Sleep(static_cast<uint32_t>(std::min<uint64_t>(waitMs, kMaxDword)));
  device_.OnPoll(clock.NowMs(), *link_);
  got += Take(buffer + got, n - got);
  return true;
}

bool MemorySerialPort::Write(const uint8_t* bytes, size_t n, size_t& written) {
  written = 0;
  if (!Usable()) return false;
  {
    std::lock_guard guard(link_->mutex_);
    link_->writes_.emplace_back(reinterpret_cast<const char*>(bytes), n);
  }
  written = n;
  device_.OnHostWrite(bytes, n, *link_);
  return true;
}

bool MemorySerialPort::SetEventMask(uint32_t mask) {
  (void)mask;
  return Usable();
}

int MemorySerialPort::Close() {
  if (closed_) return 0;
  closed_ = true;
  return 1;
}

std::unique_ptr<SerialPort> MemoryPortOpener::Open(const std::string& devicePath, uint32_t& error) {
  std::lock_guard guard(mutex_);
  ++attempts_;
  lastPath_ = devicePath;
  if (failuresLeft_ > 0) {
    --failuresLeft_;
    error = static_cast<uint32_t>(platform::kErrorFileNotFound);
    return nullptr;
  }
  error = 0;
  ++opens_;
  link_ = std::make_shared<MemoryLink>();
  return std::make_unique<MemorySerialPort>(link_, device_, kFirstHandle + static_cast<uint32_t>(opens_));
}

void MemoryPortOpener::FailNextOpens(int count) {
  std::lock_guard guard(mutex_);
  failuresLeft_ = count;
}

int MemoryPortOpener::Attempts() const {
  std::lock_guard guard(mutex_);
  return attempts_;
}

int MemoryPortOpener::Opens() const {
  std::lock_guard guard(mutex_);
  return opens_;
}

std::string MemoryPortOpener::LastPath() const {
  std::lock_guard guard(mutex_);
  return lastPath_;
}

std::shared_ptr<MemoryLink> MemoryPortOpener::Link() const {
  std::lock_guard guard(mutex_);
  return link_;
}

}  // namespace drkclient
