#pragma once
// The framing shared by every boot loader exchange. Host to device, a
// command is its text in one write followed by a separate write of one zero
// byte; single bytes go through DriverState's one-byte buffer. Device to
// host, answers are marker bytes, NUL-terminated texts and, for the block
// size, four raw bytes.
//
// Every wait for the device is bounded twice: by the bytes it examines and
// by the time it takes on the driver's clock. A device that chatters without
// ever sending the awaited marker, or that stays silent through a wait that
// repeats its timed-out reads, cannot hold the worker (and with it the
// host's polling) for ever; a wait that hits a bound ends as a timeout of
// its step, with the log line and progress value that step uses for one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "flashclient/port_layer.h"

namespace drkclient {

// Device markers.
inline constexpr uint8_t kAck = '&';
inline constexpr uint8_t kError = 'x';
inline constexpr uint8_t kData = '*';
inline constexpr uint8_t kChecksumError = '^';
inline constexpr uint8_t kDevicePhase = '~';
inline constexpr uint8_t kImageDone = '/';
// Host bytes with a meaning of their own.
inline constexpr uint8_t kAbortByte = 'x';
inline constexpr uint8_t kRecordByte = '?';
inline constexpr uint8_t kBlockByte = '!';

// The wait after every command before its answer is read.
inline constexpr uint32_t kCommandWaitMs = 500;

// Bytes that may come before an awaited marker (or make up a device text).
// Answers are a few bytes; a device that sends this many others is not
// answering.
inline constexpr size_t kMaxAnswerBytes = 4096;
// How long one answer may take while bytes keep coming. A silent device
// already ends a wait after one read's timeout (about 3 s); this bounds a
// device that trickles noise.
inline constexpr uint32_t kAnswerLimitMs = 60 * 1000;
// Work the device does on its own while the host waits: reformatting its
// flash after a partition record, or programming the microcontroller in its
// own phase. Both may honestly take minutes.
inline constexpr uint32_t kDeviceWorkLimitMs = 30 * 60 * 1000;

// How far one wait may go.
struct WaitLimits {
  size_t maxBytes;
  uint32_t maxMs;
  // A read that times out is tried again until a limit ends the wait,
  // rather than ending the wait itself: the device may be busy and silent.
  bool retryTimedOutReads;
};

// A command's answer: noise before the marker is skipped, within bounds.
inline constexpr WaitLimits kAnswerWait{kMaxAnswerBytes, kAnswerLimitMs, false};
// The answer to a partition record, after the device reformatted its flash.
inline constexpr WaitLimits kReformatWait{kMaxAnswerBytes, kDeviceWorkLimitMs, true};

// How a wait ended.
enum class WaitEnd {
  Marker,      // an awaited byte arrived; it is in the one-byte buffer
  Timeout,     // a read timed out, or the line reported an error
  ReadFailed,  // the port failed, or none is open
  ByteLimit,   // maxBytes arrived without an awaited byte
  TimeLimit,   // maxMs passed without an awaited byte
  Stopped,     // the library is being unloaded
};

// Sends one byte through the one-byte buffer.
PortIo SendByte(uint8_t byte);
// Reads one byte into the one-byte buffer; a read that does not complete
// leaves the buffer as it was.
PortIo ReadByte();
// The command text, then its zero byte: the first result that is not Done.
PortIo SendCommand(std::string_view command);
void WaitForAnswer();

// Reads single bytes until one of markers arrives, skipping any other.
// reads, when given, counts the bytes read.
WaitEnd AwaitMarker(std::string_view markers, const WaitLimits& limits = kAnswerWait, int* reads = nullptr);
// Reads a NUL-terminated text (the terminator is not kept) within the
// answer limits; Marker when the terminator arrived.
WaitEnd ReadText(std::string& text);

// A single deadline on the driver's clock, for waits made of several reads.
class Deadline {
 public:
  explicit Deadline(uint32_t limitMs);
  bool Passed() const;

 private:
  uint64_t endMs_;
};

}  // namespace drkclient
