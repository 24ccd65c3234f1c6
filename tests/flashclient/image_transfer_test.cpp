// Writing one image: block cutting, checksums and resends, percent markers
// and the progress formula, the device's own phase and completion, and the
// failures of each step.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flashclient/image_transfer.h"
#include "flashclient/port_layer.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using namespace std::string_literals;
using drkclient::ImageResult;

// 1 written, 0 failed, as the tables below read.
int FlashProg(drkclient::ImageKind kind) { return drkclient::Flash_Prog(kind) == ImageResult::Written ? 1 : 0; }
using drkclient::ImageKind;

class ImageTransfer : public DriverTest {
 protected:
  ImageTransfer() { drkclient::Client_Logging(1); }
  // A fresh identified device with this block size and faults.
  void Connect(uint32_t blockSize, bootsim::EmulatorFaults faults = {}) {
    bootsim::EmulatorIdentity id;
    id.blockSize = blockSize;
    emulated.Reset(id, faults);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    ASSERT_EQ(drkclient::Client_Initialize(), 0);
  }
  // Selects an OS image of dataLength bytes after a header of headerLength.
  std::string SelectOs(size_t dataLength, int headerLength) {
    std::string data = Pattern(dataLength, 7);
    std::string path = WriteFile("os.nb0", std::string(static_cast<size_t>(headerLength), 'H') + data);
    EXPECT_EQ(drkclient::Client_FlashOS(path.c_str(), headerLength), 0);
    return data;
  }
};

TEST(BlockChecksum, MakesTheByteSumZero) {
  const uint8_t bytes[] = {1, 2, 3};
  EXPECT_EQ(drkclient::BlockChecksum(bytes, 3), 0xFFFFFFFAu);
  EXPECT_EQ(drkclient::BlockChecksum(bytes, 0), 0u);
  std::vector<uint8_t> all(70000, 0xFF);
  EXPECT_EQ(drkclient::BlockChecksum(all.data(), all.size()), 0u - 70000u * 255u);
}

TEST_F(ImageTransfer, BlocksCarryTheDataAfterTheHeader) {
  struct Case {
    size_t dataLength;
    uint32_t blockSize;
    int headerLength;
    int blocks;
  };
  const Case cases[] = {
      {10000, 4096, 0, 3},
      {8192, 4096, 16, 2},  // an exact multiple sends no empty block
      {4096 * 3 + 1, 4096, 3, 4},
      {0, 4096, 8, 0},      // nothing to send, the image still completes
      {3, 16384, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dataLength);
    Connect(c.blockSize);
    std::string data = SelectOs(c.dataLength, c.headerLength);
    EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 1);
    ASSERT_EQ(emulated.Images().size(), 1u);
    EXPECT_EQ(emulated.Images()[0].command, "?wos");
    EXPECT_EQ(emulated.Images()[0].length, c.dataLength);
    EXPECT_TRUE(emulated.Images()[0].data == data);
    EXPECT_EQ(emulated.Emulator().BlocksAccepted(), c.blocks);
    EXPECT_EQ(S().doneWeight.load(), 280u);
    EXPECT_TRUE(Logged("Image Flash Complete!: 0"));
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, BlockGoesOutAsMarkerPiecesAndChecksum) {
  Connect(4096);
  std::string block = "\x01\x02\x03"s + Pattern(2500);
  std::string data = block.substr(0, 3);
  auto link = Link();
  size_t before = link->Writes().size();
  // The emulator is between images, so this block is answered as noise;
  // what matters here is what went out.
  drkclient::Block_Transfer(reinterpret_cast<const uint8_t*>(block.data()), 3);
  auto writes = link->Writes();
  ASSERT_GE(writes.size(), before + 3);
  EXPECT_EQ(writes[before], "!");
  EXPECT_EQ(writes[before + 1], "\x01\x02\x03"s);
  EXPECT_EQ(writes[before + 2], "\xFA\xFF\xFF\xFF"s);

  before = link->Writes().size();
  drkclient::Block_Transfer(reinterpret_cast<const uint8_t*>(block.data()), 2503);
  writes = link->Writes();
  EXPECT_EQ(writes[before + 1].size(), 1024u);
  EXPECT_EQ(writes[before + 2].size(), 1024u);
  EXPECT_EQ(writes[before + 3].size(), 455u);
  EXPECT_EQ(writes[before + 4].size(), 4u);
}

