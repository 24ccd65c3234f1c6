#pragma once
// The driver's serial port layer: opening and configuring the handheld's
// USB serial port, reads and writes with the driver's timing rules and
// logging, the search for the boot loader's sync pattern and the link
// handshake. Works on DriverState's port through the current PortOpener.
//
// The port is found through DRK_SERIAL_PORT, by default the USB serial
// device of the desktop synchronisation driver on Windows
// (\\.\wceusbsh001) and /dev/ttyUSB0 elsewhere. The NT family (1 and 2,
// see os_family.h; the POSIX build counts as 2) polls the receive queue for
// a read, and every write first discards unread input, so a reply must be
// read before the next write. Family 0 (the other desktop systems) reads
// under the port timeouts and sends the handshake text twice instead of
// reading its reply byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "flashclient/os_family.h"

namespace drkclient {

#ifdef _WIN32
inline constexpr char kDefaultSerialDevice[] = "\\\\.\\wceusbsh001";
#else
inline constexpr char kDefaultSerialDevice[] = "/dev/ttyUSB0";
#endif
inline constexpr uint32_t kPortQueueSize = 3072;
inline constexpr uint32_t kReadTimeoutConstantMs = 2000;
inline constexpr int kOpenAttempts = 31;
inline constexpr uint32_t kOpenRetryWaitMs = 1000;
inline constexpr int kInputPolls = 100;
inline constexpr uint32_t kInputPollWaitMs = 20;
inline constexpr uint32_t kInputPollExtraWaitMs = 10;
inline constexpr int kLocateAttempts = 200;
inline constexpr size_t kLocateWindow = 17;
inline constexpr uint32_t kLocateRetryWaitMs = 100;
inline constexpr uint32_t kHandshakeWaitMs = 100;
inline constexpr uint8_t kHandshakeReply = 0xAA;
inline constexpr char kHandshakeText[] = "A000FF\n";
inline constexpr char kSyncPattern[] = "\xAA\x55\x55\xAA";
inline constexpr uint8_t kPortConfiguredByte = 'D';
inline constexpr uint8_t kGoByte = '@';
// The handle value logged for a port that could not be opened.
inline constexpr uint32_t kInvalidHandleValue = 0xFFFFFFFFu;

// What a read or a write of the port came to.
enum class PortIo {
  Done,        // all n bytes were read or written
  Incomplete,  // a read timed out or met a line error; a write was short
  Failed,      // the port failed, or none is open
};

enum class PortSetup { Opened, DeviceAbsent };
enum class Connection { Connected, Failed };

// The device path from the environment.
std::string SerialDevicePath();

// Opens and configures the port; the configuration's own failures are
// logged and do not fail the setup.
PortSetup CommPortSetup();
// Reads exactly n bytes into buffer; the buffer is left as it was unless
// the read is Done.
PortIo PortInput(uint8_t* buffer, size_t n);
PortIo PortOutput(const uint8_t* bytes, size_t n);
// Ends the log file and closes the port; false when none was open or the
// close failed.
bool ClosePort();
bool LocateTarget();
// Opens the port, finds the sync pattern and shakes hands; on failure the
// port is closed.
Connection ConnectTarget();

}  // namespace drkclient
