// The phone configuring itself, run as the phone runs it: "handheld reset"
// starts \Windows\VELMauto.exe as a process of its own, which loads
// \Windows\VELM.CPL and calls OnBoot, which reads the SIM through
// \Windows\QZUtil.dll. Also the bundle's installation and the answers for
// message boxes.

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/tools/handheld_run.h"

namespace {

using namespace handheld_test;

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class HandheldBoot : public HandheldCommand {
 protected:
  // Resets the device and returns the journal lines the reset added.
  std::string Reset(const std::string& options = "") {
    const std::string before = Handheld("journal " + Dir()).output;
    CommandRun r = Handheld("reset " + options + Dir());
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("ran \\Windows\\VELMauto.exe (exit code 0)"), std::string::npos) << r.output;
    return Handheld("journal " + Dir()).output.substr(before.size());
  }
  std::string Registry(const std::string& key) { return Handheld("reg " + Dir() + " '" + key + "'").output; }
};

TEST_F(HandheldBoot, ResetsWithOneSimThenAnotherThenAHardReset) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);

  // First boot with the sample SIM of Orange France.
  std::string journal = Reset();
  EXPECT_NE(journal.find("process started: \\Windows\\VELMauto.exe"), std::string::npos) << journal;
  EXPECT_EQ(Count(journal, "configuration manager accepted"), 6u) << journal;
  EXPECT_NE(journal.find("event set QZ_MMSDetected"), std::string::npos);
  std::string connections = Handheld("connections " + Dir()).output;
  for (const char* name : {"Orange F GPRS", "Orange F MMS", "WAP Orange F"})
    EXPECT_NE(connections.find(name), std::string::npos) << name << "\n" << connections;
  EXPECT_NE(Registry("HKLM\\SOFTWARE\\Arcsoft\\ArcSoft MMS UA\\Config\\mm1\\6654").find("\"MmscURI\"=\"http://mms.orange.fr\""),
            std::string::npos);
  EXPECT_NE(Registry("HKCU\\SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings").find("\"HardReset\"=\"N\""),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "fs" / "Yvra File Store" / "GPRS Settings" / "VELM.DAT"));

  // The same SIM again: nothing to do.
  journal = Reset();
  EXPECT_EQ(Count(journal, "configuration manager"), 0u) << journal;

  // Another operator's SIM: the first operator's connections make way.
  ASSERT_EQ(Handheld("sim " + Dir() + " --imsi 234151234567890").exitCode, 0);
  journal = Reset();
  EXPECT_NE(journal.find("configuration manager accepted"), std::string::npos) << journal;
  connections = Handheld("connections " + Dir()).output;
  EXPECT_EQ(connections.find("Orange F GPRS"), std::string::npos) << connections;
  EXPECT_NE(connections.find("Vodafone UK GPRS"), std::string::npos) << connections;

  // A hard reset loses the registry's side; the stored record comes back.
  journal = Reset("--hard ");
  EXPECT_NE(journal.find("reset hard"), std::string::npos);
  EXPECT_NE(journal.find("configuration manager accepted"), std::string::npos) << journal;
  EXPECT_NE(Registry("HKCU\\SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings").find("\"HardReset\"=\"N\""),
            std::string::npos);
  EXPECT_NE(Registry("HKLM\\SOFTWARE\\Arcsoft\\ArcSoft MMS UA\\Config\\mm1\\6654")
                .find("\"MmscURI\"=\"http://mms.vodafone.co.uk/servlets/mms\""),
            std::string::npos);
}

TEST_F(HandheldBoot, AnUnknownOperatorIsAskedAboutThroughTheAnswerQueue) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  ASSERT_EQ(Handheld("sim " + Dir() + " --imsi 999991234567890").exitCode, 0);
  CommandRun r = Handheld("answer " + Dir() + " yes");
  EXPECT_EQ(r.output, "queued: yes\n");
  std::string journal = Reset();
  EXPECT_NE(journal.find("(question; yes/no) answered yes"), std::string::npos) << journal;
  EXPECT_NE(journal.find("operator dialog to be shown (starting at the placeholder operator)"),
            std::string::npos)
      << journal;
  // Nobody queued an answer for the next reset: the question is dismissed.
  journal = Reset();
  EXPECT_NE(journal.find("answer queue empty: message box dismissed with no"), std::string::npos) << journal;
  EXPECT_EQ(journal.find("operator dialog"), std::string::npos) << journal;
}

