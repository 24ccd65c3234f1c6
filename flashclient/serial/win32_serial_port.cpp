#include "flashclient/serial/win32_serial_port.h"

#include <algorithm>

#include "flashclient/os_family.h"
#include "flashclient/serial/nt_comm_port.h"
#include "flashclient/serial/serial_ioctl_port.h"

namespace drkclient {

namespace {

// One ReadFile or WriteFile moves at most this much.
DWORD ChunkOf(size_t n) { return static_cast<DWORD>(std::min<size_t>(n, MAXDWORD)); }

}  // namespace

Win32SerialPort::~Win32SerialPort() {
  if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
}

bool Win32SerialPort::Usable() {
  if (handle_ != INVALID_HANDLE_VALUE) return true;
  lastError_ = ERROR_INVALID_HANDLE;
  return false;
}

bool Win32SerialPort::Check(BOOL result) {
  if (result) return true;
  lastError_ = ::GetLastError();
  return false;
}

bool Win32SerialPort::Fail(DWORD error) {
  lastError_ = error;
  return false;
}

bool Win32SerialPort::Read(uint8_t* buffer, size_t n, size_t& got) {
  got = 0;
  if (!Usable()) return false;
  DWORD read = 0;
  if (!Check(::ReadFile(handle_, buffer, ChunkOf(n), &read, nullptr))) return false;
  got = read;
  return true;
}

bool Win32SerialPort::Write(const uint8_t* bytes, size_t n, size_t& written) {
  written = 0;
  if (!Usable()) return false;
  DWORD done = 0;
  if (!Check(::WriteFile(handle_, bytes, ChunkOf(n), &done, nullptr))) return false;
  written = done;
  return true;
}

int Win32SerialPort::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return 0;
  const BOOL closed = ::CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return closed;
}

uint32_t Win32SerialPort::HandleValue() const {
  // As the desktop logs a handle: its low 32 bits.
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle_));
}

std::unique_ptr<SerialPort> Win32PortOpener::Open(const std::string& devicePath, uint32_t& error) {
  error = 0;
  HANDLE handle = ::CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return nullptr;
  }
  if (family_() == kOsFamilyOther) return std::make_unique<SerialIoctlPort>(handle);
  auto port = std::make_unique<NtCommPort>(handle);
  // A USB serial device may have no use for line settings; the link works
  // without them, so a refusal does not refuse the port.
  port->ConfigureLine();
  return port;
}

PortOpener& DefaultPortOpener() {
  static Win32PortOpener opener(DetectOsFamily);
  return opener;
}

}  // namespace drkclient
