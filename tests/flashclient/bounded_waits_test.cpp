// No wait for the device without an end: a device that answers the driver
// up to some point and from then on sends endless noise, or nothing at all,
// ends every exchange in the failure that exchange uses for a timeout, after
// a bounded time on the manual clock. Noise before a marker still gets
// through.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "flashclient/boot_protocol.h"
#include "flashclient/image_transfer.h"
#include "flashclient/port_layer.h"
#include "flashclient/protocol_framing.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using namespace std::string_literals;
namespace dc = drkclient;

enum class Breakdown { Noise, Silence };

class BoundedWaits : public DriverTest {
 protected:
  BoundedWaits() {
    dc::Client_Logging(1);
    // The emulator answers until the test's trigger; from then on the
    // device ignores the host and sends one noise byte whenever the host
    // looks (or nothing).
    script.onWrite = [this](const std::string& written, dc::MemoryLink& link) {
      if (!broken_ && breaksAt && breaksAt(written)) broken_ = true;
      if (broken_) {
        link.Send(answerAfterBreak);
        return;
      }
      emulated.OnHostWrite(reinterpret_cast<const uint8_t*>(written.data()), written.size(), link);
    };
    script.onPoll = [this](uint64_t nowMs, dc::MemoryLink& link) {
      if (!broken_) return emulated.OnPoll(nowMs, link);
      if (breakdown == Breakdown::Noise) link.Send(noiseByte);
    };
    device.UseScript(true);
  }

  void BreakNow() { broken_ = true; }
  // A fresh device that answers until breaksAt.
  void Restart(Breakdown how, std::function<bool(const std::string&)> trigger) {
    emulated.Reset({}, {});
    broken_ = false;
    breakdown = how;
    breaksAt = std::move(trigger);
    ClearLogs();
    dc::ResetDriverState();
    dc::Client_Logging(1);
  }

  std::function<bool(const std::string&)> breaksAt;
  Breakdown breakdown = Breakdown::Noise;
  std::string noiseByte = ".";
  // What the broken device still sends for each host write.
  std::string answerAfterBreak;

 private:
  bool broken_ = false;
};

std::function<bool(const std::string&)> OnCommand(const std::string& command) {
  return [command](const std::string& written) { return written == command; };
}

// Each exchange, broken by noise and by silence.
TEST_F(BoundedWaits, EveryExchangeEndsInItsTimeoutFailure) {
  struct Case {
    const char* name;
    const char* breaksAtCommand;
    std::function<std::string()> run;  // what the exchange came to
    const char* expected;
    const char* logged;  // nullptr: no line to look for
  };
  auto identify = [] { return std::to_string(static_cast<int>(dc::IdentifyDevice())); };
  auto identified = [this] {
    EXPECT_EQ(dc::IdentifyDevice(), dc::IdentifyResult::Identified);
    EXPECT_EQ(S().blockSize, 16384u);
  };
  const Case cases[] = {
      {"gid answer", "?gid", identify, "2", nullptr},
      {"ghw data marker", "?ghw", identify, "7", nullptr},
      {"release", "?xcb",
       [&] {
         identified();
         return std::to_string(dc::Client_Shutdown());
       },
       "202", "USB Timeout on xcb: "},
      {"warm reset", "?xrs",
       [&] {
         identified();
         return dc::WarmReset() == dc::ExchangeResult::Failed ? "failed"s : "done"s;
       },
       "failed", "USB Timeout on xrs: "},
      {"repartition announcement", "?dft",
       [&] {
         identified();
         return dc::Repartition() == dc::ExchangeResult::Failed ? "failed"s : "done"s;
       },
       "failed", "USB Timeout on dft: "},
      {"image write command", "?wos",
       [&] {
         identified();
         dc::Client_FlashOS(WriteFile("os.nb0", Pattern(100)).c_str(), 0);
         return dc::Flash_Prog(dc::ImageKind::OperatingSystem) == dc::ImageResult::Failed ? "failed"s : "written"s;
       },
       "failed", "USB Timeout on cmd: "},
  };
  for (Breakdown how : {Breakdown::Noise, Breakdown::Silence}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (how == Breakdown::Noise ? " / noise" : " / silence"));
      Restart(how, OnCommand(c.breaksAtCommand));
      const uint64_t start = clock.NowMs();
      EXPECT_EQ(c.run(), c.expected);
      // Bounded: within the answer limit of the wait that broke, plus the
      // setup's own waits.
      EXPECT_LE(clock.NowMs() - start, dc::kAnswerLimitMs + 60'000u);
      if (c.logged != nullptr) {
        bool found = false;
        for (const auto& e : LogEntries()) found = found || e.rfind(c.logged, 0) == 0;
        EXPECT_TRUE(found) << c.logged;
      }
      dc::JoinDriverThreads();
      dc::ClosePort();
    }
  }
}

