// The skin tool's check and render, and the sample skins judged by them.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "applet/skin/skin_description.h"
#include "applet/skin/skin_scene.h"
#include "tests/support/temp_device.h"
#include "tools/skin/skin_check.h"
#include "tools/skin/skin_render.h"

namespace {

namespace fs = std::filesystem;
using platform::WString;

const fs::path kSkins = fs::path(VELM_SOURCE_DIR) / "resources" / "skins";

struct CommandRun {
  int exitCode;
  std::string output;
};

CommandRun Skin(const std::string& args) {
  const std::string command = std::string(SKIN_TOOL_PATH) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  CommandRun run{-1, ""};
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class SkinToolTest : public ::testing::Test {
 protected:
  void SetUp() override { applet::SkinDescription::ResetStickyColours(); }

  // Copies the sample skins into the device's \Skins folder.
  void InstallSamples() {
    for (const auto& entry : fs::directory_iterator(kSkins))
      if (entry.path().extension() != ".py") device_.WriteFile("Skins/" + entry.path().filename().string(), Slurp(entry.path()));
  }
  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  test_support::TempDevice device_;
};

TEST_F(SkinToolTest, CheckListsWhatTheEngineIgnoresWithItsLine) {
  device_.WriteFile("Skins/flawed.inf",
                    "orphan=1\n"                              // 1
                    "[General]\n"                             // 2
                    "size=240, 268\n"                         // 3
                    "colour=1\n"                              // 4
                    "[Title]\n"                               // 5
                    "type=text\n"                             // 6
                    "Window=0,0,100,20\n"                     // 7
                    "font=LateFont\n"                         // 8
                    "Format=CENTER|middle\n"                   // 9
                    "show=yes\n"                              // 10
                    "Colour=1,2,3\n"                          // 11
                    "Window=0,0,50,20\n"                      // 12
                    "[LateFont]\n"                            // 13
                    "type=Font\n"                             // 14
                    "[Picture]\n"                             // 15
                    "type=picture\n"                          // 16
                    "[Key]\n"                                 // 17
                    "type=button\n"                           // 18
                    "File=missing.gif\n"                      // 19
                    "Size=10,10\n"                            // 20
                    "just a line\n"                           // 21
                    "[Title]\n"                               // 22
                    "type=Rect\n");                           // 23
  std::vector<skin_tool::Finding> findings;
  ASSERT_TRUE(skin_tool::CheckSkin(u"\\Skins\\", u"flawed.inf", findings, nullptr));
  std::vector<std::string> lines;
  for (const auto& f : findings) lines.push_back(skin_tool::FormatFinding("flawed.inf", f));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "flawed.inf:1: a line before the first section is never read",
                       "flawed.inf:4: [General] \"colour\" is not a key of this type",
                       "flawed.inf:8: [Title] \"font\": no font LateFont is declared above this section; the default "
                       "font is used",
                       "flawed.inf:9: [Title] \"Format\": unknown text-format name middle",
                       "flawed.inf:10: [Title] \"show\": not a whole number of digits 0-9",
                       "flawed.inf:11: [Title] \"Colour\" is not a key of this type",
                       "flawed.inf:12: [Title] \"Window\" again: only its first line is read",
                       "flawed.inf:15: [Picture] unknown type \"picture\": the section makes nothing",
                       "flawed.inf:19: [Key] \"File\": the picture file missing.gif does not load",
                       "flawed.inf:21: [Key] a line without \"=\" is never read",
                       "flawed.inf:22: [Title] a second section of this name: its lines are never read, the first "
                       "section's are read again",
                   }));
}

TEST_F(SkinToolTest, CheckNotesStatePicturesOutsideTheirFile) {
  InstallSamples();
  device_.WriteFile("Skins/states.inf",
                    "[Key]\ntype=button\nFile=switch.bmp\nSize=44,24\nUp=0,0\nDown=0,60\n"
                    "[Meter]\ntype=multistate\nFile=signal.gif\nSize=28,20\nstate1=0,0\nstate2=10,90\n");
  std::vector<skin_tool::Finding> findings;
  ASSERT_TRUE(skin_tool::CheckSkin(u"\\Skins\\", u"states.inf", findings, nullptr));
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].line, 6u);
  EXPECT_EQ(findings[0].message, "\"Down\": the state picture lies outside the picture file");
  EXPECT_EQ(findings[1].line, 12u);
}

