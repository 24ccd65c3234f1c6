#pragma once
// The framing shared by every boot loader exchange. Host to device, a
// command is its text in one write followed by a separate write of one zero
// byte; single bytes go through DriverState's one-byte buffer. Device to
// host, answers are marker bytes, NUL-terminated texts and, for the block
// size, four raw bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
// Device texts longer than this are not texts: the read gives up as if it
// had timed out, rather than reading a stream without end.
inline constexpr size_t kMaxDeviceTextBytes = 4096;

// Sends one byte through the one-byte buffer; PortOutput's result.
int SendByte(uint8_t byte);
// Reads one byte into the one-byte buffer; PortInput's result.
int ReadByte();
// The command text, then its zero byte: the first nonzero write result, or 0.
int SendCommand(std::string_view command);
void WaitForAnswer();
// Reads single bytes until one of markers arrives (it is then in the
// one-byte buffer), skipping any other: 0, or the failing read's result.
// reads, when given, counts the bytes read.
int AwaitMarker(std::string_view markers, int* reads = nullptr);
// Reads a NUL-terminated text (the terminator is not kept): 0, or nonzero
// when a read failed or timed out.
int ReadText(std::string& text);

}  // namespace drkclient
