// Dialogs: templates as the resource compiler writes them, dialog units,
// dialogs made from templates, the keys of dialogs, modal loops and message
// boxes, answered by a person or, with nobody in front, from the answer
// queue.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/automation/answer_queue.h"
#include "platform/automation/automation.h"
#include "platform/automation/headless_person.h"
#include "platform/controls/controls.h"
#include "platform/device.h"
#include "platform/journal.h"
#include "platform/resource_library.h"
#include "platform/windows/dialog.h"
#include "platform/windows/focus.h"
#include "platform/windows/message_box.h"
#include "platform/windows/messages.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"

namespace platform {
namespace {

using window_test::StepsPerson;
using window_test::WindowTest;
namespace automation = platform::automation;

constexpr uint16_t kPortraitPage = 100;

class DialogTest : public WindowTest {
 protected:
  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};
};

std::vector<uint8_t> TemplateBytes(uint16_t id) {
  const auto block = FindDialogTemplate(id);
  EXPECT_TRUE(block.has_value()) << id;
  return block ? std::vector<uint8_t>(block->bytes.begin(), block->bytes.end()) : std::vector<uint8_t>{};
}

intptr_t Quiet(Hwnd, uint32_t message, WParam, LParam) { return message == WM_INITDIALOG ? 1 : 0; }

TEST_F(DialogTest, TemplatesReadAsTheResourceCompilerWroteThem) {
  const std::vector<uint8_t> bytes = TemplateBytes(kPortraitPage);
  DialogTemplateError error;
  const auto t = ParseDialogTemplate(bytes, &error);
  ASSERT_TRUE(t.has_value()) << error.message;
  EXPECT_FALSE(t->extended);
  EXPECT_EQ(t->style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(t->title, u"Gallery");
  EXPECT_TRUE(t->hasFont);
  EXPECT_EQ(t->pointSize, 8);
  EXPECT_EQ(t->faceName, u"Tahoma");
  EXPECT_EQ((std::array{t->x, t->y, t->cx, t->cy}), (std::array{0, 0, 160, 165}));
  ASSERT_EQ(t->items.size(), 20u);
  struct Item {
    size_t index;
    uint32_t id;
    const char16_t* className;
    const char16_t* text;
  } items[] = {
      {0, 1155, u"Static", u"Connection settings"},
      {1, 0xFFFF, u"Static", u"Name:"},
      {2, 1031, u"Edit", u""},
      {4, 1046, u"ComboBox", u""},
      {15, 1173, u"msctls_progress32", u""},
      {18, 1, u"Button", u"OK"},
  };
  for (const Item& i : items) {
    EXPECT_EQ(t->items[i.index].id, i.id) << i.index;
    // The resource compiler writes class names in capitals.
    EXPECT_TRUE(EqualsNoCase(t->items[i.index].className, i.className)) << i.index;
    EXPECT_EQ(t->items[i.index].text, i.text) << i.index;
  }
  EXPECT_EQ(t->items[18].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(t->items[4].style & CBS_TYPEMASK, CBS_DROPDOWNLIST);

  // An extended template (DIALOGEX), from the resource loader's fixture.
  std::ifstream in(DIALOGS_RES_PATH, std::ios::binary);
  const std::string res((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ResourceFile file;
  ASSERT_TRUE(file.Parse(res));
  const ResourceRecord* record = file.Find(kResourceTypeDialog, uint16_t{9062});
  ASSERT_NE(record, nullptr);
  const auto extended = ParseDialogTemplate(file.Data(*record), &error);
  ASSERT_TRUE(extended.has_value()) << error.message;
  EXPECT_TRUE(extended->extended);
  EXPECT_EQ(extended->faceName, u"Tahoma");
  ASSERT_EQ(extended->items.size(), 1u);
  EXPECT_EQ(extended->items[0].id, 1155u);
  EXPECT_EQ(extended->items[0].text, u"Country");
}

TEST_F(DialogTest, EveryCutShortTemplateFailsAtTheFieldThatDoesNotFit) {
  const std::vector<uint8_t> bytes = TemplateBytes(kPortraitPage);
  for (size_t n = 0; n < bytes.size(); ++n) {
    // The last control's data may end without padding; anything shorter
    // than the last field fails.
    DialogTemplateError error;
    const auto t = ParseDialogTemplate(std::span(bytes.data(), n), &error);
    if (t.has_value()) {
      ADD_FAILURE() << "a template cut to " << n << " of " << bytes.size() << " bytes parsed";
      break;
    }
    EXPECT_EQ(error.status, DialogTemplateStatus::Truncated) << n;
    EXPECT_LE(error.offset, n) << n;
  }
  // Counts and versions that cannot be.
  std::vector<uint8_t> manyControls = bytes;
  manyControls[8] = 0xFF;
  manyControls[9] = 0x7F;
  DialogTemplateError error;
  EXPECT_FALSE(ParseDialogTemplate(manyControls, &error));
  EXPECT_EQ(error.status, DialogTemplateStatus::TooManyControls);
  EXPECT_EQ(error.offset, 8u);
  const uint8_t version2[] = {2, 0, 0xFF, 0xFF, 0, 0, 0, 0};
  EXPECT_FALSE(ParseDialogTemplate(version2, &error));
  EXPECT_EQ(error.status, DialogTemplateStatus::BadVersion);
}

TEST_F(DialogTest, DialogUnitsBecomePixelsThroughTheFontsBaseUnits) {
  const Hwnd page = CreateDialogParam(kPortraitPage, kNoWindow, Quiet, 0);
  ASSERT_TRUE(page);
  // Tahoma at 8 points: four horizontal units are 6 pixels, eight vertical
  // ones 13; the page of 160 x 165 units fills a portrait working area.
  Rect client;
  GetClientRect(page, &client);
  EXPECT_EQ(client, (Rect{0, 0, 240, 268}));
  struct Case {
    int id;
    Rect units;
  } cases[] = {{1031, {46, 16, 156, 28}}, {1300, {4, 136, 78, 148}}, {2, {82, 151, 156, 163}}};
  for (const Case& c : cases) {
    Rect expected = c.units;
    ASSERT_TRUE(MapDialogRect(page, &expected));
    Rect actual;
    GetWindowRect(GetDlgItem(page, c.id), &actual);
    MapWindowRect(kNoWindow, page, &actual);
    EXPECT_EQ(actual, expected) << c.id;
    EXPECT_EQ(expected.left, c.units.left * 6 / 4) << c.id;
  }
  // A top-level dialog's place counts from the working area: its client
  // area starts below the navigation bar, the caption and the frame lines.
  Point origin{0, 0};
  ClientToScreen(page, &origin);
  EXPECT_EQ(origin, (Point{1, 26 + 26 + 4}));
}

TEST_F(DialogTest, TabEnterAndEscapeMoveAndCommandAsOnTheHandheld) {
  std::vector<uint16_t> commands;
  static std::vector<uint16_t>* seen;
  seen = &commands;
  auto procedure = [](Hwnd, uint32_t message, WParam wParam, LParam) -> intptr_t {
    if (message == WM_INITDIALOG) return 1;
    if (message == WM_COMMAND && HiWord(wParam) == BN_CLICKED) seen->push_back(LoWord(wParam));
    return 0;
  };
  const Hwnd page = CreateDialogParam(kPortraitPage, kNoWindow, procedure, 0);
  ASSERT_TRUE(page);
  ShowWindow(page, SW_SHOW);
  ASSERT_TRUE(automation::Settle());
  // The first control that takes Tab has the focus, its text selected.
  EXPECT_EQ(GetFocus(), GetDlgItem(page, 1031));
  EnableWindow(GetDlgItem(page, 1062), false);
  ShowWindow(GetDlgItem(page, 1068), SW_HIDE);
  struct Step {
    uint32_t key;
    int focus;  // after the key
  } steps[] = {
      {VK_TAB, 1046}, {VK_TAB, 1069}, {VK_TAB, 1034},  // the disabled box and the hidden radio are passed
      {VK_TAB, 1035}, {VK_TAB, 1036}, {VK_TAB, 1037}, {VK_TAB, 1050},
      {VK_TAB, 1300}, {VK_TAB, 1301}, {VK_TAB, 1},     {VK_TAB, 2},
      {VK_TAB, 1031},  // round again
  };
  for (const Step& s : steps) {
    automation::PressKey(s.key);
    ASSERT_TRUE(automation::Settle());
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), s.focus);
  }
  // Enter on a field clicks the default button; on a push button, that
  // button. Escape is Cancel.
  automation::PressKey(VK_RETURN);
  automation::Settle();
  SetFocus(GetDlgItem(page, 1300));
  automation::PressKey(VK_RETURN);
  automation::PressKey(VK_ESCAPE);
  automation::Settle();
  EXPECT_EQ(commands, (std::vector<uint16_t>{IDOK, 1300, IDCANCEL}));
  // The arrows move through a group of radio buttons and check them.
  ShowWindow(GetDlgItem(page, 1068), SW_SHOW);
  SetFocus(GetDlgItem(page, 1068));
  automation::PressKey(VK_RIGHT);
  automation::Settle();
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 1069);
  EXPECT_EQ(IsDlgButtonChecked(page, 1069), BST_CHECKED);
}

intptr_t EndsOnCommand(Hwnd hwnd, uint32_t message, WParam wParam, LParam) {
  if (message == WM_INITDIALOG) return 1;
  if (message == WM_COMMAND && (LoWord(wParam) == IDOK || LoWord(wParam) == IDCANCEL)) {
    EndDialog(hwnd, LoWord(wParam) == IDOK ? 11 : 22);
    return 1;
  }
  return 0;
}

TEST_F(DialogTest, AModalDialogDisablesItsOwnerUntilItEnds) {
  const Hwnd owner = window_test::MakeRecorder(u"owner", WS_POPUP | WS_VISIBLE, {0, 26, 240, 294});
  Hwnd dialog;
  bool ownerDisabled = false;
  ScopedPerson person(std::make_shared<StepsPerson>(std::vector<std::function<void()>>{
      [&] {
        dialog = automation::FrontWindow();
        ownerDisabled = !IsWindowEnabled(owner);
        EXPECT_EQ(CurrentModalWindow(), dialog);
        automation::Click(GetDlgItem(dialog, 1031));
      },
      [] { automation::TypeText(u"typed"); },
      [&] { EXPECT_EQ(GetDlgItemText(dialog, 1031), u"typed"); automation::PressOk(); },
  }));
  EXPECT_EQ(DialogBoxParam(kPortraitPage, owner, EndsOnCommand, 0), 11);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(DialogTest, DialogBoxReturnsWhatEndDialogSays) {
  ScopedPerson person(std::make_shared<StepsPerson>(std::vector<std::function<void()>>{[] { automation::PressOk(); }}));
  EXPECT_EQ(DialogBoxParam(kPortraitPage, kNoWindow, EndsOnCommand, 0), 11);
  ScopedPerson other(std::make_shared<StepsPerson>(std::vector<std::function<void()>>{[] { automation::PressCancel(); }}));
  EXPECT_EQ(DialogBoxParam(kPortraitPage, kNoWindow, EndsOnCommand, 0), 22);
  EXPECT_EQ(DialogBoxParam(4242, kNoWindow, EndsOnCommand, 0), -1);  // no such template
}

TEST_F(DialogTest, MessageBoxesOfferTheirButtonsAndAreJournalled) {
  struct Case {
    uint32_t type;
    std::vector<int> buttons;
    int answer;       // pressed by the person
    int escape;       // what Escape answers (0: nothing)
  } cases[] = {
      {MB_OK, {IDOK}, IDOK, IDOK},
      {MB_OKCANCEL, {IDOK, IDCANCEL}, IDOK, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, {IDYES, IDNO}, IDNO, 0},
      {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, IDYES, IDCANCEL},
      {MB_RETRYCANCEL | MB_ICONHAND, {IDRETRY, IDCANCEL}, IDRETRY, IDCANCEL},
      {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, IDIGNORE, 0},
  };
  for (const Case& c : cases) {
    std::optional<MessageBoxContent> shown;
    ScopedPerson person(std::make_shared<StepsPerson>(std::vector<std::function<void()>>{
        [&] {
          shown = GetMessageBoxContent(automation::FrontWindow());
          automation::PressKey(VK_ESCAPE);
        },
        [&] {
          // Escape ended the box when it offers an answer for it.
          if (c.escape == 0) {
            EXPECT_EQ(automation::Answer(c.answer), automation::Result::Done);
          }
        },
    }));
    const int answer = MessageBox(kNoWindow, u"Text", u"Caption", c.type);
    ASSERT_TRUE(shown.has_value()) << c.type;
    EXPECT_EQ(shown->buttons, c.buttons) << c.type;
    EXPECT_EQ(answer, c.escape != 0 ? c.escape : c.answer) << c.type;
  }
  const auto journal = CurrentDevice().Journal().Lines();
  ASSERT_FALSE(journal.empty());
  EXPECT_NE(journal.back().find("message box \"Caption\": \"Text\" (no icon; abort/retry/ignore) answered ignore"),
            std::string::npos)
      << journal.back();
}

TEST_F(DialogTest, WithNobodyInFrontMessageBoxesTakeTheAnswerQueue) {
  ScopedPerson nobody(std::make_shared<HeadlessPerson>());
  ASSERT_TRUE(QueueAnswers({"yes", "retry"}));
  std::string why;
  EXPECT_FALSE(QueueAnswers({"maybe"}, &why));
  EXPECT_NE(why.find("maybe"), std::string::npos);
  EXPECT_EQ(PendingAnswers(), (std::vector<std::string>{"yes", "retry"}));
  struct Case {
    uint32_t type;
    int answer;
    const char* noted;
  } cases[] = {
      {MB_YESNO, IDYES, "answer queue: yes"},
      {MB_YESNO, IDNO, "answer queue: retry is not a button of the message box; dismissed with no"},
      {MB_OKCANCEL, IDCANCEL, "answer queue empty: message box dismissed with cancel"},
      {MB_OK, IDOK, "answer queue empty: message box dismissed with ok"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageBox(kNoWindow, u"Choose your operator?", u"Setup", c.type), c.answer) << c.noted;
    const auto journal = CurrentDevice().Journal().Lines();
    ASSERT_GE(journal.size(), 2u);
    EXPECT_NE(journal[journal.size() - 2].find(c.noted), std::string::npos) << journal[journal.size() - 2];
  }
  EXPECT_TRUE(PendingAnswers().empty());
  // Any other modal window is dismissed with Cancel.
  EXPECT_EQ(DialogBoxParam(kPortraitPage, kNoWindow, EndsOnCommand, 0), 22);
  EXPECT_NE(CurrentDevice().Journal().Lines().back().find("nobody in front of the device: \"Gallery\" dismissed"),
            std::string::npos);
}

}  // namespace
}  // namespace platform