TEST_F(ImageTransfer, StepLinesCarryTheLastByteOfTheOneByteBuffer) {
  Connect(4096);
  SelectOs(100, 4);
  emulated.Emulator().completion = [](std::string_view) { return "../"s; };
  ASSERT_EQ(FlashProg(ImageKind::OperatingSystem), 1);
  std::vector<std::string> lines;
  for (const auto& e : LogEntries())
    for (const char* prefix : {"Start Flash", "dwHeaderLen", "filesize", "Flash_Prog", "FlashProg", "BufSize",
                               "dwFileSize", "Image Flash"})
      if (e.rfind(prefix, 0) == 0) lines.push_back(e);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Start Flash Image...: 0", "dwHeaderLen is: 4", "filesize is: 104",
                       "Flash_Prog step 1: 0", "Flash_Prog step 2: 0", "Flash_Prog step 3: 38",
                       "Flash_Prog step 4: 38", "Flash_Prog step 5: 0", "Flash_Prog step 6: 38",
                       "Flash_Prog step 7: 38", "filesize is: 100", "Flash_Prog step 8: 63",
                       "Flash_Prog step 9: 63", "Flash_Prog step 10: 38", "Flash_Prog step 11: 64",
                       "BufSize: 4096", "dwFileSize: 100", "FlashProg response retries =: 3",
                       "Image Flash Complete!: 0"}));
}

TEST_F(ImageTransfer, AssetDataAlwaysSends32768Bytes) {
  struct Case {
    size_t fileData;
    int result;
  };
  for (Case c : {Case{40000, 1}, Case{32768, 1}, Case{32767, 0}, Case{30000, 0}}) {
    SCOPED_TRACE(c.fileData);
    Connect(16384);
    std::string data = Pattern(c.fileData, 3);
    std::string path = WriteFile("asset.nb0", std::string(100, 'H') + data);
    ASSERT_EQ(drkclient::Client_FlashAD(path.c_str(), 100), 0);
    EXPECT_EQ(FlashProg(ImageKind::AssetData), c.result);
    if (c.result == 1) {
      ASSERT_EQ(emulated.Images().size(), 1u);
      EXPECT_EQ(emulated.Images()[0].command, "?wad");
      EXPECT_EQ(emulated.Images()[0].length, 32768u);
      EXPECT_TRUE(emulated.Images()[0].data == data.substr(0, 32768));
    } else {
      // Too short for what would be announced: refused before the write
      // command, as a file that cannot be used.
      EXPECT_EQ(S().progress.load(), -2);
      EXPECT_TRUE(Logged("cannot open file: 0"));
      EXPECT_TRUE(emulated.Images().empty());
      EXPECT_TRUE(std::count(emulated.Emulator().Commands().begin(), emulated.Emulator().Commands().end(),
                             "?wad") == 0);
      EXPECT_EQ(Link()->Writes().back(), "x");
    }
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, RejectedBlocksAreSentAgainUpToSixteenTimes) {
  struct Case {
    int rejections;
    int result;
    const char* logged;
  };
  const Case cases[] = {
      {1, 1, "Block_Transfer Checksum error retries =: 2"},
      {14, 1, "Block_Transfer Checksum error retries =: 15"},
      // The sixteenth reply is not taken, even though it accepts the block.
      {15, 0, "Block_Transfer Checksum error retries =: 16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rejections);
    bootsim::EmulatorFaults faults;
    faults.rejectBlock = 2;
    faults.rejectCount = c.rejections;
    Connect(1024, faults);
    std::string data = SelectOs(3000, 0);
    EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), c.result);
    EXPECT_TRUE(Logged(c.logged));
    EXPECT_EQ(emulated.Emulator().ChecksumErrors(), c.rejections);
    if (c.result == 1) {
      EXPECT_TRUE(emulated.Images()[0].data == data);
    } else {
      EXPECT_EQ(S().progress.load(), -1);
    }
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, BlockReplyIsLookedForInFifteenReads) {
  for (int noise : {14, 15}) {
    SCOPED_TRACE(noise);
    bootsim::EmulatorFaults faults;
    faults.noiseBytes = noise;
    Connect(4096, faults);
    SelectOs(5000, 0);
    EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), noise == 14 ? 1 : 0);
    EXPECT_TRUE(Logged("Block_Transfer PortInput retries =: 15"));
    EXPECT_EQ(Logged("Block_Transfer PortInput retries =: 16"), noise == 15);
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, PercentIncrementsNeverReachAHundred) {
  Connect(1024);
  SelectOs(4 * 1024, 0);
  std::vector<int> seen;  // progress as each block's markers are sent
  emulated.Emulator().markersAfterBlock = [&](int block) {
    seen.push_back(drkclient::Client_Progress());
    switch (block) {
      case 1: return "+++$"s;  // 50, then two increments that would pass 100
      case 2: return "####$"s;  // 90
      case 3: return "%%%%%%%%%%$"s;  // 99, then one that would reach 100
      default: return "#+%$"s;
    }
  };
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 1);
  // Transfer weight 280 of a total of 280: (280 * p / 100) * 100 / 280.
  EXPECT_EQ(seen, (std::vector<int>{1, 50, 90, 98}));
  EXPECT_EQ(drkclient::Client_Progress(), 98);
}

