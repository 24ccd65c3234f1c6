// The handheld command as a user runs it.

#include <filesystem>
#include <fstream>

#include "tests/tools/handheld_run.h"

namespace {

using namespace handheld_test;

TEST_F(HandheldCommand, InitLaysOutADeviceAndRefusesANonEmptyFolder) {
  CommandRun r = Handheld("init " + Dir());
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_TRUE(fs::is_directory(dir_ / "fs" / "Windows"));
  EXPECT_TRUE(fs::is_directory(dir_ / "fs" / "Yvra ROM" / "GPRS Settings"));
  EXPECT_TRUE(fs::is_directory(dir_ / "fs" / "Yvra File Store"));
  // The configuration menu's sample skins come with their pictures.
  for (const char* skin : {"VELMconfig.inf", "VELMconfigLS.inf", "icons.gif", "background.jpg"})
    EXPECT_TRUE(fs::is_regular_file(dir_ / "fs" / "Yvra ROM" / "GPRS Settings" / skin)) << skin;
  EXPECT_NE(Slurp(dir_ / "device.ini").find("AnsiCodePage=1252"), std::string::npos);
  EXPECT_NE(Slurp(dir_ / "sim.ini").find("Status=ready"), std::string::npos);

  r = Handheld("init " + Dir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("not empty"), std::string::npos) << r.output;
  EXPECT_EQ(Handheld("init --force " + Dir()).exitCode, 0);
}

TEST_F(HandheldCommand, RegPrintsTheRegistryOrOneKey) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  CommandRun r = Handheld("reg " + Dir());
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(r.output.find("[HKEY_CURRENT_USER\\SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings]"),
            std::string::npos);
  r = Handheld("reg " + Dir() + " 'HKCU\\software\\orlo'");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("[HKEY_CURRENT_USER\\SOFTWARE\\ORLO]"), std::string::npos) << r.output;
  r = Handheld("reg " + Dir() + " 'HKCU\\Nothing'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("no such key"), std::string::npos);
  r = Handheld("reg '" + base_.string() + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("is not an emulated device"), std::string::npos);
}

TEST_F(HandheldCommand, SimSetsAndChecksItsInput) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  CommandRun r = Handheld("sim " + Dir() + " --imsi 262019876543210 --status 0xFF000003");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output, "status 0xFF000003, IMSI 262019876543210\n");
  EXPECT_EQ(Handheld("sim " + Dir() + " --imsi 12ab").exitCode, 1);
  EXPECT_EQ(Handheld("sim " + Dir() + " --status busy").exitCode, 1);
  EXPECT_EQ(Handheld("sim " + Dir()).output, "status 0xFF000003, IMSI 262019876543210\n");
}

TEST_F(HandheldCommand, HardResetRestoresTheRegistryAndKeepsFiles) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  const std::string factory = Slurp(dir_ / "registry.reg");
  {
    std::ofstream reg(dir_ / "registry.reg", std::ios::app);
    reg << "[HKEY_CURRENT_USER\\Added]\n\"x\"=\"1\"\n";
  }
  std::ofstream(dir_ / "fs" / "Yvra File Store" / "VELM.DAT") << "document";
  CommandRun r = Handheld("reset --hard " + Dir());
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("no start-up program \\Windows\\VELMauto.exe"), std::string::npos);
  EXPECT_EQ(Slurp(dir_ / "registry.reg"), factory);
  EXPECT_EQ(Slurp(dir_ / "fs" / "Yvra File Store" / "VELM.DAT"), "document");
  r = Handheld("journal " + Dir());
  EXPECT_EQ(r.output,
            "000001 reset hard\n"
            "000002 process not found: \\Windows\\VELMauto.exe\n");
}

TEST_F(HandheldCommand, ResetRunsTheStartupProgramOnTheDevice) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  const fs::path program = dir_ / "fs" / "Windows" / "VELMauto.exe";
  std::ofstream(program) << "#!/bin/sh\necho ran > \"$VELM_DEVICE_ROOT/fs/ran.txt\"\nexit 3\n";
  fs::permissions(program, fs::perms::owner_all);
  CommandRun r = Handheld("reset " + Dir());
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("ran \\Windows\\VELMauto.exe (exit code 3)"), std::string::npos) << r.output;
  EXPECT_EQ(Slurp(dir_ / "fs" / "ran.txt"), "ran\n");
}

