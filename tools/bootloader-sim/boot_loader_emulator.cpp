#include "tools/bootloader-sim/boot_loader_emulator.h"

#include <algorithm>
#include <span>
#include <utility>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace bootsim {

namespace {

constexpr std::string_view kSyncPattern = "\xAA\x55\x55\xAA";
constexpr std::string_view kHandshake = "A000FF\n";
constexpr char kHandshakeReply = '\xAA';
constexpr char kNoise = '.';
constexpr size_t kHeaderLength = 12;
constexpr size_t kPartitionRecordLength = 10;
constexpr uint8_t kUnknownCommandCode = 1;
constexpr uint8_t kOutOfOrderCode = 2;

// Each write command and the key command that must follow it.
const std::map<std::string, std::string, std::less<>>& WriteCommands() {
  static const std::map<std::string, std::string, std::less<>> kCommands = {
      {"?wbl", "?nb0"}, {"?wos", "?nb0"}, {"?wad", "?asset.nb0"}, {"?wcs", "?nb0"},
      {"?wfs", "?nb0"}, {"?wup", "?hex"}, {"?wgs", "?dwl"},
  };
  return kCommands;
}

bool IsKeyCommand(std::string_view c) { return c == "?nb0" || c == "?asset.nb0" || c == "?hex" || c == "?dwl"; }

std::string Text(std::string_view text) {
  std::string s(text);
  s.push_back('\0');
  return s;
}

std::string LittleEndian(uint32_t v) {
  platform::ByteWriter bytes;
  bytes.U32(v);
  return std::string(bytes.View());
}

// The 32-bit number at offset `at` of bytes, which the caller has filled.
uint32_t LittleEndianAt(std::span<const uint8_t> bytes, size_t at) {
  platform::ByteReader in(bytes);
  uint32_t value = 0;
  in.Skip(at);
  in.U32(value);
  return value;
}

}  // namespace

BootLoaderEmulator::BootLoaderEmulator(EmulatorIdentity identity, EmulatorFaults faults, ImageSink* sink)
    : identity_(std::move(identity)), faults_(std::move(faults)), sink_(sink) {
  identity_.blockSize = std::min(identity_.blockSize, kMaxBlockSize);
}

void BootLoaderEmulator::Reply(std::string_view bytes, std::string& out) {
  out.append(static_cast<size_t>(std::max(faults_.noiseBytes, 0)), kNoise);
  out.append(bytes);
}

void BootLoaderEmulator::Receive(const uint8_t* bytes, size_t n, uint64_t nowMs, std::string& out) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = bytes[i];
    switch (state_) {
      case State::Sync:
        handshakeWindow_.push_back(static_cast<char>(b));
        if (handshakeWindow_.size() > kHandshake.size()) handshakeWindow_.erase(0, 1);
        if (handshakeWindow_ == kHandshake) {
          out.push_back(kHandshakeReply);
          handshakeWindow_.clear();
          state_ = State::AwaitGo;
        }
        break;
      case State::AwaitGo:
        if (b == '@') state_ = State::Idle;
        break;
      case State::Idle:
        if (b == '?') {
          command_ = "?";
          state_ = State::Command;
        } else if (b == 'x') {
          pendingWrite_.clear();  // the host abandoned what it announced
        }
        break;
      case State::Command:
        if (b == 0) {
          state_ = State::Idle;
          OnCommand(command_, nowMs, out);
        } else if (command_.size() >= kMaxCommandLength) {
          state_ = State::Idle;
        } else {
          command_.push_back(static_cast<char>(b));
        }
        break;
      case State::Record:
        if (record_.empty() && !recordMarkerSeen_) {
          if (b == '?') recordMarkerSeen_ = true;
          break;
        }
        record_.push_back(b);
        if (record_.size() == (recordKind_ == RecordKind::Header ? kHeaderLength : kPartitionRecordLength))
          OnRecord(nowMs, out);
        break;
      case State::AwaitData:
        if (b == '@') {
          if (imageLength_ == 0)
            FinishImage(out);
          else
            state_ = State::BlockStart;
        } else if (b == 'x') {
          if (sink_ != nullptr) sink_->End(false);
          state_ = State::Idle;
        }
        break;
      case State::BlockStart:
        if (b == '!') {
          block_.clear();
          blockWanted_ = std::min<size_t>(identity_.blockSize, imageLength_ - imageReceived_) + 4;
          state_ = State::BlockData;
        }
        break;
      case State::BlockData:
        block_.push_back(b);
        if (block_.size() == blockWanted_) OnBlock(out);
        break;
      case State::Silent:
        break;
    }
  }
}

void BootLoaderEmulator::Tick(uint64_t nowMs, std::string& out) {
  if (state_ == State::Sync && nowMs >= nextSyncMs_) {
    out.append(kSyncPattern);
    nextSyncMs_ = nowMs + kSyncIntervalMs;
  }
  if (repartitionPending_ && state_ != State::Silent && nowMs >= repartitionDueMs_) {
    repartitionPending_ = false;
    Reply("&", out);
  }
}