TEST_F(BoundedWaits, AnEndlessDeviceTextIsATextTimeout) {
  // "?gid" is acknowledged, and its text never ends.
  breaksAt = OnCommand("?gid");
  answerAfterBreak = "&*";
  noiseByte = "4";
  EXPECT_EQ(dc::IdentifyDevice(), dc::IdentifyResult::TextTimeout);
}

TEST_F(BoundedWaits, TheReformatWaitIsLongButNotEndless) {
  for (Breakdown how : {Breakdown::Noise, Breakdown::Silence}) {
    SCOPED_TRACE(how == Breakdown::Noise ? "noise" : "silence");
    // "?dft" is acknowledged; the partition record is the last thing the
    // device answers.
    Restart(how, [](const std::string& written) { return written.size() == 10; });
    ASSERT_EQ(dc::IdentifyDevice(), dc::IdentifyResult::Identified);
    dc::Client_SetPartitionSize(100, 200);
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(dc::Repartition(), dc::ExchangeResult::Failed);
    dc::JoinDriverThreads();
    const uint64_t waited = clock.NowMs() - start;
    EXPECT_LE(waited, dc::kDeviceWorkLimitMs + 60'000u);
    if (how == Breakdown::Silence) {
      // Silence is what a reformatting device sends: it gets the whole limit.
      EXPECT_GE(waited, dc::kDeviceWorkLimitMs);
    }
    // Logged with the last byte in the buffer: the noise, or the record's '?'.
    EXPECT_TRUE(Logged(how == Breakdown::Noise ? "USB Timeout on dft: 46" : "USB Timeout on dft: 63"));
    EXPECT_FALSE(Logged("Dformat successful!!: 0"));
    dc::ClosePort();
  }
}

TEST_F(BoundedWaits, EndlessPercentMarkersAfterABlockFailTheImage) {
  ASSERT_EQ(dc::IdentifyDevice(), dc::IdentifyResult::Identified);
  dc::Client_FlashOS(WriteFile("os.nb0", Pattern(3000)).c_str(), 0);
  // From the go byte on, every write is accepted and the device sends '%'
  // for ever.
  breaksAt = OnCommand("@");
  answerAfterBreak = "&";
  noiseByte = "%";
  EXPECT_EQ(dc::Flash_Prog(dc::ImageKind::OperatingSystem), dc::ImageResult::Failed);
  EXPECT_EQ(dc::Client_Progress(), -1);
  bool logged = false;
  for (const auto& e : LogEntries()) logged = logged || e.rfind("Get_PerCent timeout: ", 0) == 0;
  EXPECT_TRUE(logged);
}

TEST_F(BoundedWaits, EndlessNoiseAfterTheLastBlockCountsAsTheEndOfTheImage) {
  ASSERT_EQ(dc::IdentifyDevice(), dc::IdentifyResult::Identified);
  std::string data = Pattern(100);
  dc::Client_FlashOS(WriteFile("os.nb0", data).c_str(), 0);
  // Instead of '/', noise without end: as after silence, the image is done.
  emulated.Emulator().completion = [this](std::string_view) {
    BreakNow();
    return ""s;
  };
  EXPECT_EQ(dc::Flash_Prog(dc::ImageKind::OperatingSystem), dc::ImageResult::Written);
  ASSERT_EQ(emulated.Images().size(), 1u);
  EXPECT_TRUE(emulated.Images()[0].data == data);
}

TEST_F(BoundedWaits, NoiseBeforeAnAnswerStillGetsThrough) {
  // A thousand noise bytes before every answer: twenty seconds of reads
  // each. (Block replies and percent markers keep their own short counts.)
  bootsim::EmulatorFaults faults;
  faults.noiseBytes = 1000;
  emulated.Reset({}, faults);
  EXPECT_EQ(dc::Client_Initialize(), 0);
  EXPECT_EQ(S().blockSize, 16384u);
  EXPECT_EQ(dc::Client_Shutdown(), 0);
}

}  // namespace
}  // namespace flashtest
