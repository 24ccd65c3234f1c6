// handheld connections and handheld provisioning, as an integrator uses
// them to try an operator database entry on a device.

#include <filesystem>

#include "tests/tools/handheld_run.h"

namespace {

using namespace handheld_test;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(HandheldCommand, InitGivesThePhoneItsDefaultEntryAndPhoneProgram) {
  struct Case {
    const char* options;
    const char* entry;
    bool phoneProgram;
  } cases[] = {{"", "`38400 Default", true},
               {"--language fr ", "`D\u00e9faut 38400", true},
               {"--without-cprog ", "`38400 Default", false}};
  for (const Case& c : cases) {
    ASSERT_EQ(Handheld("init --force " + std::string(c.options) + Dir()).exitCode, 0) << c.options;
    EXPECT_EQ(fs::exists(dir_ / "fs" / "Windows" / "cprog.exe"), c.phoneProgram) << c.options;
    CommandRun r = Handheld("connections " + Dir());
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(Has(r.output, std::string("Phonebook\n  ") + c.entry +
                                  "\n    number            (none)\n"
                                  "    device            Hayes Compatible on COM1: (modem)\n"))
        << r.output;
    EXPECT_TRUE(Has(r.output, "    speed             38400 bit/s\n")) << r.output;
  }
  EXPECT_NE(Handheld("init --force --language de " + Dir()).exitCode, 0);
}

TEST_F(HandheldCommand, WriteGoesThroughAProvisioningDocument) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  CommandRun r = Handheld("connections " + Dir() + " write 'Orange F' --kind GPRS");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output,
            "wrote \"Orange Internet\" (GPRS of Orange F) into the network Internet through a "
            "provisioning document (0001.xml)\n");

  r = Handheld("connections " + Dir());
  EXPECT_TRUE(Has(r.output, "  Orange Internet\n"
                            "    number            (none)\n"
                            "    device            Cellular Line (modem)\n"
                            "    IP address        assigned by the network\n"
                            "    name servers      194.51.3.56, 194.51.3.76 (WINS 0.0.0.0, 0.0.0.0)\n"
                            "    user name         orange\n"
                            "    access point      orange.fr\n"))
      << r.output;
  EXPECT_TRUE(Has(r.output, "    Orange Internet   Internet {ADB0B001-10B5-3F39-27C6-9742E785FCD4}, Enabled 1\n"))
      << r.output;

  r = Handheld("provisioning " + Dir() + " 1");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output.rfind("=== 0001.xml\n"
                           "# 000001 configuration manager accepted document 0001: CM_GPRSEntries\n"
                           "<wap-provisioningdoc>\n"
                           "<characteristic type=\"CM_GPRSEntries\">\n"
                           "<characteristic type=\"Orange Internet\">\n",
                           0),
            0u)
      << r.output;
  EXPECT_EQ(Handheld("provisioning " + Dir()).output, r.output);
  r = Handheld("provisioning " + Dir() + " 2");
  EXPECT_EQ(r.exitCode, 1);
}

TEST_F(HandheldCommand, WriteWithoutThePhoneProgramMakesThePhonebookEntry) {
  ASSERT_EQ(Handheld("init --without-cprog " + Dir()).exitCode, 0);
  CommandRun r = Handheld("connections " + Dir() + " write 'Orange F'");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_TRUE(Has(r.output, "as a phonebook entry with its connection-manager keys")) << r.output;
  ASSERT_EQ(Handheld("connections " + Dir() + " write 'Orange F' --kind csd --modem 'QZ7100 - GSM'").exitCode, 0);

  r = Handheld("connections " + Dir());
  EXPECT_TRUE(Has(r.output, "  Orange GSM Data\n"
                            "    number            +33607626464\n"))
      << r.output;
  EXPECT_TRUE(Has(r.output, "  Orange Internet\n"
                            "    number            *99***1#\n"))
      << r.output;
  EXPECT_TRUE(Has(r.output, "    modem commands    +CGDCONT=1,\"IP\",\"orange.fr\"\n"
                            "    speed             19200 bit/s\n"))
      << r.output;
  EXPECT_TRUE(Has(r.output, "    speed             115200 bit/s\n")) << r.output;  // the CSD modem
  // Written second, the CSD connection is the enabled one of the network.
  EXPECT_TRUE(Has(r.output, "    Orange GSM Data   Internet {ADB0B001-10B5-3F39-27C6-9742E785FCD4}, Enabled 1\n"
                            "    Orange Internet   Internet {ADB0B001-10B5-3F39-27C6-9742E785FCD4}, Enabled 0\n"))
      << r.output;
  EXPECT_TRUE(Has(r.output, "    HTTP-{ADB0B001-10B5-3F39-27C6-9742E785FCD4}\n"
                            "      proxy             new-inet:1159, type 0, Enable 1\n"))
      << r.output;
  EXPECT_EQ(Handheld("provisioning " + Dir()).output, "no documents were handed to the configuration manager\n");
}

TEST_F(HandheldCommand, WriteSaysWhyItWroteNothing) {
  ASSERT_EQ(Handheld("init " + Dir()).exitCode, 0);
  struct Case {
    const char* args;
    const char* message;
  } cases[] = {
      {"Atlantis", "no operator \"Atlantis\" with connections in the database"},
      {"SFR --kind WAPCSD", "\"SFR\" does not offer that kind of connection"},
      {"SFR --kind SMS", "unknown kind \"SMS\""},
      {"'Bouygues T\u00e9l\u00e9com'", "cannot hold a connection named \"Bouygues T\u00e9l\u00e9com Internet\""},
  };
  for (const Case& c : cases) {
    CommandRun r = Handheld("connections " + Dir() + " write " + c.args);
    EXPECT_EQ(r.exitCode, 1) << c.args;
    EXPECT_TRUE(Has(r.output, c.message)) << r.output;
  }
  CommandRun r = Handheld("connections " + Dir() + " write 'Bouygues T\u00e9l\u00e9com' --name Bouygues");
  EXPECT_EQ(r.exitCode, 0) << r.output;
}

TEST_F(HandheldCommand, ConnectionCommandsHaveHelp) {
  for (const char* sub : {"connections", "connections x write", "provisioning"}) {
    CommandRun r = Handheld(std::string(sub) + " --help");
    EXPECT_EQ(r.exitCode, 0) << sub;
    EXPECT_TRUE(Has(r.output, "Usage")) << sub;
  }
}

}  // namespace