TEST_F(HandheldBoot, TheRebooterRestartsIntoTheBootLauncher) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  const std::string command = "VELM_DEVICE_ROOT='" + dir_.string() + "' '" +
                              (dir_ / "fs" / "Windows" / "rebooter.exe").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string journal = Handheld("journal " + Dir()).output;
  EXPECT_NE(journal.find("000001 HAL control code 0x010120A4 not supported\n"
                         "000002 HAL control code 0x0101003C (reboot)\n"
                         "000003 reset soft\n"
                         "000004 process started: \\Windows\\VELMauto.exe\n"),
            std::string::npos)
      << journal;
  EXPECT_NE(journal.find("event set QZ_MMSDetected"), std::string::npos) << journal;
}

TEST_F(HandheldBoot, AnswerQueuesChecksAndClears) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  EXPECT_EQ(Handheld("answer " + Dir()).output, "no answers queued\n");
  EXPECT_EQ(Handheld("answer " + Dir() + " yes no ok").output, "queued: yes no ok\n");
  CommandRun r = Handheld("answer " + Dir() + " maybe");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("\"maybe\" is not an answer"), std::string::npos) << r.output;
  EXPECT_EQ(Handheld("answer " + Dir() + " --clear cancel").output, "queued: cancel\n");
}

TEST_F(HandheldBoot, InstallAndUninstallTheBundle) {
  ASSERT_EQ(Handheld("init --without-bundle " + Dir()).exitCode, 0);
  const fs::path windows = dir_ / "fs" / "Windows";
  EXPECT_FALSE(fs::exists(windows / "VELM.CPL"));
  EXPECT_TRUE(fs::exists(windows / "QZUtil.dll"));  // the phone's own
  EXPECT_TRUE(fs::exists(windows / "Start Menu" / "Programs" / "SIM Toolkit.lnk"));

  CommandRun r = Handheld("install " + Dir());
  ASSERT_EQ(r.exitCode, 0) << r.output;
  for (const char* file : {"VELM.CPL", "VELMauto.exe", "Kaldset.dll", "rebooter.exe"})
    EXPECT_TRUE(fs::exists(windows / file)) << file;
  EXPECT_TRUE(fs::exists(dir_ / "fs" / "Yvra ROM" / "GPRS Settings" / "GPRSope.inf"));
  EXPECT_FALSE(fs::exists(windows / "Start Menu" / "Programs" / "SIM Toolkit.lnk"));
  EXPECT_FALSE(fs::exists(windows / "Start Menu" / "SIM Toolkit.lnk"));
  EXPECT_FALSE(fs::exists(windows / "Help" / "QZ SIM Toolkit.lnk"));
  std::string journal = Handheld("journal " + Dir()).output;
  for (const char* step :
       {"000001 installer: copied \\Windows\\Kaldset.dll\n", "installer: Install_Init answered 0 (continue)\n",
        "installer: copied \\Windows\\VELM.CPL\n",
        "broadcast WM_SETTINGCHANGE wParam=0xf2 lParam=0x0 to 0 windows\n",
        "posted WM_QUIT to window STK_LOADER \"STK_Loader\": its program ends\n",
        "process not found: \\windows\\VELM.exe\n", "installer: Install_Exit answered 0 (done)\n"})
    EXPECT_NE(journal.find(step), std::string::npos) << step << journal;
  EXPECT_LT(journal.find("Install_Init"), journal.find("copied \\Windows\\VELM.CPL"));

  r = Handheld("uninstall " + Dir());
  ASSERT_EQ(r.exitCode, 0) << r.output;
  for (const char* file : {"VELM.CPL", "VELMauto.exe", "Kaldset.dll", "rebooter.exe"})
    EXPECT_FALSE(fs::exists(windows / file)) << file;
  journal = Handheld("journal " + Dir()).output;
  EXPECT_NE(journal.find("installer: Uninstall_Init answered 0 (continue)"), std::string::npos);
  EXPECT_NE(journal.find("installer: Uninstall_Exit answered 0 (done)"), std::string::npos);
  EXPECT_TRUE(fs::exists(windows / "QZUtil.dll"));
}

TEST_F(HandheldBoot, APhoneWithoutTheMmsClient) {
  ASSERT_EQ(Handheld("init --without-mms-client " + Dir()).exitCode, 0);
  EXPECT_EQ(Handheld("reg " + Dir() + " 'HKLM\\SOFTWARE\\Arcsoft'").exitCode, 1);
  Reset();
  EXPECT_EQ(Handheld("reg " + Dir() + " 'HKLM\\SOFTWARE\\Arcsoft'").exitCode, 1);
  EXPECT_NE(Handheld("connections " + Dir()).output.find("Orange F MMS"), std::string::npos);
}

}  // namespace