TEST_F(HandheldCommand, EveryCommandHasHelpAndBadUsageFails) {
  for (const char* sub : {"", "init", "reg", "journal", "sim", "reset", "operators",
                          "operators x list", "operators x find", "operators x check",
                          "operators x import"}) {
    CommandRun r = Handheld(std::string(sub) + " --help");
    EXPECT_EQ(r.exitCode, 0) << sub;
    EXPECT_NE(r.output.find("Usage"), std::string::npos) << sub;
  }
  EXPECT_NE(Handheld("").exitCode, 0);
  EXPECT_NE(Handheld("frobnicate").exitCode, 0);
  EXPECT_NE(Handheld("init").exitCode, 0);
}

TEST_F(HandheldCommand, OperatorsShowsTheInstalledSampleDatabase) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  CommandRun r = Handheld("operators " + Dir() + " countries");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("database \\Yvra ROM\\GPRS Settings\\GPRSope.inf\n(No country)\nFrance (33)\n"),
            std::string::npos)
      << r.output;

  r = Handheld("operators " + Dir() + " list 33");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("(Select your operator)\nOrange F  [GPRS CSD WAPGPRS WAPCSD]\nSFR "),
            std::string::npos)
      << r.output;
  r = Handheld("operators " + Dir() + " list France --kinds 2");
  EXPECT_EQ(r.output.find("Bouygues"), std::string::npos) << r.output;
  EXPECT_NE(Handheld("operators " + Dir() + " list Atlantis").exitCode, 0);

  // Without a number, the SIM's IMSI (20801...) is looked up.
  r = Handheld("operators " + Dir() + " find");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("section [Orange F], country France"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("apn                 orange.fr\n"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("SMS centre          +33689004000"), std::string::npos) << r.output;
  r = Handheld("operators " + Dir() + " find 20412");
  EXPECT_NE(r.output.find("record for CSD:"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("phoneNumber         +31 626 000 010\n"), std::string::npos) << r.output;
  EXPECT_NE(Handheld("operators " + Dir() + " find 99999").exitCode, 0);
}

TEST_F(HandheldCommand, OperatorsCheckNamesTheSampleDataFindingsAndPrefersTheWorkingFolder) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  CommandRun r = Handheld("operators " + Dir() + " check");
  EXPECT_EQ(r.exitCode, 2) << r.output;
  EXPECT_NE(r.output.find("[Telfort] the operator has no SMS centre"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("[Sprint PCS] the operator offers only 1XRTT CDMA WAP1XRTT"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("[Vodafone Ireland] CountryProvider=353: the country table has no country"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("3 finding(s)"), std::string::npos) << r.output;

  // A customised database in the working folder is the one the applet reads.
  const fs::path working = dir_ / "fs" / "Yvra File Store" / "GPRS Settings";
  fs::create_directories(working);
  std::ofstream(working / "GPRSope.inf") << "[Orange F]\nCountryProvider=33\nNetwork=GPRS\n"
                                            "HomeNetworkNumber=20801\n";
  r = Handheld("operators " + Dir() + " check");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("no findings in \\Yvra File Store\\GPRS Settings\\GPRSope.inf and "
                          "\\Yvra ROM\\GPRS Settings\\OPE.inf"),
            std::string::npos)
      << r.output;
}

TEST_F(HandheldCommand, OperatorsImportWritesTheWorkingDatabaseOnceAndAccountsForIt) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  const std::string fixture = "'" + std::string(VELM_TEST_DATA_DIR) + "/providers/names.xml'";
  CommandRun r = Handheld("operators " + Dir() + " import " + fixture);
  ASSERT_EQ(r.exitCode, 0) << r.output;
  for (const char* words : {
           "names.xml:10: orange (FR): written as \"orange (France)\", since the operator dialog would hide it "
           "behind \"Orange Business\", listed before it\n",
           "into \\Yvra File Store\\GPRS Settings\\GPRSope.inf (code page 1252):\n",
           "  written           10 sections (10 with GPRS, 0 with CDMA only) of 10 providers in 3 countries\n",
           "  transliterated    1: \u0627\u06cc\u0631\u0627\u0646\u0633\u0644 (IR) as \"ayransl\"",
           "  no country        1 countries lack a row in the applet's country table; their 1 operators are listed "
           "under \"(No country)\"",
           "  SMS centres       the provider list has none; the applet keeps those of "
           "\\Yvra ROM\\GPRS Settings\\OPE.inf\n"})
    EXPECT_NE(r.output.find(words), std::string::npos) << words << "\n" << r.output;

  // The applet now reads the imported database.
  r = Handheld("operators " + Dir() + " list France");
  EXPECT_NE(r.output.find("database \\Yvra File Store\\GPRS Settings\\GPRSope.inf\n(Select your operator)\n"
                          "Orange Business  [GPRS]\norange (France)  [GPRS]\n"),
            std::string::npos)
      << r.output;

  // A database that is there stays, unless --force says otherwise.
  const fs::path written = dir_ / "fs" / "Yvra File Store" / "GPRS Settings" / "GPRSope.inf";
  std::ofstream(written) << "[Mine]\n";
  r = Handheld("operators " + Dir() + " import " + fixture);
  EXPECT_EQ(r.exitCode, 1) << r.output;
  EXPECT_NE(r.output.find("GPRSope.inf exists; --force replaces it"), std::string::npos) << r.output;
  EXPECT_EQ(Slurp(written), "[Mine]\n");
  EXPECT_EQ(Handheld("operators " + Dir() + " import --force " + fixture).exitCode, 0);
  EXPECT_NE(Slurp(written).find("[Orange Business]"), std::string::npos);

  // A list that cannot be read changes nothing.
  r = Handheld("operators " + Dir() + " import --force '" + std::string(VELM_TEST_DATA_DIR) +
               "/providers/malformed.xml'");
  EXPECT_EQ(r.exitCode, 1) << r.output;
  EXPECT_NE(r.output.find("malformed.xml:5: "), std::string::npos) << r.output;
  EXPECT_NE(Slurp(written).find("[Orange Business]"), std::string::npos);
}

}  // namespace

