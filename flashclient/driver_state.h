#pragma once
// The desktop driver's whole state: one module-level DriverState, shared by
// the host's thread that calls the exports, the worker thread that writes
// the images and the reformat timer thread.
//
// Threads share it without a lock except where noted: progress and
// doneWeight are 32-bit atomics, since the worker and the timer both move
// them while the host polls; the status text sits behind a small lock so the
// host never copies half of one text and half of the next. Everything else,
// the port above all, belongs to the worker while it runs: the exports that
// would use or change it refuse while a flash runs (flash_worker.h), under
// exportMutex.

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "flashclient/fixed_text.h"
#include "flashclient/serial/serial_port.h"

namespace drkclient {

enum class IdentifyResult : int;  // boot_protocol.h

enum class ImageKind : int {
  Bootloader = 0,
  Microcontroller,
  FileStore,
  CustomRegion,
  OperatingSystem,
  RadioFirmware,
  AssetData,
};
inline constexpr size_t kImageKindCount = 7;

// The module-specific radio firmware images.
enum class RadioVariant : int { B = 0, D, E };
inline constexpr size_t kRadioVariantCount = 3;

// Values of progress.
enum ProgressCode : int32_t {
  kProgressNothingStarted = 0,
  kProgressInitializing = 1,
  kProgressMaxWhileWriting = 99,
  kProgressComplete = 100,
  kProgressTransportFailure = -1,
  kProgressImageFileError = -2,
  kProgressBootLoaderError = -3,
};

// Field capacities, in characters (a terminator comes on top).
inline constexpr size_t kPathCapacity = 127;
inline constexpr size_t kShortTextCapacity = 31;
inline constexpr size_t kModuleTextCapacity = 63;
inline constexpr size_t kOsVersionCapacity = 8;
inline constexpr size_t kStatusTextCapacity = 255;
inline constexpr size_t kLogFileNameCapacity = 63;

// Host buffer sizes the exports may rely on.
inline constexpr size_t kHostModelIdBuffer = 32;
inline constexpr size_t kHostOsVersionBuffer = 9;
inline constexpr size_t kHostOsLanguageBuffer = 32;
inline constexpr size_t kHostStatusBuffer = 256;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using LogFilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct ImageEntry {
  FixedText<kPathCapacity> path;
  uint32_t dwHeaderLen = 0;
  int32_t selected = 0;
};

// The status text, copied under a lock in both directions.
class StatusText {
 public:
  void Set(std::string_view text);
  std::string Get() const;
  void CopyTo(char* out, size_t capacity) const;

 private:
  mutable std::mutex mutex_;
  FixedText<kStatusTextCapacity> text_;
};

struct DriverState {
  std::unique_ptr<SerialPort> port;  // null when closed
  int32_t osFamily = -1;

  std::atomic<int32_t> loggingEnabled{0};
  LogFilePtr logFile;  // closed by LogClose
  FixedText<kLogFileNameCapacity> logFileName;

  std::atomic<int32_t> progress{kProgressNothingStarted};
  StatusText statusText;

  bool identified = false;
  // What the one identification exchange of this load came to; later
  // identifications answer with it.
  IdentifyResult identifyResult{};
  // The last Client_Initialize succeeded and the device gave a block size:
  // only then may a flash start.
  bool readyToFlash = false;
  FixedText<kShortTextCapacity> deviceIdLine;
  FixedText<kShortTextCapacity> hwIdLine;
  FixedText<kShortTextCapacity> cameraLine;
  FixedText<kShortTextCapacity> modelText;
  FixedText<kShortTextCapacity> bufferSizeLine;
  FixedText<kModuleTextCapacity> moduleText;
  FixedText<kOsVersionCapacity> osVersion;
  FixedText<kShortTextCapacity> osLanguage;
  uint32_t blockSize = 0;
  FixedText<kShortTextCapacity> imageModelText;

  std::array<ImageEntry, kImageKindCount> images;
  std::array<ImageEntry, kRadioVariantCount> radioVariantImages;

  int32_t repartitionRequested = 0;
  int32_t partition1Size = 0;
  int32_t partition2Size = 0;

  std::atomic<uint32_t> totalWeight{0};
  std::atomic<uint32_t> doneWeight{0};
  // The weights added by the selection exports, from which every run
  // computes its total anew.
  uint32_t selectionWeight = 0;
  // Flash runs started in this load.
  int runsStarted = 0;

  // The one-byte buffer through which single bytes are sent and received.
  // A read that times out leaves it as it was, and timeouts are logged with
  // what it holds.
  uint8_t oneByte = 0;

  // Set while the library unloads: waits end early so the driver's
  // threads can be joined.
  std::atomic<bool> stopRequested{false};
  // Serialises the exports that talk to the device or change what a flash
  // run will do, so that two host threads cannot both find no flash
  // running and go on. Recursive because Client_BL_Mode and
  // Client_Component run Client_Initialize.
  std::recursive_mutex exportMutex;

  ImageEntry& Image(ImageKind kind) { return images[static_cast<size_t>(kind)]; }
  ImageEntry& Variant(RadioVariant v) { return radioVariantImages[static_cast<size_t>(v)]; }

  // Adds to progress unless it is negative (a failure stays visible) or
  // would pass the in-progress ceiling.
  void AdvanceProgress(int32_t by);
};

DriverState& State();

// True while the library unloads.
inline bool StopRequested() { return State().stopRequested.load(); }

// Back to the state of a freshly loaded library: closes the port and the
// log file. Only for tests and only with no driver thread running.
void ResetDriverState();

// Per-kind constants.
struct ImageKindInfo {
  uint32_t selectionWeight;
  const char* statusText;
  const char* writeCommand;
  const char* keyCommand;
  uint32_t transferWeight;
  uint32_t devicePhaseWeight;
};
const ImageKindInfo& KindInfo(ImageKind kind);

}  // namespace drkclient
