#include "flashclient/serial/posix_serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/clock.h"
#include "base/errors.h"

namespace drkclient {

namespace {

constexpr uint32_t kMaxDword = 0xFFFFFFFFu;

uint32_t ErrorFromErrno(int err) { return static_cast<uint32_t>(platform::FromErrno(err)); }

}  // namespace

PosixSerialPort::PosixSerialPort(int fd) : fd_(fd) {}

PosixSerialPort::~PosixSerialPort() {
  if (fd_ >= 0) ::close(fd_);
}

bool PosixSerialPort::Fail(int err) {
  lastError_ = ErrorFromErrno(err);
  return false;
}

bool PosixSerialPort::WaitFor(short events, int timeoutMs, bool& ready) {
  ready = false;
  pollfd p{fd_, events, 0};
  for (;;) {
    int r = ::poll(&p, 1, timeoutMs);
    if (r < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (r == 0) return true;
    if ((p.revents & events) != 0) {
      ready = true;
      return true;
    }
    // Hang-up or error without the awaited event: the device is gone.
    return Fail(EIO);
  }
}

bool PosixSerialPort::SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) {
  if (fd_ < 0) return Fail(EBADF);
  receiveQueueSize_ = receiveBytes;
  transmitQueueSize_ = transmitBytes;
  return true;
}

bool PosixSerialPort::SetTimeouts(const PortTimeouts& timeouts) {
  if (fd_ < 0) return Fail(EBADF);
  timeouts_ = timeouts;
  return true;
}

bool PosixSerialPort::Purge(uint32_t flags) {
  if (fd_ < 0) return Fail(EBADF);
  bool in = (flags & (kPurgeRxClear | kPurgeRxAbort)) != 0;
  bool out = (flags & (kPurgeTxClear | kPurgeTxAbort)) != 0;
  int which = in && out ? TCIOFLUSH : in ? TCIFLUSH : out ? TCOFLUSH : -1;
  if (which < 0) return true;
  if (::tcflush(fd_, which) != 0) return Fail(errno);
  return true;
}

bool PosixSerialPort::ClearErrors(PortStatus& status) {
  status = PortStatus{};
  if (fd_ < 0) return Fail(EBADF);
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, 0) < 0) return Fail(errno);
  if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return Fail(EIO);
  int queued = 0;
  if (::ioctl(fd_, FIONREAD, &queued) != 0) return Fail(errno);
  status.receiveQueued = static_cast<uint32_t>(std::max(queued, 0));
  int pending = 0;
  if (::ioctl(fd_, TIOCOUTQ, &pending) == 0) status.transmitQueued = static_cast<uint32_t>(std::max(pending, 0));
  // Line errors: only real serial drivers keep counters; a pseudo-terminal
  // or a USB device without them reports none.
  serial_icounter_struct counts{};
  if (::ioctl(fd_, TIOCGICOUNT, &counts) == 0) {
    const uint32_t now[4] = {static_cast<uint32_t>(counts.overrun + counts.buf_overrun),
                             static_cast<uint32_t>(counts.parity), static_cast<uint32_t>(counts.frame),
                             static_cast<uint32_t>(counts.brk)};
    const uint32_t flags[4] = {kLineErrorOverrun, kLineErrorParity, kLineErrorFrame, kLineErrorBreak};
    for (int i = 0; i < 4; ++i) {
      if (haveCounters_ && now[i] != lastErrorCounts_[i]) status.errors |= flags[i];
      lastErrorCounts_[i] = now[i];
    }
    haveCounters_ = true;
  }
  return true;
}

// The kernel keeps no statistics apart from the error counters, which
// ClearErrors already takes as its new base.
bool PosixSerialPort::ClearStatistics() {
  if (fd_ < 0) return Fail(EBADF);
  return true;
}

bool PosixSerialPort::Read(uint8_t* buffer, size_t n, size_t& got) {
  got = 0;
  if (fd_ < 0) return Fail(EBADF);
  if (n == 0) return true;
  // "Return at once with what is waiting, else wait for a first byte" is
  // the interval and multiplier both at their maximum; otherwise the
  // multiplier and constant give one deadline for the whole read.
  const bool returnAtOnce = timeouts_.readIntervalTimeout == kMaxDword;
  const bool waitForFirst = returnAtOnce && timeouts_.readTotalTimeoutMultiplier == kMaxDword;
  uint64_t waitMs = static_cast<uint64_t>(timeouts_.readTotalTimeoutConstant);
  if (!returnAtOnce) waitMs += static_cast<uint64_t>(timeouts_.readTotalTimeoutMultiplier) * n;
  if (returnAtOnce && !waitForFirst) waitMs = 0;
  // The kernel waits in real time, so the deadline is read from the host's
  // clock itself, whichever clock is installed.
  platform::SystemClock host;
  const uint64_t deadline = host.NowMs() + waitMs;
  while (got < n) {
    ssize_t r = ::read(fd_, buffer + got, n - got);
    if (r > 0) {
      got += static_cast<size_t>(r);
      if (returnAtOnce) return true;
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN) return Fail(errno);
    const uint64_t now = host.NowMs();
    if (now >= deadline) return true;  // timed out with what arrived
    bool ready = false;
    if (!WaitFor(POLLIN, static_cast<int>(std::min<uint64_t>(deadline - now, 0x7FFFFFFF)), ready)) return false;
  }
  return true;
}

bool PosixSerialPort::Write(const uint8_t* bytes, size_t n, size_t& written) {
  written = 0;
  if (fd_ < 0) return Fail(EBADF);
  while (written < n) {
    ssize_t r = ::write(fd_, bytes + written, n - written);
    if (r > 0) {
      written += static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN) return Fail(errno);
    // The output queue is full; writes never time out, so wait for room.
    bool ready = false;
    if (!WaitFor(POLLOUT, -1, ready)) return false;
  }
  return true;
}

bool PosixSerialPort::SetEventMask(uint32_t mask) {
  if (fd_ < 0) return Fail(EBADF);
  eventMask_ = mask;
  return true;
}

int PosixSerialPort::Close() {
  if (fd_ < 0) return 0;
  int r = ::close(fd_);
  fd_ = -1;
  return r == 0 ? 1 : 0;
}

std::unique_ptr<SerialPort> PosixPortOpener::Open(const std::string& devicePath, uint32_t& error) {
  error = 0;
  int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return nullptr;
  }
  // No sharing: a second opener of the same device is refused.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = static_cast<uint32_t>(platform::kErrorSharingViolation);
    ::close(fd);
    return nullptr;
  }
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    error = ErrorFromErrno(errno);
    ::close(fd);
    return nullptr;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, B115200);
  ::cfsetospeed(&tio, B115200);
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    error = ErrorFromErrno(errno);
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixSerialPort>(fd);
}

PortOpener& DefaultPortOpener() {
  static PosixPortOpener posix;
  return posix;
}

}  // namespace drkclient
