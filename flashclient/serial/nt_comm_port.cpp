#include "flashclient/serial/nt_comm_port.h"

namespace drkclient {

namespace {

constexpr DWORD kLineBaudRate = CBR_115200;
constexpr BYTE kLineDataBits = 8;

// ClearCommError reports the CE_ flags, which the port layer's line error
// flags are.
static_assert(kLineErrorOverrun == CE_OVERRUN && kLineErrorParity == CE_RXPARITY && kLineErrorFrame == CE_FRAME &&
              kLineErrorBreak == CE_BREAK);
static_assert(kPurgeTxAbort == PURGE_TXABORT && kPurgeRxAbort == PURGE_RXABORT && kPurgeTxClear == PURGE_TXCLEAR &&
              kPurgeRxClear == PURGE_RXCLEAR);

}  // namespace

bool NtCommPort::ConfigureLine() {
  if (!Usable()) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!Check(::GetCommState(Handle(), &dcb))) return false;
  dcb.BaudRate = kLineBaudRate;
  dcb.ByteSize = kLineDataBits;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = FALSE;
  return Check(::SetCommState(Handle(), &dcb));
}

bool NtCommPort::SetQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) {
  return Usable() && Check(::SetupComm(Handle(), receiveBytes, transmitBytes));
}

bool NtCommPort::SetTimeouts(const PortTimeouts& t) {
  if (!Usable()) return false;
  COMMTIMEOUTS timeouts{t.readIntervalTimeout, t.readTotalTimeoutMultiplier, t.readTotalTimeoutConstant,
                        t.writeTotalTimeoutMultiplier, t.writeTotalTimeoutConstant};
  return Check(::SetCommTimeouts(Handle(), &timeouts));
}

bool NtCommPort::Purge(uint32_t flags) { return Usable() && Check(::PurgeComm(Handle(), flags)); }

bool NtCommPort::ClearErrors(PortStatus& status) {
  status = PortStatus{};
  if (!Usable()) return false;
  DWORD errors = 0;
  COMSTAT counts{};
  if (!Check(::ClearCommError(Handle(), &errors, &counts))) return false;
  status.errors = errors;
  status.receiveQueued = counts.cbInQue;
  status.transmitQueued = counts.cbOutQue;
  return true;
}

// ClearCommError has no statistics to reset.
bool NtCommPort::ClearStatistics() { return Usable(); }

bool NtCommPort::SetEventMask(uint32_t mask) { return Usable() && Check(::SetCommMask(Handle(), mask)); }

}  // namespace drkclient
