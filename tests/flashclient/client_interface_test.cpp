// The exported interface: identification and the radio variant memory,
// model checks, image selection, the worker's step order, the reformat
// timer, and the host's buffers.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "flashclient/flash_worker.h"
#include "flashclient/port_layer.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

using namespace std::string_literals;
namespace dc = drkclient;

constexpr char kRegistryHeader[] = "Windows Registry Editor Version 5.00\n\n";
constexpr char kKeyLine[] = "[HKEY_CURRENT_USER\\Software\\Marvane\\qzDRK]\n";

std::string RegistryWithValue(const char* dword) {
  return std::string(kRegistryHeader) + kKeyLine + "\"Last_GSM_module\"=dword:" + dword + "\n";
}

class ClientInterface : public DriverTest {
 protected:
  ClientInterface() { dc::Client_Logging(1); }
  void UseModule(const std::string& qgsText, const std::string& modelText = "Yvra t4170") {
    bootsim::EmulatorIdentity id;
    id.qgsText = qgsText;
    id.modelText = modelText;
    emulated.Reset(id, {});
  }
  int CountLogged(const std::string& entry) const {
    auto e = LogEntries();
    return static_cast<int>(std::count(e.begin(), e.end(), entry));
  }
};

TEST_F(ClientInterface, InitializeLogsTheIdentityAndTalksOnlyOnce) {
  EXPECT_EQ(dc::Client_Initialize(), 0);
  EXPECT_EQ(dc::Client_Progress(), 1);
  auto entries = LogEntries();
  auto at = std::find(entries.begin(), entries.end(), "Device ID: Yvra t4170: 0");
  ASSERT_NE(at, entries.end());
  std::vector<std::string> identity(at, at + 6);
  EXPECT_EQ(identity, (std::vector<std::string>{"Device ID: Yvra t4170: 0", "HWID = HW-B2: 0",
                                                "Camera present = Yes: 0", "Yvra t4170: 0", "M8346B 4.1.13: 0",
                                                "4.21.123: 0"}));
  const size_t writes = Link()->Writes().size();
  EXPECT_EQ(dc::Client_Initialize(), 0);
  EXPECT_EQ(Link()->Writes().size(), writes);
  EXPECT_EQ(CountLogged("HWID = HW-B2: 0"), 2);
  EXPECT_EQ(CountLogged("Client_Initialize called: 0"), 2);
}

TEST_F(ClientInterface, RadioVariantComesFromTheModuleTextOrTheRegistry) {
  struct Case {
    const char* module;
    std::optional<std::string> registry;  // nullopt: no registry file
    int result;
    const char* moduleAfter;
    std::optional<std::string> registryAfter;  // nullopt: no file afterwards
  };
  const std::string keyOnly = std::string(kRegistryHeader) + kKeyLine;
  const std::string otherKey = std::string(kRegistryHeader) + "[HKEY_CURRENT_USER\\Software\\Other]\n";
  const Case cases[] = {
      {"M8346B 4.1", keyOnly, 0, "M8346B 4.1", "00000002"},
      {"M8346D", RegistryWithValue("00000002"), 0, "M8346D", "00000003"},
      {"xx 8346E yy", keyOnly, 0, "xx 8346E yy", "00000004"},
      {"M8346", RegistryWithValue("00000004"), 0, "M8346", "00000000"},  // no letter: 0 is stored
      {"GSM-X", RegistryWithValue("00000003"), 0, "M8346D", "00000003"},
      {"GSM-X", RegistryWithValue("00000004"), 0, "M8346E", "00000004"},
      {"GSM-X", RegistryWithValue("00000000"), 101, "GSM-X", "00000000"},
      {"GSM-X", std::nullopt, 101, "GSM-X", std::nullopt},
      // The key is opened, never created.
      {"M8346B", otherKey, 0, "M8346B", std::nullopt},
      {"M8346B", std::nullopt, 0, "M8346B", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.module) + " / " + c.registry.value_or("no file"));
    ClearLogs();
    dc::ResetDriverState();
    dc::Client_Logging(1);
    std::filesystem::remove(RegistryPath());
    if (c.registry) WriteRegistry(*c.registry);
    UseModule(c.module);
    EXPECT_EQ(dc::Client_Initialize(), c.result);
    EXPECT_EQ(S().moduleText.View(), c.moduleAfter);
    if (c.registryAfter) {
      EXPECT_NE(ReadRegistry().find("\"Last_GSM_module\"=dword:" + *c.registryAfter), std::string::npos)
          << ReadRegistry();
    } else if (c.registry) {
      EXPECT_EQ(ReadRegistry(), *c.registry);
    } else {
      EXPECT_FALSE(std::filesystem::exists(RegistryPath()));
    }
    EXPECT_EQ(Logged("Could not retrieve GSM module type. To recover, set\\HKEY_CURRENT_USER\\Software\\Marvane"
                     "\\qzDRK\\Last_GSM_module to 2,3 or 4 (M8346B, M8346D, M8346E): 0"),
              c.result == 101);
    dc::ClosePort();
  }
}

