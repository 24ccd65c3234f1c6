// The boot loader command exchanges against the emulator: identification
// with its result codes, the block size query, release, abort, warm reset
// and repartitioning.

#include <gtest/gtest.h>

#include <string>

#include "flashclient/boot_protocol.h"
#include "flashclient/flash_worker.h"
#include "flashclient/port_layer.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using namespace std::string_literals;
using drkclient::ExchangeResult;
using drkclient::IdentifyResult;

// The identification's result as the code the log shows.
int IdentifyDevice() { return static_cast<int>(drkclient::IdentifyDevice()); }

class BootProtocol : public DriverTest {
 protected:
  BootProtocol() { drkclient::Client_Logging(1); }
  void Override(const std::string& command, const std::string& reply) {
    emulated.Emulator().replyOverrides[command] = reply;
  }
};

TEST_F(BootProtocol, IdentificationFillsTheIdentityEvenThroughNoise) {
  for (int noise : {0, 14}) {
    SCOPED_TRACE(noise);
    bootsim::EmulatorFaults faults;
    faults.noiseBytes = noise;
    emulated.Reset({}, faults);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    ASSERT_EQ(IdentifyDevice(), 0);
    EXPECT_EQ(S().deviceIdLine.View(), "Device ID: Yvra t4170");
    EXPECT_EQ(S().osVersion.View(), "4.21.123");
    EXPECT_EQ(S().osLanguage.View(), "English");
    EXPECT_EQ(S().hwIdLine.View(), "HWID = HW-B2");
    EXPECT_EQ(S().cameraLine.View(), "Camera present = Yes");
    EXPECT_EQ(S().modelText.View(), "Yvra t4170");
    EXPECT_EQ(S().moduleText.View(), "M8346B 4.1.13");  // the "?qgs" text replaced "?qup"'s
    EXPECT_EQ(S().blockSize, 16384u);
    EXPECT_EQ(S().bufferSizeLine.View(), "Buffer size = 16384 bytes");
    EXPECT_EQ(emulated.Emulator().Commands(),
              (std::vector<std::string>{"?gid", "?qos", "?ghw", "?qup", "?qgs", "?qbz"}));
    EXPECT_TRUE(Logged("Detected OS is: 2"));
    // Once per load: a second call does not talk to the device.
    auto writes = Link()->Writes().size();
    EXPECT_EQ(IdentifyDevice(), 0);
    EXPECT_EQ(Link()->Writes().size(), writes);
  }
}