TEST_F(SkinToolTest, TheSampleSkinsLoadCleanlyAndStackTheirEntries) {
  InstallSamples();
  struct Sample {
    const char16_t* file;
    platform::Rect window;
  };
  for (const Sample& sample : {Sample{u"VELMconfig.inf", {0, 0, 240, 268}}, Sample{u"VELMconfigLS.inf", {0, 0, 320, 188}}}) {
    const std::string name = platform::ToUtf8(sample.file);
    std::vector<skin_tool::Finding> findings;
    ASSERT_TRUE(skin_tool::CheckSkin(u"\\Skins\\", sample.file, findings, nullptr)) << name;
    for (const auto& f : findings) ADD_FAILURE() << skin_tool::FormatFinding(name, f);

    applet::SkinScene scene;
    ASSERT_EQ(scene.Load(u"\\Skins\\", sample.file, nullptr), applet::SkinDib::kOk) << name;
    EXPECT_EQ(scene.WindowRect(), sample.window) << name;
    // The menu stacks the entries it uses, each at the bottom of the one
    // before: in the sample they already lie so.
    const char16_t* entries[] = {u"Internet Connection Information", u"SMS Text Message", u"MMS Multimedia Messages",
                                 u"WAP Information"};
    const applet::SkinElement* previous = nullptr;
    for (const char16_t* entry : entries) {
      const applet::SkinElement* element = scene.FindElement(entry);
      ASSERT_NE(element, nullptr) << name << " " << platform::ToUtf8(entry);
      if (previous != nullptr) EXPECT_EQ(element->Rect().top, previous->Rect().bottom) << platform::ToUtf8(entry);
      previous = element;
    }
    for (const char16_t* section : {u"Info disabled", u"Configuration Title"})
      EXPECT_NE(scene.FindElement(section), nullptr) << name << " " << platform::ToUtf8(section);
  }
}

TEST_F(SkinToolTest, RenderHoldsDisablesAndReducesAsAsked) {
  InstallSamples();
  applet::SkinDib plain, pressed, display;
  ASSERT_TRUE(skin_tool::RenderSkin(u"\\Skins\\", u"VELMconfig.inf", {}, plain, nullptr));
  skin_tool::RenderOptions press;
  press.press = {u"MMS Card"};
  press.disable = {u"Automatic Setup"};
  ASSERT_TRUE(skin_tool::RenderSkin(u"\\Skins\\", u"VELMconfig.inf", press, pressed, nullptr));
  skin_tool::RenderOptions reduce;
  reduce.display = true;
  ASSERT_TRUE(skin_tool::RenderSkin(u"\\Skins\\", u"VELMconfig.inf", reduce, display, nullptr));
  auto differs = [](const applet::SkinDib& a, const applet::SkinDib& b, int y) {
    return !std::equal(a.Row(y), a.Row(y) + a.Width() * 3, b.Row(y));
  };
  EXPECT_TRUE(differs(plain, pressed, 150));   // the MMS card
  EXPECT_FALSE(differs(plain, pressed, 20));   // the title
  EXPECT_TRUE(differs(plain, pressed, 226));   // the switch
  for (int y = 0; y < display.Height(); ++y)
    for (int i = 0; i < display.Width() * 3; ++i) ASSERT_EQ(display.Row(y)[i] % 17, 0) << i << "," << y;

  std::string why;
  skin_tool::RenderOptions unknown;
  unknown.press = {u"No Such Section"};
  EXPECT_FALSE(skin_tool::RenderSkin(u"\\Skins\\", u"VELMconfig.inf", unknown, plain, &why));
  EXPECT_EQ(why, "no element [No Such Section] in the description");
}

TEST(SkinCommandTest, TheCommandLineWritesPngsAndExitsByWhatItFound) {
  std::string pattern = (fs::temp_directory_path() / "velm-skin-tool-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path out = fs::path(pattern) / "menu.png";
  CommandRun r = Skin("render '" + (kSkins / "VELMconfigLS.inf").string() + "' '" + out.string() + "' --display");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  std::ifstream png(out, std::ios::binary);
  std::string head(8, '\0');
  png.read(head.data(), 8);
  EXPECT_EQ(head, "\x89PNG\r\n\x1a\n");
  r = Skin("check '" + (kSkins / "VELMconfig.inf").string() + "'");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output, "");
  std::ofstream(fs::path(pattern) / "bad.inf") << "[A]\ntype=nothing\n";
  r = Skin("check '" + (fs::path(pattern) / "bad.inf").string() + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("bad.inf:1: [A] unknown type \"nothing\""), std::string::npos) << r.output;
  r = Skin("render '" + (fs::path(pattern) / "missing.inf").string() + "' x.png");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Skin("--help").output.find("render") != std::string::npos);
  fs::remove_all(pattern);
}

}  // namespace
