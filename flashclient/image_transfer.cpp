#include "flashclient/image_transfer.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_writer.h"
#include "flashclient/driver_log.h"
#include "flashclient/image_file.h"
#include "flashclient/port_layer.h"
#include "flashclient/protocol_framing.h"

namespace drkclient {

namespace {

constexpr uint8_t kGo = '@';
constexpr uint8_t kNoMoreIncrements = '$';

uint32_t TransferProgress(uint32_t weight, uint32_t percent, uint32_t base) {
  DriverState& s = State();
  uint32_t total = s.totalWeight.load();
  if (total == 0) return kMaxPercent;
  uint32_t value = ((weight * percent) / 100 + s.doneWeight.load() + base) * 100 / total;
  return value >= 100 ? kMaxPercent : value;
}

// Adds an increment to a percentage unless the sum would reach 100.
void AddIncrement(uint32_t& percent, uint32_t increment) {
  if (percent + increment < 100) percent += increment;
}

// The markers that follow a block or open a device phase, until '$': false
// when they ended in a timeout. A device that keeps sending markers past
// limitMs is treated as one that stopped sending them.
template <typename Recompute>
bool CollectIncrements(uint32_t& percent, uint32_t limitMs, Recompute recompute) {
  DriverState& s = State();
  const Deadline deadline(limitMs);
  for (int markers = 0;; ++markers) {
    if (deadline.Passed() || StopRequested()) {
      LogLine("Get_PerCent timeout", static_cast<uint32_t>(markers));
      s.progress = kProgressTransportFailure;
      return false;
    }
    uint32_t increment = Get_PerCent();
    if (increment == 0) break;
    AddIncrement(percent, increment);
    s.progress = static_cast<int32_t>(recompute(percent));
  }
  return s.progress.load() != kProgressTransportFailure;
}

PortIo SendText(std::string_view text) {
  return PortOutput(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

platform::ByteWriter LittleEndian(uint32_t v) {
  platform::ByteWriter bytes;
  bytes.U32(v);
  return bytes;
}

}  // namespace

uint32_t BlockChecksum(const uint8_t* bytes, size_t n) {
  uint32_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += bytes[i];
  return 0u - sum;
}

uint32_t Get_PerCent() {
  DriverState& s = State();
  int examined = 0;
  auto timeout = [&] {
    LogLine("Get_PerCent timeout", static_cast<uint32_t>(examined));
    s.progress = kProgressTransportFailure;
    return 0u;
  };
  // A first read that finds nothing is a timeout too: the byte still in the
  // buffer is the previous answer, and were it a marker it would be counted
  // again on every call while the device stays silent.
  if (ReadByte() != PortIo::Done) return timeout();
  for (;;) {
    if (examined == kPercentMarkerLookahead) return timeout();
    // A read that timed out left the previous byte in place; it is
    // examined, and counted, again.
    uint8_t byte = s.oneByte;
    ++examined;
    uint32_t increment = 0;
    bool marker = true;
    switch (byte) {
      case '#': increment = 10; break;
      case '%': increment = 1; break;
      case '+': increment = 50; break;
      case kNoMoreIncrements: increment = 0; break;
      default: marker = false; break;
    }
    if (marker) {
      if (examined > 1) LogLine("Get_PerCent response retries =", static_cast<uint32_t>(examined));
      return increment;
    }
    // A read that times out leaves the previous byte in place; only a
    // failed one ends the look.
    if (ReadByte() == PortIo::Failed) return timeout();
  }
}

BlockResult Block_Transfer(const uint8_t* block, size_t n) {
  DriverState& s = State();
  if (SendByte(kBlockByte) != PortIo::Done) return BlockResult::WriteFailed;
  int replies = 0;
  for (;;) {
    const auto checksum = LittleEndian(BlockChecksum(block, n));
    size_t sent = 0;
    for (; n - sent >= kBlockPiece; sent += kBlockPiece)
      if (PortOutput(block + sent, kBlockPiece) != PortIo::Done) return BlockResult::WriteFailed;
    if (sent < n && PortOutput(block + sent, n - sent) != PortIo::Done) return BlockResult::WriteFailed;
    if (PortOutput(checksum.Data().data(), checksum.Size()) != PortIo::Done) return BlockResult::WriteFailed;

    int reads = 0;
    for (;;) {
      if (ReadByte() != PortIo::Done) {
        LogLine("Block_Transfer PortInput timeout", 0u);
        s.progress = kProgressTransportFailure;
        return BlockResult::NoReply;
      }
      ++reads;
      if (reads > 1) LogLine("Block_Transfer PortInput retries =", static_cast<uint32_t>(reads));
      if (reads > kMaxBlockReplyReads) return BlockResult::TooManyRetries;
      if (s.oneByte == kAck || s.oneByte == kChecksumError) break;
    }
    // Replies are counted over every sending of this block, so it goes out
    // at most sixteen times and the answer to the sixteenth is not taken.
    ++replies;
    if (replies > 1) LogLine("Block_Transfer Checksum error retries =", static_cast<uint32_t>(replies));
    if (replies > kMaxBlockReplies) return BlockResult::TooManyRetries;
    if (s.oneByte == kAck) return BlockResult::Accepted;
    if (SendByte(kBlockByte) != PortIo::Done) return BlockResult::WriteFailed;
  }
}

namespace {

// Step 15: the device may run a phase of its own ('~', then markers), and
// ends the image with '/'. Silence (a read that times out) counts as
// finished, and so does a device that keeps sending other bytes past the
// answer limits. False when the phase's markers failed.
bool AwaitCompletion(const ImageKindInfo& info) {
  DriverState& s = State();
  int count = 0;
  for (;;) {
    int reads = 0;
    const WaitEnd end = AwaitMarker("~/", kAnswerWait, &reads);
    count += reads;
    if (end != WaitEnd::Marker || s.oneByte == kImageDone) break;
    if (s.progress.load() == kProgressTransportFailure) return false;
    uint32_t phase = 0;
    if (!CollectIncrements(phase, kDeviceWorkLimitMs, [&](uint32_t p) {
          return TransferProgress(info.devicePhaseWeight, p, info.transferWeight);
        }))
      return false;
    s.doneWeight += info.devicePhaseWeight;
  }
  if (count > 1) LogLine("FlashProg response retries =", static_cast<uint32_t>(count));
  return true;
}

}  // namespace

ImageResult Flash_Prog(ImageKind kind) {
  DriverState& s = State();
  const ImageKindInfo& info = KindInfo(kind);
  ImageEntry& image = s.Image(kind);
  s.oneByte = 0;
  LogLine("Start Flash Image...", 0u);
  auto transportFailure = [&s] {
    s.progress = kProgressTransportFailure;
    return ImageResult::Failed;
  };
  auto bootLoaderError = [&s] {
    s.progress = kProgressBootLoaderError;
    return ImageResult::Failed;
  };
  if (s.blockSize == 0) {
    SendByte(kAbortByte);
    // Without a block size nothing can be written; a failure the host can
    // see rather than a value that never moves again.
    return transportFailure();
  }
  std::vector<uint8_t> buffer(s.blockSize);
  if (kind == ImageKind::RadioFirmware) LogLine("Flash_Prog: querying GSM module...", 0u);
  std::optional<ImageFile> opened = OpenImageFile(image.path.CStr());
  // A header longer than the file, a file beyond 32-bit sizes, or data
  // shorter than the length the device will be told (asset data always
  // announces 32768 bytes) cannot be written whole; such a file is refused
  // as an unusable image before the device is told anything.
  const uint64_t fileSize = opened ? opened->size : 0;
  const uint64_t available = fileSize >= image.dwHeaderLen ? fileSize - image.dwHeaderLen : 0;
  const uint64_t announced = kind == ImageKind::AssetData ? kAssetDataLength : available;
  if (!opened || fileSize > 0xFFFFFFFFu || image.dwHeaderLen > fileSize || available < announced) {
    SendByte(kAbortByte);
    LogLine("cannot open file", 0u);
    s.progress = kProgressImageFileError;
    return ImageResult::Failed;
  }
  LogLine("dwHeaderLen is", image.dwHeaderLen);
  LogLine("filesize is", static_cast<uint32_t>(fileSize));
  std::FILE* file = opened->file.get();

  if (SendText(info.writeCommand) != PortIo::Done) return transportFailure();
  LogLine("Flash_Prog step 1", static_cast<uint32_t>(s.oneByte));
  if (SendByte(0) != PortIo::Done) return transportFailure();
  LogLine("Flash_Prog step 2", static_cast<uint32_t>(s.oneByte));
  WaitForAnswer();
  if (AwaitMarker("&x") != WaitEnd::Marker) {
    LogLine("USB Timeout on cmd", static_cast<uint32_t>(s.oneByte));
    return transportFailure();
  }
  LogLine("Flash_Prog step 3", static_cast<uint32_t>(s.oneByte));
  if (s.oneByte == kError) {
    if (ReadByte() != PortIo::Done) {
      LogLine("error returned from command", static_cast<uint32_t>(s.oneByte));
      return transportFailure();
    }
    LogLine("Error", static_cast<uint32_t>(s.oneByte));
    return bootLoaderError();
  }

  LogLine("Flash_Prog step 4", static_cast<uint32_t>(s.oneByte));
  if (SendText(info.keyCommand) != PortIo::Done) return transportFailure();
  LogLine("Flash_Prog step 5", 0u);
  if (SendByte(0) != PortIo::Done) return transportFailure();
  WaitForAnswer();
  if (AwaitMarker("&x") != WaitEnd::Marker) {
    LogLine("USB Timeout on key", static_cast<uint32_t>(s.oneByte));
    return transportFailure();
  }
  LogLine("Flash_Prog step 6", static_cast<uint32_t>(s.oneByte));
  if (s.oneByte == kError) {
    if (ReadByte() != PortIo::Done) {
      LogLine("error returned from key command", static_cast<uint32_t>(s.oneByte));
      return transportFailure();
    }
    LogLine("Error", static_cast<uint32_t>(s.oneByte));
    return bootLoaderError();
  }

  LogLine("Flash_Prog step 7", static_cast<uint32_t>(s.oneByte));
  const uint32_t dataLength = static_cast<uint32_t>(announced);
  LogLine("filesize is", dataLength);
  // Eight bytes the boot loader ignores, then the length.
  platform::ByteWriter header;
  header.Zeros(8);
  header.U32(dataLength);
  if (SendByte(kRecordByte) != PortIo::Done) return transportFailure();
  LogLine("Flash_Prog step 8", static_cast<uint32_t>(s.oneByte));
  if (PortOutput(header.Data().data(), header.Size()) != PortIo::Done) return transportFailure();
  LogLine("Flash_Prog step 9", static_cast<uint32_t>(s.oneByte));
  int reads = 0;
  if (AwaitMarker("&x", kAnswerWait, &reads) != WaitEnd::Marker) {
    LogLine("Send file header failed", 0u);
    return transportFailure();
  }
  if (reads > 1) LogLine("FlashProg response retries =", static_cast<uint32_t>(reads));
  LogLine("Flash_Prog step 10", static_cast<uint32_t>(s.oneByte));
  if (s.oneByte == kError) {
    ReadByte();
    LogLine("BL returned error message", 0u);
    return bootLoaderError();
  }
  if (SendByte(kGo) != PortIo::Done) return transportFailure();
  LogLine("Flash_Prog step 11", static_cast<uint32_t>(s.oneByte));

  std::fseek(file, static_cast<long>(image.dwHeaderLen), SEEK_SET);
  LogLine("BufSize", s.blockSize);
  LogLine("dwFileSize", dataLength);

  const uint32_t transferWeight = info.transferWeight;
  uint32_t percent = 0;
  for (uint32_t left = dataLength; left > 0;) {
    if (StopRequested()) return transportFailure();
    const uint32_t n = left < s.blockSize ? left : s.blockSize;
    size_t got = std::fread(buffer.data(), 1, n, file);
    if (got != n) {
      s.progress = std::ferror(file) ? kProgressTransportFailure : kProgressImageFileError;
      return ImageResult::Failed;
    }
    if (Block_Transfer(buffer.data(), n) != BlockResult::Accepted) return transportFailure();
    if (s.progress.load() == kProgressTransportFailure) return ImageResult::Failed;
    if (!CollectIncrements(percent, kAnswerLimitMs,
                           [&](uint32_t p) { return TransferProgress(transferWeight, p, 0); }))
      return ImageResult::Failed;
    left -= n;
  }

  if (!AwaitCompletion(info)) return ImageResult::Failed;
  s.doneWeight += transferWeight;
  LogLine("Image Flash Complete!", 0u);
  return ImageResult::Written;
}

}  // namespace drkclient