TEST_F(ClientInterface, AFailedIdentificationStaysFailedForTheLoad) {
  struct Case {
    const char* name;
    bool deviceAbsent;
    const char* qupReply;  // nullptr: answered
  };
  // Absent, or failing after its model text was read.
  for (Case c : {Case{"absent", true, nullptr}, Case{"no qup answer", false, ""}}) {
    SCOPED_TRACE(c.name);
    ClearLogs();
    dc::ResetDriverState();
    dc::Client_Logging(1);
    emulated.Reset({}, {});
    if (c.qupReply != nullptr) emulated.Emulator().replyOverrides["?qup"] = c.qupReply;
    WriteRegistry(RegistryWithValue("00000003"));
    if (c.deviceAbsent) opener.FailNextOpens(31);
    EXPECT_EQ(dc::Client_Initialize(), 101);
    const int attempts = opener.Attempts();
    const size_t writes = Link() ? Link()->Writes().size() : 0;
    // Later calls neither talk to the device again nor call it identified.
    EXPECT_EQ(dc::Client_Initialize(), 101);
    EXPECT_EQ(dc::Client_BL_Mode("Yvra t4170"), 2);
    EXPECT_EQ(opener.Attempts(), attempts);
    EXPECT_EQ(Link() ? Link()->Writes().size() : 0, writes);
    EXPECT_EQ(S().moduleText.View(), "M8346D");  // from the registry
    EXPECT_FALSE(Logged("model ID match!: 0"));
    dc::ClosePort();
  }
}

TEST_F(ClientInterface, ModelCheck) {
  struct Case {
    const char* imageModel;
    const char* deviceModel;
    bool deviceAbsent;
    int result;
    const char* logged;
  };
  const Case cases[] = {
      {"Yvra t4170", "Yvra t4170", false, 0, "model ID match!: 0"},
      {"ROM for Yvra t4199 (EU)", "Yvra t4170", false, 0, "model ID match!: 0"},  // eight characters compared
      {"Yvra t5170", "Yvra t4170", false, 1, "model ID not supported!: 0"},
      {"t4170", "Yvra t4170", false, 1, "model ID not supported!: 0"},
      {nullptr, "Yvra t4170", false, 1, "model ID not supported!: 0"},
      {"Yvra t4170", "Yvra t4270", false, 3, "model ID does not match!: 0"},
      {"Yvra t4170", "t4170", false, 3, "model ID does not match!: 0"},
      {"Yvra t4170", "Yvra t4170", true, 2, "CreateFile failed: 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    ClearLogs();
    dc::ResetDriverState();
    dc::Client_Logging(1);
    UseModule("M8346B", c.deviceModel);
    if (c.deviceAbsent) opener.FailNextOpens(31);
    EXPECT_EQ(dc::Client_BL_Mode(c.imageModel), c.result);
    EXPECT_TRUE(Logged(c.logged));
    if (c.imageModel != nullptr && std::strstr(c.imageModel, "Yvra") != nullptr) {
      EXPECT_EQ(S().imageModelText.View(), std::strstr(c.imageModel, "Yvra"));
    }
    dc::ClosePort();
  }
}

TEST_F(ClientInterface, RadioComponentLooksForTheModuleLetter) {
  struct Case {
    const char* module;
    int type;
    const char* list;
    int result;
    const char* logged;
  };
  const Case cases[] = {
      {"M8346B", 3, "", 0, nullptr},
      {"M8346B", 7, "ABC", 0, "B module avaliable: 0"},
      {"M8346B", 0x10007, "ACE", 1, "B module avaliable: 1"},  // only the low 16 bits count
      {"M8346B", 7, "", 0, "B module avaliable: 0"},
      {"M8346B", 7, nullptr, 0, "B module avaliable: 0"},
      {"M8346D", 7, "D", 1, "D module avaliable: 1"},  // D is looked for as C
      {"M8346D", 7, "C", 0, "D module avaliable: 0"},
      {"M8346E", 7, "E", 0, "E module avaliable: 0"},
      {"M8346", 7, "BCE", 1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.module) + " " + (c.list ? c.list : "null"));
    ClearLogs();
    dc::ResetDriverState();
    dc::Client_Logging(1);
    UseModule(c.module);
    EXPECT_EQ(dc::Client_Component(c.type, c.list), c.result);
    if (c.logged != nullptr) {
      EXPECT_TRUE(Logged(c.logged));
    }
    if (c.logged == nullptr) {
      for (const auto& e : LogEntries()) EXPECT_EQ(e.find("module avaliable"), std::string::npos) << e;
    }
    dc::ClosePort();
  }
}

