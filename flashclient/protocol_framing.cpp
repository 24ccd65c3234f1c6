#include "flashclient/protocol_framing.h"

#include "base/clock.h"
#include "flashclient/driver_state.h"

namespace drkclient {

namespace {

// A device text of the longest length, then its terminator.
constexpr WaitLimits kTextWait{kMaxAnswerBytes + 1, kAnswerLimitMs, false};

// Reads single bytes within limits until isMarker accepts one (Marker),
// or a read or a limit ends the wait.
template <typename IsMarker>
WaitEnd ReadBounded(const WaitLimits& limits, IsMarker isMarker) {
  DriverState& s = State();
  const Deadline deadline(limits.maxMs);
  for (size_t bytes = 0;;) {
    if (StopRequested()) return WaitEnd::Stopped;
    if (bytes >= limits.maxBytes) return WaitEnd::ByteLimit;
    if (deadline.Passed()) return WaitEnd::TimeLimit;
    switch (ReadByte()) {
      case PortIo::Done:
        ++bytes;
        if (isMarker(s.oneByte)) return WaitEnd::Marker;
        break;
      case PortIo::Incomplete:
        if (!limits.retryTimedOutReads) return WaitEnd::Timeout;
        break;
      case PortIo::Failed:
        return WaitEnd::ReadFailed;
    }
  }
}

}  // namespace

Deadline::Deadline(uint32_t limitMs) : endMs_(platform::NowMs() + limitMs) {}

bool Deadline::Passed() const { return platform::NowMs() >= endMs_; }

PortIo SendByte(uint8_t byte) {
  DriverState& s = State();
  s.oneByte = byte;
  return PortOutput(&s.oneByte, 1);
}

PortIo ReadByte() { return PortInput(&State().oneByte, 1); }

PortIo SendCommand(std::string_view command) {
  PortIo text = PortOutput(reinterpret_cast<const uint8_t*>(command.data()), command.size());
  PortIo zero = SendByte(0);
  return text != PortIo::Done ? text : zero;
}

void WaitForAnswer() { platform::Sleep(kCommandWaitMs); }

WaitEnd AwaitMarker(std::string_view markers, const WaitLimits& limits, int* reads) {
  if (reads != nullptr) *reads = 0;
  return ReadBounded(limits, [&](uint8_t byte) {
    if (reads != nullptr) ++*reads;
    return markers.find(static_cast<char>(byte)) != std::string_view::npos;
  });
}

WaitEnd ReadText(std::string& text) {
  text.clear();
  return ReadBounded(kTextWait, [&](uint8_t byte) {
    if (byte == 0) return true;
    text.push_back(static_cast<char>(byte));
    return false;
  });
}

}  // namespace drkclient