TEST_F(ImageTransfer, ProgressFollowsWeightsAcrossImages) {
  Connect(1024);
  // Two kinds selected: 193 + 280; the file store is done when the OS runs.
  std::string fs = WriteFile("fs.nb0", Pattern(1024));
  ASSERT_EQ(drkclient::Client_FlashFS(fs.c_str(), 0), 0);
  SelectOs(2048, 0);
  // The emulator counts an image up to 99 percent.
  EXPECT_EQ(FlashProg(ImageKind::FileStore), 1);
  EXPECT_EQ(drkclient::Client_Progress(), 40);  // (193 * 99 / 100) * 100 / 473
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 1);
  EXPECT_EQ(drkclient::Client_Progress(), 99);  // (280 * 99 / 100 + 193) * 100 / 473
  EXPECT_EQ(S().doneWeight.load(), 473u);
}

TEST_F(ImageTransfer, DeviceCompletionAndItsOwnPhase) {
  struct Case {
    ImageKind kind;
    std::string completion;
    uint32_t doneWeight;
    int progress;
  };
  const Case cases[] = {
      // One block, counted to 99 percent: (280 * 99 / 100) * 100 / 280.
      {ImageKind::OperatingSystem, "", 280, 98},            // silence counts as finished
      {ImageKind::OperatingSystem, "..../", 280, 98},
      {ImageKind::OperatingSystem, "~#$/", 280, 99},        // no phase weight: the whole image
      {ImageKind::Microcontroller, "~#####$/", 312, 75},    // (156 * 50 / 100 + 156) * 100 / 312
      {ImageKind::Microcontroller, "/", 156, 49},           // no phase: the transfer alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.completion);
    Connect(4096);
    std::string path = WriteFile("img.bin", Pattern(100));
    ASSERT_EQ(c.kind == ImageKind::Microcontroller ? drkclient::Client_FlashMC(path.c_str(), 0)
                                                   : drkclient::Client_FlashOS(path.c_str(), 0),
              0);
    emulated.Emulator().completion = [&](std::string_view) { return c.completion; };
    EXPECT_EQ(FlashProg(c.kind), 1);
    EXPECT_EQ(S().doneWeight.load(), c.doneWeight);
    EXPECT_EQ(drkclient::Client_Progress(), c.progress);
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, PercentMarkerLookahead) {
  for (int noise : {59, 61}) {
    SCOPED_TRACE(noise);
    Connect(4096);
    SelectOs(100, 0);
    emulated.Emulator().markersAfterBlock = [&](int) { return std::string(static_cast<size_t>(noise), '.') + "$"; };
    EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), noise == 59 ? 1 : 0);
    if (noise == 59) {
      EXPECT_TRUE(Logged("Get_PerCent response retries =: 60"));
    } else {
      EXPECT_TRUE(Logged("Get_PerCent timeout: 61"));
      EXPECT_EQ(S().progress.load(), -1);
    }
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, ADeviceSilentAfterAMarkerIsATimeoutNotAnEndlessCount) {
  Connect(1024);
  SelectOs(3000, 0);
  // A marker and then nothing: the next look for a marker finds only the
  // old one in the buffer.
  emulated.Emulator().markersAfterBlock = [](int) { return "#"s; };
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 0);
  EXPECT_EQ(S().progress.load(), -1);
  EXPECT_TRUE(Logged("Get_PerCent timeout: 0"));
  EXPECT_EQ(emulated.Emulator().BlocksAccepted(), 1);
}