TEST_F(ClientInterface, SelectionAddsWeightAndRefusesWhatCannotBeOpened) {
  Identify();
  std::string good = WriteFile("os.nb0", "data");
  EXPECT_EQ(dc::Client_FlashOS(good.c_str(), 2), 0);
  EXPECT_EQ(S().totalWeight.load(), 280u);
  EXPECT_EQ(S().Image(dc::ImageKind::OperatingSystem).dwHeaderLen, 2u);
  EXPECT_TRUE(Logged("Successfully opened NBF file: " + good + ": 0"));

  std::string missing = (dir_ / "missing.nb0").string();
  EXPECT_EQ(dc::Client_FlashFS(missing.c_str(), 0), 401);
  EXPECT_EQ(S().totalWeight.load(), 280u + 193u);  // added before the open
  EXPECT_EQ(S().Image(dc::ImageKind::FileStore).selected, 0);
  EXPECT_EQ(dc::Client_Progress(), -2);
  EXPECT_TRUE(Logged("Failed to open NBF file: " + missing + ": 0"));
  EXPECT_NE(Log().find("DRKClient_Driver completed"), std::string::npos);  // the log was closed

  // A path longer than 127 characters is refused, not cut into another
  // file's name; exactly 127 is fine.
  std::string base = (dir_ / "").string();
  std::string at127 = base + std::string(127 - base.size(), 'a');
  std::string at128 = base + std::string(128 - base.size(), 'a');
  WriteFile(at127.substr(base.size()), "x");
  WriteFile(at128.substr(base.size()), "x");
  EXPECT_EQ(dc::Client_FlashCS(at127.c_str(), 0), 0);
  EXPECT_EQ(S().Image(dc::ImageKind::CustomRegion).path.View(), at127);
  EXPECT_EQ(dc::Client_FlashBL(at128.c_str(), 0), 401);
  EXPECT_TRUE(S().Image(dc::ImageKind::Bootloader).path.Empty());
  EXPECT_EQ(dc::Client_FlashAD(nullptr, 0), 401);
  EXPECT_EQ(dc::Client_FlashMC(dir_.c_str(), 0), 401);  // a folder is no image

  // While progress is negative nothing starts.
  EXPECT_EQ(dc::Client_StartFlash(), 1);
  dc::JoinDriverThreads();
  EXPECT_TRUE(Logged("error, thread not created: 4294967294"));
  EXPECT_FALSE(Logged("Client_StartFlash Ends.: 0"));
}

