// Automation: scripts of a person's steps, the listing of what the screen
// shows, a script person driving a modal dialog with screenshots, and the
// rendered screen's parts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/automation/automation.h"
#include "platform/automation/automation_script.h"
#include "platform/automation/screen_renderer.h"
#include "platform/automation/script_person.h"
#include "platform/controls/controls.h"
#include "platform/windows/dialog.h"
#include "platform/windows/messages.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_styles.h"
#include "platform/windows/window_messages.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
namespace automation = platform::automation;
using automation::StepKind;
using window_test::WindowTest;

class AutomationTest : public WindowTest {
 protected:
  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};
};

intptr_t EndsOnCommand(Hwnd hwnd, uint32_t message, WParam wParam, LParam) {
  if (message == WM_INITDIALOG) return 1;
  if (message == WM_COMMAND && (LoWord(wParam) == IDOK || LoWord(wParam) == IDCANCEL)) {
    EndDialog(hwnd, LoWord(wParam));
    return 1;
  }
  return 0;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(AutomationScript, StepsParseAndFaultsNameTheirLine) {
  const auto steps = automation::ParseScript(
      "# a comment\n"
      "tap 1300\n"
      "  tap \"&Next\"\n"
      "tap 120 -5\n"
      "type \"a\\tb\\\"c\\\\\"\n"
      "key enter\n"
      "choose 1046 \"France\"\n"
      "choose 1046 #2\n"
      "ok\ncancel\nanswer yes\nrotate landscape\npanel down\nwait 500\nshot after-ok\nlist\r\n");
  ASSERT_TRUE(steps.has_value());
  const StepKind kinds[] = {StepKind::TapId,       StepKind::TapText, StepKind::TapPoint, StepKind::Type,
                            StepKind::Key,         StepKind::ChooseText, StepKind::ChooseIndex, StepKind::Ok,
                            StepKind::Cancel,      StepKind::Answer,  StepKind::Rotate,   StepKind::Panel,
                            StepKind::Wait,        StepKind::Shot,    StepKind::List};
  ASSERT_EQ(steps->size(), std::size(kinds));
  for (size_t i = 0; i < steps->size(); ++i) EXPECT_EQ((*steps)[i].kind, kinds[i]) << i;
  EXPECT_EQ((*steps)[0].id, 1300);
  EXPECT_EQ((*steps)[0].line, 2);
  EXPECT_EQ((*steps)[1].text, u"&Next");
  EXPECT_EQ((*steps)[2].point, (Point{120, -5}));
  EXPECT_EQ((*steps)[3].text, u"a\tb\"c\\");
  EXPECT_EQ((*steps)[4].id, static_cast<int>(VK_RETURN));
  EXPECT_EQ((*steps)[6].number, 2);
  EXPECT_EQ((*steps)[9].id, IDYES);
  EXPECT_EQ((*steps)[10].number, 1);
  EXPECT_EQ((*steps)[11].number, 0);
  EXPECT_EQ((*steps)[12].number, 500);
  EXPECT_EQ(automation::StepLabel((*steps)[9]), "answer-yes");

  const std::string longLine = "type \"" + std::string(5000, 'x') + "\"";
  struct Fault {
    const char* script;
    int line;
    const char* says;
  } faults[] = {
      {"jump 3", 1, "unknown step \"jump\""},
      {"\n\ntype \"open", 3, "not closed"},
      {"type \"a\\q\"", 1, "unknown escape"},
      {"tap", 1, "takes a control id"},
      {"tap 12x", 1, "whole number"},
      {"key hyper", 1, "unknown key"},
      {"answer perhaps", 1, "not a message box button"},
      {"rotate upside", 1, "portrait or landscape"},
      {"wait -1", 1, "milliseconds"},
      {"shot a/b", 1, "letters, digits"},
      {"choose 5 #x", 1, "index"},
      {"ok now", 1, "nothing more"},
      {longLine.c_str(), 1, "longer than"},
  };
  for (const Fault& f : faults) {
    automation::ScriptError error;
    EXPECT_FALSE(automation::ParseScript(f.script, &error).has_value()) << f.script;
    EXPECT_EQ(error.line, f.line) << f.script;
    EXPECT_NE(error.message.find(f.says), std::string::npos) << error.message;
  }
}

TEST_F(AutomationTest, TheListingShowsWindowsAndControlsWithTheirStates) {
  const Hwnd page = CreateDialogParam(100, kNoWindow, EndsOnCommand, 0);
  ASSERT_TRUE(page);
  ShowWindow(page, SW_SHOW);
  SendDlgItemMessage(page, 1046, CB_ADDSTRING, 0, reinterpret_cast<LParam>(u"France"));
  SendDlgItemMessage(page, 1046, CB_ADDSTRING, 0, reinterpret_cast<LParam>(u"Spain"));
  SendDlgItemMessage(page, 1046, CB_SETCURSEL, 1, 0);
  CheckDlgButton(page, 1062, BST_CHECKED);
  EnableWindow(GetDlgItem(page, 1300), false);
  ASSERT_TRUE(automation::Settle());
  const auto windows = automation::ListWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_TRUE(windows[0].active);
  EXPECT_EQ(windows[0].controls.size(), 20u);
  const std::string listing = automation::DescribeWindows(windows);
  for (const char* expected : {"window \"Gallery\" Dialog (0,26)-(242,324) active\n",
                               "  1031 Edit \"\" (70,82)-(235,102) focus\n",
                               "  1046 ComboBox \"Spain\" (70,106)-(235,125) [\"France\", *\"Spain\"]\n",
                               "  1062 Button \"Enabled\" (7,132)-(112,149) checked\n",
                               "  1300 Button \"Message...\" (7,277)-(118,297) disabled\n",
                               "  1173 msctls_progress32 \"\" (7,258)-(235,271) position=0\n"})
    EXPECT_NE(listing.find(expected), std::string::npos) << expected << "\nin\n" << listing;
  EXPECT_EQ(automation::FindControlByText(u"Message..."), GetDlgItem(page, 1300));
  EXPECT_EQ(automation::Click(GetDlgItem(page, 1300)), automation::Result::Disabled);
  EXPECT_EQ(automation::Answer(IDOK), automation::Result::NoMessageBox);
  EXPECT_EQ(automation::Choose(GetDlgItem(page, 1031), u"x"), automation::Result::NotAList);
}

TEST_F(AutomationTest, AScriptPersonDrivesADialogAndPhotographsEachStep) {
  const fs::path shots = device_.Root() / "shots";
  fs::create_directories(shots);
  const fs::path log = device_.Root() / "run.log";
  const auto steps = automation::ParseScript(
      "tap 1031\ntype \"Office\"\ntap 1062\nshot checked\nlist\nok\ntap 1031\n");
  ASSERT_TRUE(steps.has_value());
  auto person = std::make_shared<ScriptPerson>(*steps, shots, log);
  {
    ScopedPerson front(person);
    EXPECT_EQ(DialogBoxParam(100, kNoWindow, EndsOnCommand, 0), IDOK);
  }
  person->Finish();
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(shots)) files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"00-start.png", "01-tap-1031.png", "02-type.png", "03-tap-1062.png",
                                             "04-checked.png", "05-ok.png"}));
  const std::string text = Slurp(log);
  for (const char* expected : {"line 2: type \"Office\": done\n", "  1031 Edit \"Office\"",
                               "  1062 Button \"Enabled\" (7,132)-(112,149) focus checked", "line 6: ok: done\n",
                               "line 7: tap 1031: not reached\n"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
}

TEST_F(AutomationTest, AStepThatCannotBeDoneStopsTheScriptAndThePersonLeaves) {
  const fs::path log = device_.Root() / "run.log";
  const auto steps = automation::ParseScript("tap 4242\nok\n");
  ASSERT_TRUE(steps.has_value());
  auto person = std::make_shared<ScriptPerson>(*steps, fs::path(), log);
  {
    ScopedPerson front(person);
    EXPECT_EQ(DialogBoxParam(100, kNoWindow, EndsOnCommand, 0), IDCANCEL);
  }
  EXPECT_TRUE(person->Failed());
  person.reset();
  const std::string text = Slurp(log);
  for (const char* expected : {"line 1: tap 4242: no such control in the front window\nthe script stops here\n",
                               "nobody in front of the device: \"Gallery\" dismissed with cancel\n",
                               "line 2: ok: not reached\n"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
}

TEST_F(AutomationTest, TheScreenShowsTheShellsBarsAndTheInputPanel) {
  const auto empty = RenderScreen();
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Width(), 240);
  EXPECT_EQ(empty->Height(), 320);
  // The navigation bar on top, the menu bar below, white in between.
  EXPECT_NE(empty->PixelColor(120, 2), Rgb(255, 255, 255));
  EXPECT_EQ(empty->PixelColor(120, 200), Rgb(255, 255, 255));
  EXPECT_NE(empty->PixelColor(2, 318), Rgb(255, 255, 255));
  SipShow(true);
  const auto panel = RenderScreen();
  EXPECT_NE(panel->PixelColor(0, 250), Rgb(255, 255, 255));  // between two keys
  RotateScreen(Orientation::Landscape);
  const auto turned = RenderScreen();
  EXPECT_EQ(turned->Width(), 320);
  EXPECT_EQ(turned->Height(), 240);
}

}  // namespace
}  // namespace platform