TEST_F(ImageTransfer, FailuresOfEachStep) {
  struct Case {
    const char* command;
    std::string reply;
    int32_t progress;
    const char* logged;
  };
  const Case cases[] = {
      {"?wos", "x\x04", -3, "Error: 4"},
      {"?wos", "x", -1, "error returned from command: 120"},
      {"?wos", "", -1, "USB Timeout on cmd: 0"},
      {"?nb0", "x\x05", -3, "Error: 5"},
      {"?nb0", "x", -1, "error returned from key command: 120"},
      {"?nb0", "", -1, "USB Timeout on key: 0"},
      {"?", "x\x06", -3, "BL returned error message: 0"},
      {"?", "", -1, "Send file header failed: 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    Connect(4096);
    SelectOs(100, 0);
    emulated.Emulator().replyOverrides[c.command] = c.reply;
    EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 0);
    EXPECT_EQ(S().progress.load(), c.progress);
    EXPECT_TRUE(Logged(c.logged));
    drkclient::ClosePort();
  }
}

TEST_F(ImageTransfer, UnusableImagesAndNoBlockSize) {
  Connect(4096);
  // The file disappeared after its selection.
  SelectOs(100, 0);
  std::filesystem::remove(dir_ / "os.nb0");
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 0);
  EXPECT_EQ(S().progress.load(), -2);
  EXPECT_TRUE(Logged("cannot open file: 0"));
  EXPECT_EQ(Link()->Writes().back(), "x");

  // A header longer than the file is refused before the device hears of it.
  Connect(4096);
  std::string path = WriteFile("short.nb0", "abc");
  ASSERT_EQ(drkclient::Client_FlashOS(path.c_str(), 10), 0);
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 0);
  EXPECT_EQ(S().progress.load(), -2);
  EXPECT_TRUE(emulated.Images().empty());

  // Without a block size nothing is written, and the failure shows.
  Connect(4096);
  SelectOs(100, 0);
  S().blockSize = 0;
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 0);
  EXPECT_EQ(Link()->Writes().back(), "x");
  EXPECT_EQ(S().progress.load(), -1);
}

TEST_F(ImageTransfer, ADeviceThatFallsSilentFailsTheImage) {
  bootsim::EmulatorFaults faults;
  faults.silentAfterBlocks = 2;
  Connect(1024, faults);
  SelectOs(5000, 0);
  EXPECT_EQ(FlashProg(ImageKind::OperatingSystem), 0);
  EXPECT_EQ(S().progress.load(), -1);
  EXPECT_TRUE(Logged("Block_Transfer PortInput timeout: 0"));
  EXPECT_EQ(emulated.Emulator().BlocksAccepted(), 2);
}

}  // namespace
}  // namespace flashtest