TEST_F(ClientInterface, RadioWeightCountsTwiceThroughTheGenericSelection) {
  struct Case {
    bool generic;
    uint32_t total;
  };
  for (Case c : {Case{true, 374}, Case{false, 187}}) {
    dc::ResetDriverState();
    emulated.Reset({}, {});
    Identify();
    std::string radio = WriteFile("radio.nb0", Pattern(100));
    if (c.generic) {
      ASSERT_EQ(dc::Client_FlashWAN(radio.c_str(), 0), 0);
    }
    ASSERT_EQ(dc::Client_M8346B(radio.c_str(), 0), 0);
    EXPECT_EQ(RunFlash(), 100);
    EXPECT_EQ(S().totalWeight.load(), c.total);
    dc::ClosePort();
  }
}

TEST_F(ClientInterface, PartitionRequest) {
  struct Case {
    int p1, p2, requested;
  };
  for (Case c : {Case{0, 0, 0}, Case{5, 0, 1}, Case{0, -1, 1}, Case{100, 200, 1}}) {
    dc::Client_SetPartitionSize(7, 7);
    EXPECT_EQ(dc::Client_SetPartitionSize(c.p1, c.p2), 0);
    EXPECT_EQ(S().repartitionRequested, c.requested);
    EXPECT_EQ(S().partition1Size, c.p1);
    EXPECT_EQ(S().partition2Size, c.p2);
  }
}

TEST_F(ClientInterface, WorkerWritesEveryImageInItsOrder) {
  WriteRegistry(std::string(kRegistryHeader) + kKeyLine);
  UseModule("M8346D 2.0");
  Identify();
  struct Image {
    int (*select)(const char*, int);
    const char* name;
    int header;
    const char* command;
  };
  const Image images[] = {
      {dc::Client_FlashAD, "ad", 5, "?wad"},  {dc::Client_M8346D, "gsmd", 7, "?wgs"},
      {dc::Client_FlashOS, "os", 0, "?wos"},  {dc::Client_FlashCS, "cs", 3, "?wcs"},
      {dc::Client_FlashFS, "fs", 9, "?wfs"},  {dc::Client_FlashMC, "mc", 1, "?wup"},
      {dc::Client_FlashBL, "bl", 4, "?wbl"},
  };
  std::map<std::string, std::string> data;
  for (const Image& i : images) {
    std::string bytes = Pattern(i.command == "?wad"s ? 33000 : 20000, static_cast<uint8_t>(i.header + 1));
    data[i.command] = bytes.substr(static_cast<size_t>(i.header));
    ASSERT_EQ(i.select(WriteFile(i.name, bytes).c_str(), i.header), 0) << i.name;
  }
  ASSERT_EQ(dc::Client_M8346B(WriteFile("gsmb", "other").c_str(), 0), 0);
  dc::Client_SetPartitionSize(1000, 2000);
  EXPECT_EQ(RunFlash(), 100);

  std::vector<std::string> order;
  for (const auto& img : emulated.Images()) {
    order.push_back(img.command);
    EXPECT_TRUE(img.complete);
    EXPECT_TRUE(img.data == data[img.command].substr(0, img.command == "?wad" ? 32768 : std::string::npos))
        << img.command;
  }
  EXPECT_EQ(order, (std::vector<std::string>{"?wbl", "?wup", "?wfs", "?wcs", "?wos", "?wgs", "?wad"}));
  // Warm resets after the boot loader and after the repartition.
  EXPECT_EQ(emulated.Emulator().Restarts(), 2);
  EXPECT_EQ(emulated.Emulator().LastPartitionRecord().size(), 10u);
  EXPECT_NE(S().port, nullptr);  // still open: Client_Shutdown releases it
  EXPECT_EQ(S().statusText.Get(), "Flashing Asset Data...");
  EXPECT_TRUE(Logged("D module: 0"));
  EXPECT_NE(ReadRegistry().find("\"Last_GSM_module\"=dword:00000000"), std::string::npos);

  std::vector<std::string> steps;
  for (const auto& e : LogEntries())
    if (e.find("..........") != std::string::npos || e == "100% ??: 0") steps.push_back(e);
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "Flashing bootloader..............: 0", "Repartition...............: 0",
                       "Flashing Microcontroller...............: 0", "Flashing FileStore...............: 0",
                       "Flashing Custom ROM...............: 0", "Flashing OS...............: 0",
                       "Flashing GSM...............: 0", "Flashing Asset data...............: 0", "100% ??: 0"}));
  EXPECT_EQ(dc::Client_Shutdown(), 0);
}