TEST_F(BootProtocol, IdentificationResultCodes) {
  struct Case {
    const char* command;
    std::string reply;
    int result;
    const char* logged;
  };
  const Case cases[] = {
      {"?gid", "", 2, nullptr},
      {"?gid", "x", 3, nullptr},
      {"?gid", "x\x07", 4, "Error: 7"},
      {"?gid", "&", 5, nullptr},
      {"?gid", "&*41", 6, nullptr},
      {"?gid", "&*4171\0"s, 7, "4171: 4"},
      {"?gid", "&..........*4170\0"s, 0, nullptr},  // noise before '*' has no limit
      {"?qos", "", 2, nullptr},
      {"?qos", "&", 5, nullptr},
      {"?ghw", "", 7, nullptr},
      {"?ghw", "*hw", 8, nullptr},
      {"?ghw", "*hw\0"s, 9, nullptr},
      {"?ghw", "*hw\0*cam"s, 10, nullptr},
      {"?ghw", "*hw\0*cam\0"s, 11, nullptr},
      {"?ghw", "*hw\0*cam\0*mod"s, 12, nullptr},
      {"?ghw", "x\x01*hw\0*cam\0*mod\0"s, 0, nullptr},  // no error marker after "?ghw"
      {"?qup", "", 13, nullptr},
      {"?qup", "&*up"s, 6, nullptr},
      {"?qgs", "", 2, nullptr},
      {"?qgs", "x\x02", 4, "Error: 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.reply);
    emulated.Reset({}, {});
    Override(c.command, c.reply);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    S().progress = 1;
    EXPECT_EQ(IdentifyDevice(), c.result);
    if (c.logged != nullptr) {
      EXPECT_TRUE(Logged(c.logged));
    }
    EXPECT_EQ(Logged("Invalid device: 0"), c.result == 7 && c.command == "?gid"s);
    EXPECT_EQ(S().progress.load(), c.result == 4 ? -1 : 1);
    drkclient::ClosePort();
  }
}

TEST_F(BootProtocol, NoDeviceIsResultOne) {
  opener.FailNextOpens(31);
  EXPECT_EQ(IdentifyDevice(), 1);
  EXPECT_EQ(S().port, nullptr);
}

TEST_F(BootProtocol, ACommandThatCannotBeWrittenIsResultOne) {
  // The device goes away as the command's text arrives, so the write of its
  // zero byte fails.
  for (const char* command : {"?gid", "?ghw", "?qup", "?qbz"}) {
    SCOPED_TRACE(command);
    emulated.Reset({}, {});
    script.onWrite = [&](const std::string& written, drkclient::MemoryLink& link) {
      if (written == command)
        link.Disconnect();
      else
        emulated.OnHostWrite(reinterpret_cast<const uint8_t*>(written.data()), written.size(), link);
    };
    script.onPoll = [&](uint64_t nowMs, drkclient::MemoryLink& link) { emulated.OnPoll(nowMs, link); };
    device.UseScript(true);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    S().progress = 1;
    EXPECT_EQ(IdentifyDevice(), 1);
    EXPECT_EQ(S().blockSize, 0u);
    EXPECT_EQ(S().progress.load(), 1);
    drkclient::ClosePort();
  }
}

TEST_F(BootProtocol, ModuleTextReadsGiveUpLookingForTheMarkerAfterFifteenReads) {
  struct Case {
    std::string reply;
    const char* module;
    const char* logged;
  };
  const Case cases[] = {
      {"&*M8346D\0"s, "M8346D", "qgs response retries =: 1"},
      {"&" + std::string(14, '.') + "*M8346D\0"s, "M8346D", "qgs response retries =: 15"},
      // Not seen within fifteen reads: the text is read from where the
      // reads stopped, marker and all.
      {"&" + std::string(15, '.') + "*M8346D\0"s, "*M8346D", "qgs response retries =: 15"},
  };
  for (const Case& c : cases) {
    emulated.Reset({}, {});
    Override("?qgs", c.reply);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    ASSERT_EQ(IdentifyDevice(), 0);
    EXPECT_EQ(S().moduleText.View(), c.module);
    EXPECT_TRUE(Logged(c.logged));
    EXPECT_TRUE(Logged("qup response retries =: 1"));
    drkclient::ClosePort();
  }
}

TEST_F(BootProtocol, OsTextSplitsIntoVersionAndLanguage) {
  struct Case {
    std::string text;
    const char* version;
    const char* language;
  };
  const Case cases[] = {
      {"4.21.123 English", "4.21.123", "English"},
      {"4.21.123 ", "4.21.123", ""},
      {"4.21", "4.21", ""},
      {"12345678 " + std::string(40, 'L'), "12345678", "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL"},  // field of 31
  };
  for (const Case& c : cases) {
    bootsim::EmulatorIdentity id;
    id.osText = c.text;
    emulated.Reset(id, {});
    ClearLogs();
    drkclient::ResetDriverState();
    ASSERT_EQ(IdentifyDevice(), 0);
    EXPECT_EQ(S().osVersion.View(), c.version);
    EXPECT_EQ(S().osLanguage.View(), c.language);
    drkclient::ClosePort();
  }
}

TEST_F(BootProtocol, BlockSizeQuery) {
  struct Case {
    std::string reply;
    uint32_t blockSize;
    int32_t progress;
    const char* logged;
  };
  const Case cases[] = {
      {"&*\x00\x40\x00\x00"s, 16384, 1, "Buffer size = 16384 bytes: 0"},
      {"", 0, -1, "USB Timeout on qbz: 0"},
      {"x", 0, -1, "USB Timeout on qbz: 120"},
      {"x\x05", 0, -1, "Error: 5"},
      {"&*\x00\x40"s, 0, -1, "USB Timeout on qbz: 42"},
      // A size no device asks for is not believed.
      {"&*\xff\xff\xff\x7f"s, 0, -1, "Buffer size = 2147483647 bytes: 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    emulated.Reset({}, {});
    Override("?qbz", c.reply);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    S().progress = 1;
    EXPECT_EQ(IdentifyDevice(), 0);  // a failed query still counts as identified
    EXPECT_EQ(S().blockSize, c.blockSize);
    EXPECT_EQ(S().progress.load(), c.progress);
    EXPECT_TRUE(Logged(c.logged));
    if (c.progress < 0) {
      EXPECT_EQ(drkclient::Client_StartFlash(), 1);
      EXPECT_TRUE(Logged("error, thread not created: 4294967295"));
    }
    drkclient::ClosePort();
  }
}

TEST_F(BootProtocol, ReleaseAnswersAndTimeouts) {
  struct Case {
    const char* command;
    std::string reply;
    int result;
    const char* logged;
  };
  const Case cases[] = {
      {nullptr, "", 0, "Shutting down PDA: 0"},
      {"?xcb", "x", 0, "Shutting down PDA: 0"},  // either marker ends the wait
      {"?c", "x", 0, "Shutting down PDA: 0"},
      {"?xcb", "", 202, "USB Timeout on xcb: 0"},
      {"?c", "", 202, "USB Timeout on c: 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    emulated.Reset({}, {});
    if (c.command != nullptr) Override(c.command, c.reply);
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    ASSERT_EQ(IdentifyDevice(), 0);
    EXPECT_EQ(drkclient::Client_Shutdown(), c.result);
    EXPECT_TRUE(Logged(c.logged));
    EXPECT_EQ(S().port == nullptr, c.result == 0);
    EXPECT_EQ(S().progress.load(), c.result == 0 ? 0 : -1);
    drkclient::ClosePort();
  }
}

TEST_F(BootProtocol, FailedIdentificationAbortsAndReleases) {
  bootsim::EmulatorIdentity id;
  id.modelNumber = "4171";
  emulated.Reset(id, {});
  // The radio variant must be known, or Initialize gives up before the abort.
  WriteRegistry("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Marvane\\qzDRK]\n"
                "\"Last_GSM_module\"=dword:00000002\n");
  EXPECT_EQ(drkclient::Client_Initialize(), 101);
  std::string all = Link()->Written();
  EXPECT_NE(all.find("x?xcb"s + '\0' + "?c"s + '\0'), std::string::npos);
  EXPECT_NE(S().port, nullptr);  // the abort leaves the port open
  EXPECT_FALSE(Logged("USB Timeout: 7"));  // the invalid device is not a timeout
  EXPECT_TRUE(Logged("Invalid device: 0"));
}

TEST_F(BootProtocol, WarmResetReconnects) {
  ASSERT_EQ(IdentifyDevice(), 0);
  const uint64_t before = clock.SleptMs();
  EXPECT_EQ(drkclient::WarmReset(), ExchangeResult::Done);
  EXPECT_GE(clock.SleptMs() - before, 5000u + 1000u);  // the pause and the reopen wait
  EXPECT_EQ(opener.Opens(), 2);
  EXPECT_EQ(emulated.Emulator().Restarts(), 1);
  EXPECT_TRUE(emulated.Emulator().Synced());
  EXPECT_EQ(S().statusText.Get(), " Warm Reset...");
  // The close ended the first log file; "reconnect" opened the next.
  ASSERT_EQ(LogFiles().size(), 2u);
  EXPECT_TRUE(Logged("warm reset: 0"));
  EXPECT_TRUE(Logged("reconnect: 0"));

  Override("?xrs", "");
  EXPECT_EQ(drkclient::WarmReset(), ExchangeResult::Failed);
  EXPECT_EQ(S().progress.load(), -1);
  EXPECT_TRUE(Logged("USB Timeout on xrs: 0"));
}

TEST_F(BootProtocol, RepartitionSendsTheRecordAndWaitsAsLongAsItTakes) {
  bootsim::EmulatorFaults faults;
  faults.repartitionMs = 10 * 60 * 1000;  // ten minutes of reformatting
  emulated.Reset({}, faults);
  ASSERT_EQ(IdentifyDevice(), 0);
  drkclient::Client_SetPartitionSize(0x01020304, 5);
  const uint64_t start = clock.NowMs();
  EXPECT_EQ(drkclient::Repartition(), ExchangeResult::Done);
  drkclient::JoinDriverThreads();
  EXPECT_GE(clock.NowMs() - start, 10u * 60 * 1000);
  EXPECT_EQ(emulated.Emulator().LastPartitionRecord(),
            (std::vector<uint8_t>{3, 2, 0x04, 0x03, 0x02, 0x01, 5, 0, 0, 0}));
  EXPECT_TRUE(Logged("Partition 1 size is 16909060: 0"));
  EXPECT_TRUE(Logged("Partition 2 size is 5: 0"));
  EXPECT_TRUE(Logged("Dformat successful!!: 0"));
  EXPECT_EQ(emulated.Emulator().Restarts(), 1);  // ended in a warm reset
  EXPECT_EQ(S().doneWeight.load(), 24u);         // the reformat timer ran
}

TEST_F(BootProtocol, RepartitionFailures) {
  struct Case {
    const char* command;
    std::string reply;
    const char* logged;
    int32_t progress;
  };
  const Case cases[] = {
      {"?dft", "x\x09", "Error: 9", -1},
      {"?dft", "", "USB Timeout on dft: 0", -1},
      // An error marker whose code never comes is no answer either.
      {"?dft", "x", "USB Timeout on dft: 120", -1},
      {"?", "x\x03", "Can not Dformat successful!!: 3", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    emulated.Reset({}, {});
    ClearLogs();
    drkclient::ResetDriverState();
    drkclient::Client_Logging(1);
    ASSERT_EQ(IdentifyDevice(), 0);
    Override(c.command, c.reply);
    S().progress = 1;
    EXPECT_EQ(drkclient::Repartition(), ExchangeResult::Failed);
    drkclient::JoinDriverThreads();
    EXPECT_TRUE(Logged(c.logged));
    EXPECT_FALSE(Logged("Error: 120"));
    EXPECT_EQ(S().progress.load(), c.progress);  // the timer moves a running progress on
    drkclient::ClosePort();
  }
}

}  // namespace
}  // namespace flashtest