TEST_F(HandheldCommand, RunDrivesAProgramWithAScriptAndPhotographsEachStep) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  const fs::path script = base_ / "steps.txt";
  std::ofstream(script) << "# the gallery's question, then its page\n"
                           "answer yes\n"
                           "tap 1300\n"
                           "answer no\n"
                           "type \"Office\"\n"
                           "ok\n";
  const fs::path shots = base_ / "shots";
  CommandRun r = Handheld("run " + Dir() + " '\\Windows\\gallery.exe' --script '" + script.string() + "' --shots '" +
                          shots.string() + "' -- /ask");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;  // the program ended cleanly
  for (const char* expected : {"line 2: answer yes: done\n", "line 4: answer no: done\n", "line 6: ok: done\n",
                               "no screenshot after the last step: the program ended\n",
                               "\\Windows\\gallery.exe ended with exit code 1\n",
                               "answered yes\n", "answered no\n"})
    EXPECT_NE(r.output.find(expected), std::string::npos) << expected << "\nin\n" << r.output;
  for (const char* shot : {"00-start.png", "01-answer-yes.png", "02-tap-1300.png", "03-answer-no.png", "04-type.png",
                           "run.log"})
    EXPECT_TRUE(fs::is_regular_file(shots / shot)) << shot;

  // A step that cannot be done, and a script that does not parse.
  std::ofstream(script) << "answer yes\ntap 4242\nok\n";
  r = Handheld("run " + Dir() + " '\\Windows\\gallery.exe' --script '" + script.string() + "' -- /ask");
  EXPECT_EQ(r.exitCode, 1) << r.output;
  EXPECT_NE(r.output.find("line 2: tap 4242: no such control"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("line 3: ok: not reached"), std::string::npos) << r.output;
  std::ofstream(script) << "ok\n\nfly away\n";
  r = Handheld("run " + Dir() + " '\\Windows\\gallery.exe' --script '" + script.string() + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("steps.txt:3: unknown step \"fly\""), std::string::npos) << r.output;
}

TEST_F(HandheldCommand, AnswersWaitForTheMessageBoxesNobodyAnswers) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  CommandRun r = Handheld("answer " + Dir() + " yes no");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output, "queued: yes no\n");
  EXPECT_EQ(Handheld("answer " + Dir() + " perhaps").exitCode, 1);
  // Nobody in front: the question takes "yes", the page that follows is
  // dismissed; the next run's question takes "no".
  r = Handheld("run " + Dir() + " '\\Windows\\gallery.exe' -- /ask");
  EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("journal 0"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("answer queue: yes"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("nobody in front of the device: \"Gallery\" dismissed with cancel"), std::string::npos)
      << r.output;
  r = Handheld("run " + Dir() + " '\\Windows\\gallery.exe' -- /ask");
  EXPECT_NE(r.output.find("answer queue: no"), std::string::npos) << r.output;
  r = Handheld("run " + Dir() + " '\\Windows\\gallery.exe' -- /ask");
  EXPECT_NE(r.output.find("answer queue empty: message box dismissed with no"), std::string::npos) << r.output;
  EXPECT_EQ(Handheld("answer " + Dir()).output, "no answers queued\n");
  EXPECT_EQ(Handheld("answer " + Dir() + " ok --clear").output, "queued: ok\n");
}
