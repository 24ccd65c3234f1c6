// A flash run as the host drives it through the exports: when a run may
// start, that a failed step stops it before anything more reaches the
// device, that a second run starts clean, and that no export disturbs a
// running worker. What the emulated device received tells what was written.

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>
#include <vector>

#include "flashclient/flash_worker.h"
#include "flashclient/port_layer.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using namespace std::string_literals;
namespace dc = drkclient;

constexpr char kVariantD[] =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Marvane\\qzDRK]\n"
    "\"Last_GSM_module\"=dword:00000003\n";

class FlashRun : public DriverTest {
 protected:
  FlashRun() { dc::Client_Logging(1); }

  // A freshly loaded driver and a fresh device.
  void Fresh() {
    ClearLogs();
    dc::ResetDriverState();
    dc::Client_Logging(1);
    emulated.Reset({}, {});
  }

  const std::vector<std::string>& Commands() { return emulated.Emulator().Commands(); }
  std::vector<std::string> CommandsAfter(const std::string& command) {
    auto at = std::find(Commands().begin(), Commands().end(), command);
    return at == Commands().end() ? std::vector<std::string>{} : std::vector<std::string>(at + 1, Commands().end());
  }
  std::string Select(int (*select)(const char*, int), const std::string& name, size_t bytes = 3000) {
    std::string data = Pattern(bytes, static_cast<uint8_t>(name.size()));
    EXPECT_EQ(select(WriteFile(name, data).c_str(), 0), 0) << name;
    return data;
  }
};