void BootLoaderEmulator::OnCommand(const std::string& command, uint64_t nowMs, std::string& out) {
  commands_.push_back(command);
  auto write = WriteCommands().find(command);
  if (!faults_.silentCommand.empty() && command == faults_.silentCommand) return;
  if (!faults_.errorCommand.empty() && command == faults_.errorCommand) {
    Reply(std::string("x") + static_cast<char>(faults_.errorCode), out);
    pendingWrite_.clear();
    return;
  }
  if (auto o = replyOverrides.find(command); o != replyOverrides.end()) {
    Reply(o->second, out);
    return;
  }
  const EmulatorIdentity& id = identity_;
  if (command == "?gid") {
    Reply("&*" + Text(id.modelNumber), out);
  } else if (command == "?qos") {
    Reply("&*" + Text(id.osText), out);
  } else if (command == "?ghw") {
    Reply("*" + Text(id.hardwareText) + "*" + Text(id.cameraText) + "*" + Text(id.modelText), out);
  } else if (command == "?qup") {
    Reply("&*" + Text(id.qupText), out);
  } else if (command == "?qgs") {
    Reply("&*" + Text(id.qgsText), out);
  } else if (command == "?qbz") {
    Reply("&*" + LittleEndian(id.blockSize), out);
  } else if (command == "?xcb" || command == "?xrs" || command == "?dft") {
    Reply("&", out);
  } else if (command == "?c") {
    Reply("&", out);
    released_ = true;
  } else if (command == "?w") {
    ++restarts_;
    state_ = State::Sync;
    handshakeWindow_.clear();
    nextSyncMs_ = nowMs;
  } else if (command == "?f") {
    state_ = State::Record;
    recordKind_ = RecordKind::Partition;
    record_.clear();
    recordMarkerSeen_ = false;
  } else if (write != WriteCommands().end()) {
    pendingWrite_ = command;
    Reply("&", out);
  } else if (IsKeyCommand(command)) {
    auto expected = WriteCommands().find(pendingWrite_);
    if (expected == WriteCommands().end() || expected->second != command) {
      Reply(std::string("x") + static_cast<char>(kOutOfOrderCode), out);
      return;
    }
    Reply("&", out);
    state_ = State::Record;
    recordKind_ = RecordKind::Header;
    record_.clear();
    recordMarkerSeen_ = false;
  } else {
    Reply(std::string("x") + static_cast<char>(kUnknownCommandCode), out);
  }
}

void BootLoaderEmulator::OnRecord(uint64_t nowMs, std::string& out) {
  state_ = State::Idle;
  if (auto o = replyOverrides.find("?"); o != replyOverrides.end()) {
    pendingWrite_.clear();
    Reply(o->second, out);
    return;
  }
  if (recordKind_ == RecordKind::Partition) {
    partitionRecord_ = record_;
    repartitionPending_ = true;
    repartitionDueMs_ = nowMs + faults_.repartitionMs;
    Tick(nowMs, out);
    return;
  }
  activeWrite_ = pendingWrite_;
  pendingWrite_.clear();
  imageLength_ = LittleEndianAt(record_, 8);
  imageReceived_ = 0;
  percentReported_ = 0;
  blockInImage_ = 0;
  rejectsSent_ = 0;
  if (sink_ != nullptr) sink_->Begin(activeWrite_, imageLength_);
  Reply("&", out);
  state_ = State::AwaitData;
}

std::string BootLoaderEmulator::PercentMarkers() {
  // The host never shows 100 before the image is done, so neither do we.
  constexpr uint32_t kMaxReported = 99;
  uint32_t percent = imageLength_ == 0 ? kMaxReported
                                       : static_cast<uint32_t>(uint64_t{imageReceived_} * kMaxReported / imageLength_);
  uint32_t delta = percent > percentReported_ ? percent - percentReported_ : 0;
  percentReported_ = percent;
  std::string markers;
  for (; delta >= 50; delta -= 50) markers.push_back('+');
  for (; delta >= 10; delta -= 10) markers.push_back('#');
  for (; delta >= 1; delta -= 1) markers.push_back('%');
  return markers;
}

void BootLoaderEmulator::OnBlock(std::string& out) {
  const size_t n = block_.size() - 4;
  uint32_t sum = LittleEndianAt(block_, n);
  for (size_t i = 0; i < n; ++i) sum += block_[i];
  const int index = blockInImage_ + 1;
  if (faults_.silentAfterBlocks > 0 && blocksAccepted_ >= faults_.silentAfterBlocks) {
    state_ = State::Silent;
    return;
  }
  if ((faults_.rejectBlock == index && rejectsSent_ < faults_.rejectCount) || sum != 0) {
    if (faults_.rejectBlock == index && sum == 0) ++rejectsSent_;
    ++checksumErrors_;
    Reply("^", out);
    state_ = State::BlockStart;
    return;
  }
  if (sink_ != nullptr) sink_->Data(block_.data(), n);
  imageReceived_ += static_cast<uint32_t>(n);
  blockInImage_ = index;
  ++blocksAccepted_;
  std::string markers = markersAfterBlock ? markersAfterBlock(index) : PercentMarkers() + "$";
  Reply("&" + markers, out);
  if (imageReceived_ >= imageLength_)
    FinishImage(out);
  else
    state_ = State::BlockStart;
}

void BootLoaderEmulator::FinishImage(std::string& out) {
  std::string end;
  if (completion)
    end = completion(activeWrite_);
  else if (activeWrite_ == "?wup")
    end = "~#########%%%%%%%%%$/";  // the microcontroller programs itself
  else
    end = "/";
  if (!end.empty()) Reply(end, out);
  if (sink_ != nullptr) sink_->End(true);
  ++imagesCompleted_;
  state_ = State::Idle;
}

}  // namespace bootsim