TEST_F(ClientInterface, AFailedStepClosesThePortAndEndsTheRun) {
  Identify();
  emulated.Emulator().replyOverrides["?wfs"] = "x\x02";
  ASSERT_EQ(dc::Client_FlashFS(WriteFile("fs", Pattern(10)).c_str(), 0), 0);
  ASSERT_EQ(dc::Client_FlashOS(WriteFile("os", Pattern(10)).c_str(), 0), 0);
  EXPECT_EQ(RunFlash(), -3);
  EXPECT_EQ(S().port, nullptr);
  EXPECT_EQ(std::count(emulated.Emulator().Commands().begin(), emulated.Emulator().Commands().end(), "?wos"), 0);
  EXPECT_FALSE(Logged("Flashing OS...............: 0"));
}

TEST_F(ClientInterface, RadioStepWithoutAKnownVariantFailsInsteadOfHanging) {
  UseModule("M8346 rev 2");  // names the module but no variant
  Identify();
  ASSERT_EQ(dc::Client_M8346B(WriteFile("gsm", Pattern(10)).c_str(), 0), 0);
  EXPECT_EQ(RunFlash(), -2);
  EXPECT_EQ(S().port, nullptr);
  EXPECT_TRUE(emulated.Images().empty());
}

TEST_F(ClientInterface, ReformatTimerMovesARunningProgressOnly) {
  struct Case {
    int32_t before;
    int32_t after;
    uint32_t doneWeight;
  };
  for (Case c : {Case{5, 7, 24}, Case{98, 99, 24}, Case{100, 100, 24}, Case{-1, -1, 0}}) {
    SCOPED_TRACE(c.before);
    S().doneWeight = 0;
    S().progress = c.before;
    EXPECT_EQ(dc::CreateReformatTimer(), 1);
    dc::JoinDriverThreads();
    EXPECT_EQ(dc::Client_Progress(), c.after);
    EXPECT_EQ(S().doneWeight.load(), c.doneWeight);
  }
  EXPECT_TRUE(Logged("error, thread not created: 4294967295"));
  EXPECT_EQ(clock.SleptMs(), 3u * 10000u);
}

TEST_F(ClientInterface, HostBuffersAreFilledOnlyToTheirSizes) {
  bootsim::EmulatorIdentity id;
  id.modelText = std::string(80, 'M');
  id.osText = "ABCDEFGHIJ" + std::string(80, 'L');
  id.hardwareText = std::string(80, 'H');
  emulated.Reset(id, {});
  WriteRegistry(RegistryWithValue("00000002"));
  Identify();
  EXPECT_EQ(S().hwIdLine.View(), "HWID = " + std::string(24, 'H'));
  struct Case {
    int (*call)(char*);
    size_t size;
    std::string expected;
  };
  S().statusText.Set(std::string(300, 'S'));
  const Case cases[] = {
      {dc::Client_ModelID, 32, std::string(31, 'M')},
      {dc::Client_OS_Ver, 9, "ABCDEFGH"},
      {dc::Client_OS_Lang, 32, "J" + std::string(30, 'L')},  // from the tenth character on
      {dc::Client_StatusMsg, 256, std::string(255, 'S')},
  };
  for (const Case& c : cases) {
    std::vector<char> buf(c.size + 16, '\x5A');
    EXPECT_EQ(c.call(buf.data()), 0);
    EXPECT_EQ(std::string(buf.data()), c.expected);
    for (size_t i = c.size; i < buf.size(); ++i) EXPECT_EQ(buf[i], '\x5A') << "guard byte " << i;
  }
}

TEST_F(ClientInterface, StatusTextIsNeverSeenHalfWritten) {
  std::atomic<bool> stop{false};
  const std::string a(200, 'a'), b(255, 'b');
  std::thread writer([&] {
    for (int i = 0; !stop; ++i) S().statusText.Set(i % 2 ? a : b);
  });
  char buf[256];
  int torn = 0;
  for (int i = 0; i < 20000; ++i) {
    dc::Client_StatusMsg(buf);
    std::string s(buf);
    if (!(s.empty() || s == a || s == b)) ++torn;
  }
  stop = true;
  writer.join();
  EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace flashtest