TEST_F(FlashRun, AnUnansweredWarmResetEndsTheRun) {
  struct Case {
    const char* name;
    bool repartition;
    bool os;
  };
  const Case cases[] = {
      {"boot loader, repartition and OS", true, true},
      {"boot loader and OS", false, true},
      {"boot loader alone", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    emulated.Emulator().replyOverrides["?xrs"] = "";
    ASSERT_EQ(dc::Client_Initialize(), 0);
    Select(dc::Client_FlashBL, "bl.nb0");
    if (c.os) Select(dc::Client_FlashOS, "os.nb0");
    if (c.repartition) dc::Client_SetPartitionSize(1000, 2000);
    EXPECT_EQ(RunFlash(), -1);
    // The device heard nothing after the restart it did not acknowledge: no
    // reformat, no OS image, and the run does not claim completion.
    EXPECT_EQ(CommandsAfter("?xrs"), std::vector<std::string>{});
    EXPECT_TRUE(emulated.Emulator().LastPartitionRecord().empty());
    ASSERT_EQ(emulated.Images().size(), 1u);
    EXPECT_EQ(emulated.Images()[0].command, "?wbl");
    EXPECT_EQ(S().port, nullptr);
    EXPECT_TRUE(Logged("USB Timeout on xrs: 0"));
    EXPECT_FALSE(Logged("Repartition...............: 0"));
    EXPECT_FALSE(Logged("100% ??: 0"));
  }
}

TEST_F(FlashRun, NothingIsWrittenToADeviceThatWasNotIdentified) {
  struct Case {
    const char* name;
    std::function<void()> identify;
    int32_t progressBeforeStart;
  };
  const Case cases[] = {
      {"never identified", [] {}, 0},
      {"wrong model",
       [this] {
         bootsim::EmulatorIdentity id;
         id.modelNumber = "4171";
         emulated.Reset(id, {});
         EXPECT_EQ(dc::Client_Initialize(), 101);
       },
       1},  // the abort exchange was answered
      {"identified without a block size, then initialized again",
       [this] {
         emulated.Emulator().replyOverrides["?qbz"] = "x\x05";
         EXPECT_EQ(dc::Client_Initialize(), 0);
         EXPECT_EQ(dc::Client_Progress(), -1);
         EXPECT_EQ(dc::Client_Initialize(), 0);
       },
       1},
      {"failed after the model text, then initialized again",
       [this] {
         emulated.Emulator().replyOverrides["?qgs"] = "";
         EXPECT_EQ(dc::Client_Initialize(), 101);
         EXPECT_EQ(dc::Client_Initialize(), 101);
         EXPECT_EQ(dc::Client_BL_Mode("Yvra t4170"), 2);  // not a match
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    WriteRegistry(kVariantD);
    c.identify();
    Select(dc::Client_FlashOS, "os.nb0");
    dc::Client_SetPartitionSize(1000, 2000);
    EXPECT_EQ(dc::Client_Progress(), c.progressBeforeStart);
    const size_t writes = Link() ? Link()->Writes().size() : 0;
    EXPECT_EQ(RunFlash(), -1);
    EXPECT_EQ(Link() ? Link()->Writes().size() : 0, writes);  // not a byte more
    EXPECT_TRUE(emulated.Emulator().LastPartitionRecord().empty());
    EXPECT_TRUE(emulated.Images().empty());
    EXPECT_TRUE(Logged("error, thread not created: 4294967295"));
    EXPECT_FALSE(Logged("Client_StartFlash Ends.: 0"));
    dc::ClosePort();
  }
}

TEST_F(FlashRun, ASecondRunStartsCleanAndRepeatsTheFirst) {
  // The radio image through the generic selection too: its weight counts
  // twice in every run, not once more per run.
  WriteRegistry(kVariantD);
  ASSERT_EQ(dc::Client_Initialize(), 0);
  Select(dc::Client_FlashOS, "os.nb0", 40000);
  Select(dc::Client_FlashWAN, "radio.nb0", 100);
  Select(dc::Client_M8346B, "radio_b.nb0", 20000);
  std::vector<int> seen;  // progress as the device sees each command and block
  emulated.Emulator().markersAfterBlock = [&](int) {
    seen.push_back(dc::Client_Progress());
    return "#$"s;
  };
  script.onWrite = [&](const std::string& written, dc::MemoryLink& link) {
    if (written.rfind("?w", 0) == 0) seen.push_back(dc::Client_Progress());
    emulated.OnHostWrite(reinterpret_cast<const uint8_t*>(written.data()), written.size(), link);
  };
  script.onPoll = [&](uint64_t nowMs, dc::MemoryLink& link) { emulated.OnPoll(nowMs, link); };
  device.UseScript(true);

  EXPECT_EQ(RunFlash(), 100);
  const std::vector<int> first = seen;
  const std::string firstWire = Link()->Written();
  const uint32_t firstTotal = S().totalWeight.load();
  seen.clear();
  const size_t before = Link()->Written().size();
  EXPECT_EQ(RunFlash(), 100);
  EXPECT_EQ(seen, first);
  EXPECT_EQ(S().totalWeight.load(), firstTotal);
  EXPECT_EQ(firstTotal, 280u + 187u + 187u);
  // The same bytes again, from the write command of the OS image on.
  const std::string second = Link()->Written().substr(before);
  EXPECT_TRUE(firstWire.substr(firstWire.size() - second.size()) == second);
  EXPECT_EQ(first.front(), 1);  // "?wos" goes out at the start value
  EXPECT_LT(first[1], 99);
}

// A device that holds the worker inside one write until the test lets go.
class HeldWorker {
 public:
  HeldWorker(ScriptDevice& script, EmulatedDevice& emulated, std::string holdAt)
      : holdAt_(std::move(holdAt)) {
    script.onWrite = [this, &emulated](const std::string& written, dc::MemoryLink& link) {
      emulated.OnHostWrite(reinterpret_cast<const uint8_t*>(written.data()), written.size(), link);
      if (written == holdAt_ && !held_) {
        held_ = true;
        reached_.set_value();
        release_.get_future().wait();
      }
    };
    script.onPoll = [&emulated](uint64_t nowMs, dc::MemoryLink& link) { emulated.OnPoll(nowMs, link); };
  }
  void WaitUntilHeld() { reached_.get_future().wait(); }
  void Release() { release_.set_value(); }

 private:
  std::string holdAt_;
  bool held_ = false;
  std::promise<void> reached_;
  std::promise<void> release_;
};

TEST_F(FlashRun, NoExportDisturbsARunningWorker) {
  ASSERT_EQ(dc::Client_Initialize(), 0);
  std::string os = Select(dc::Client_FlashOS, "os.nb0", 40000);
  HeldWorker held(script, emulated, "?wos");
  device.UseScript(true);
  EXPECT_EQ(dc::Client_StartFlash(), 1);
  held.WaitUntilHeld();

  const int32_t progress = dc::Client_Progress();
  EXPECT_TRUE(dc::FlashRunning());
  struct Case {
    const char* name;
    std::function<int()> call;
    int refused;
  };
  const std::string fs = WriteFile("fs.nb0", Pattern(10));
  const Case cases[] = {
      {"Client_StartFlash", [] { return dc::Client_StartFlash(); }, 1},
      {"Client_Shutdown", [] { return dc::Client_Shutdown(); }, 202},
      {"Client_Initialize", [] { return dc::Client_Initialize(); }, 101},
      {"Client_BL_Mode", [] { return dc::Client_BL_Mode("Yvra t4170"); }, 2},
      {"Client_FlashFS", [&] { return dc::Client_FlashFS(fs.c_str(), 0); }, 401},
      {"Client_M8346E", [&] { return dc::Client_M8346E(fs.c_str(), 0); }, 401},
      {"Client_SetPartitionSize", [] { return dc::Client_SetPartitionSize(1, 2); }, 1},
      {"CreateReformatTimer", [] { return dc::CreateReformatTimer(); }, 1},
  };
  const uint32_t total = S().totalWeight.load();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(), c.refused);
    EXPECT_EQ(dc::Client_Progress(), progress);
  }
  EXPECT_EQ(S().totalWeight.load(), total);
  EXPECT_EQ(S().repartitionRequested, 0);
  EXPECT_EQ(S().Image(dc::ImageKind::FileStore).selected, 0);
  held.Release();
  dc::JoinDriverThreads();

  EXPECT_EQ(dc::Client_Progress(), 100);
  EXPECT_FALSE(dc::FlashRunning());
  // One worker wrote one image, and nothing came between its blocks.
  EXPECT_EQ(std::count(Commands().begin(), Commands().end(), "?wos"), 1);
  EXPECT_EQ(std::count(Commands().begin(), Commands().end(), "?xcb"), 0);
  ASSERT_EQ(emulated.Images().size(), 1u);
  EXPECT_TRUE(emulated.Images()[0].data == os);
  EXPECT_EQ(emulated.Emulator().ChecksumErrors(), 0);
  EXPECT_TRUE(Logged("Client_Shutdown refused, flash in progress: " + std::to_string(progress)));
  // Once the run is over the host may release the device.
  EXPECT_EQ(dc::Client_Shutdown(), 0);
}

}  // namespace
}  // namespace flashtest
