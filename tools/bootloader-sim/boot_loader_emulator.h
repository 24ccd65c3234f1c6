#pragma once
// A handheld's boot loader as the flash driver meets it on the serial link,
// as a byte-stream state machine without I/O or clock of its own: bytes
// from the host go in through Receive, bytes for the host come out in the
// string handed in, and Tick lets time-driven output out (the sync pattern
// before the handshake, a slow repartition's answer). bootloader-sim runs it
// on a pseudo-terminal; the driver's tests run it behind the in-memory port.
//
// Before the handshake it sends the sync pattern AA 55 55 AA at intervals
// until the host sends "A000FF\n", answers 0xAA and waits for '@'. Then it
// answers commands (a text starting with '?', ended by a zero byte):
//   "?gid" "?qos" "?qup" "?qgs"  '&' '*' text NUL
//   "?ghw"                       '*' text NUL, three times
//   "?qbz"                       '&' '*' block size (4 bytes, little-endian)
//   "?xcb" "?xrs"                '&';  "?c" '&' and the device is released
//   "?w"                         restart: back to sending the sync pattern
//   "?dft"                       '&';  "?f" then '?' and a 10-byte partition
//                                record, answered '&' when reformatted
//   write command, key command   '&' each; then '?' and the 12-byte length
//                                header, answered '&'; '@' starts the data
//   data block                   '!' bytes checksum -> '&' and percent
//                                markers closed by '$', or '^' on a bad sum
// After an image's last block: for the microcontroller a phase of its own
// ('~', markers, '$'), then '/'. An unknown command is answered 'x' and 1.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace bootsim {

struct EmulatorIdentity {
  std::string modelNumber = "4170";
  // Eight characters of version, a separator, the language.
  std::string osText = "4.21.123 English";
  std::string hardwareText = "HW-B2";
  std::string cameraText = "Yes";
  std::string modelText = "Yvra t4170";
  std::string qupText = "UP 2.15.00";
  std::string qgsText = "M8346B 4.1.13";
  uint32_t blockSize = 16384;
};

struct EmulatorFaults {
  // Block number K (1-based, counted within each image) is answered '^'
  // rejectCount times before it is accepted.
  int rejectBlock = 0;
  int rejectCount = 1;
  // Bytes of noise sent before every answer.
  int noiseBytes = 0;
  // This command is answered with the error marker and errorCode.
  std::string errorCommand;
  uint8_t errorCode = 1;
  // This command is not answered and has no effect.
  std::string silentCommand;
  // After this many accepted blocks (over the whole session) the device
  // answers nothing more; 0 = never.
  int silentAfterBlocks = 0;
  // How long the reformat after the partition record takes.
  uint32_t repartitionMs = 0;
};

// Receives the data of each written image.
class ImageSink {
 public:
  virtual ~ImageSink() = default;
  virtual void Begin(std::string_view writeCommand, uint32_t length) = 0;
  virtual void Data(const uint8_t* bytes, size_t n) = 0;
  virtual void End(bool complete) = 0;
};

class BootLoaderEmulator {
 public:
  static constexpr uint64_t kSyncIntervalMs = 100;
  static constexpr size_t kMaxCommandLength = 64;
  static constexpr uint32_t kMaxBlockSize = 16u * 1024 * 1024;

  BootLoaderEmulator(EmulatorIdentity identity, EmulatorFaults faults, ImageSink* sink = nullptr);

  void Receive(const uint8_t* bytes, size_t n, uint64_t nowMs, std::string& out);
  void Receive(std::string_view bytes, uint64_t nowMs, std::string& out) {
    Receive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nowMs, out);
  }
  void Tick(uint64_t nowMs, std::string& out);

  // Test knobs: a command's whole answer replaced (the command then has no
  // other effect; the key "?" stands for the length header and the partition record), the markers sent after block K (1-based, the closing
  // '$' included), and the bytes that end an image.
  std::map<std::string, std::string> replyOverrides;
  std::function<std::string(int block)> markersAfterBlock;
  std::function<std::string(std::string_view writeCommand)> completion;

  bool Synced() const { return state_ != State::Sync; }
  bool Released() const { return released_; }
  int BlocksAccepted() const { return blocksAccepted_; }
  int ChecksumErrors() const { return checksumErrors_; }
  int ImagesCompleted() const { return imagesCompleted_; }
  int Restarts() const { return restarts_; }
  const std::vector<std::string>& Commands() const { return commands_; }
  const std::vector<uint8_t>& LastPartitionRecord() const { return partitionRecord_; }

 private:
  enum class State { Sync, AwaitGo, Idle, Command, Record, AwaitData, BlockStart, BlockData, Silent };
  enum class RecordKind { Header, Partition };

  void Reply(std::string_view bytes, std::string& out);
  void OnCommand(const std::string& command, uint64_t nowMs, std::string& out);
  void OnRecord(uint64_t nowMs, std::string& out);
  void OnBlock(std::string& out);
  void FinishImage(std::string& out);
  std::string PercentMarkers();

  EmulatorIdentity identity_;
  EmulatorFaults faults_;
  ImageSink* sink_;

  State state_ = State::Sync;
  bool syncedOnce_ = false;
  uint64_t nextSyncMs_ = 0;
  std::string handshakeWindow_;
  std::string command_;
  RecordKind recordKind_ = RecordKind::Header;
  std::vector<uint8_t> record_;
  bool recordMarkerSeen_ = false;
  std::string pendingWrite_;  // write command awaiting its key command
  std::string activeWrite_;   // write command whose data is coming
  uint32_t imageLength_ = 0;
  uint32_t imageReceived_ = 0;
  uint32_t percentReported_ = 0;
  int blockInImage_ = 0;
  int rejectsSent_ = 0;
  std::vector<uint8_t> block_;
  size_t blockWanted_ = 0;
  bool repartitionPending_ = false;
  uint64_t repartitionDueMs_ = 0;
  bool released_ = false;
  int blocksAccepted_ = 0;
  int checksumErrors_ = 0;
  int imagesCompleted_ = 0;
  int restarts_ = 0;
  std::vector<std::string> commands_;
  std::vector<uint8_t> partitionRecord_;
};

}  // namespace bootsim
