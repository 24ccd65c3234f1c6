// The standard controls: what their messages do, what the pen and the keys
// do to them, and what they tell their parent.
#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/controls.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"
#include "tests/platform/windows/window_fixture.h"

namespace platform {
namespace {

using window_test::Log;
using window_test::MakeRecorder;
using window_test::WindowTest;
using Strings = std::vector<std::string>;
namespace automation = platform::automation;

// The notifications the parent heard, as "id:code".
Strings Notifications() {
  Strings out;
  for (const std::string& line : Log().Take()) {
    const auto at = line.find("WM_COMMAND ");
    if (at == std::string::npos) continue;
    const uintptr_t w = std::stoull(line.substr(at + 11));
    out.push_back(std::to_string(LoWord(w)) + ":" + std::to_string(HiWord(w)));
  }
  return out;
}

class ControlsTest : public WindowTest {
 protected:
  ControlsTest() { parent_ = MakeRecorder(u"parent", WS_POPUP | WS_VISIBLE, {0, 26, 240, 294}); }

  Hwnd Make(const char16_t* cls, uint32_t style, Rect r, int id, const char16_t* text = u"") {
    const Hwnd h = CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.Width(), r.Height(),
                                  parent_, id);
    EXPECT_TRUE(h) << ToUtf8(cls);
    return h;
  }
  void Type(Hwnd control, WStringView text) {
    SetFocus(control);
    automation::TypeText(text);
    ASSERT_TRUE(automation::Settle());
  }

  Hwnd parent_;
};

TEST_F(ControlsTest, ButtonsCheckByKindAndTellTheirParent) {
  struct Case {
    uint32_t kind;
    std::vector<int> afterClicks;  // the check after each of three clicks
  } cases[] = {
      {BS_PUSHBUTTON, {0, 0, 0}},       {BS_CHECKBOX, {0, 0, 0}},          {BS_AUTOCHECKBOX, {1, 0, 1}},
      {BS_AUTO3STATE, {1, 2, 0}},       {BS_RADIOBUTTON, {0, 0, 0}},       {BS_AUTORADIOBUTTON, {1, 1, 1}},
  };
  int id = 10;
  for (const Case& c : cases) {
    const Hwnd button = Make(kButtonClass, c.kind | WS_GROUP, {0, 0, 80, 20}, ++id, u"B");
    Log().Take();
    for (int expected : c.afterClicks) {
      SendMessage(button, BM_CLICK, 0, 0);
      EXPECT_EQ(SendMessage(button, BM_GETCHECK, 0, 0), expected) << c.kind;
    }
    EXPECT_EQ(Notifications(), Strings(3, std::to_string(id) + ":0")) << c.kind;
    DestroyWindow(button);
  }
}

TEST_F(ControlsTest, AutomaticRadioButtonsUncheckTheirGroupOnly) {
  const Hwnd a = Make(kButtonClass, BS_AUTORADIOBUTTON | WS_GROUP, {0, 0, 60, 20}, 1);
  const Hwnd b = Make(kButtonClass, BS_AUTORADIOBUTTON, {0, 20, 60, 40}, 2);
  const Hwnd c = Make(kButtonClass, BS_AUTORADIOBUTTON | WS_GROUP, {0, 40, 60, 60}, 3);
  SendMessage(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(c, BM_SETCHECK, BST_CHECKED, 0);
  // The pen on b: pressed while down, checked when lifted over it.
  ASSERT_EQ(automation::Click(b), automation::Result::Done);
  ASSERT_TRUE(automation::Settle());
  EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetCapture(), kNoWindow);
  // Disabled buttons take no pen.
  EnableWindow(a, false);
  EXPECT_EQ(automation::Click(a), automation::Result::Disabled);
}

TEST_F(ControlsTest, EditFieldsKeepTheirLimitSelectionAndCaret) {
  struct Case {
    const char* name;
    uint32_t style;
    int limit;
    const char16_t* start;
    intptr_t selStart, selEnd;  // set before typing
    const char16_t* typed;
    const char16_t* text;
    int caret;
    int maxText;  // EN_MAXTEXT heard
  } cases[] = {
      {"typing at the end", 0, 30, u"", 0, 0, u"abc", u"abc", 3, 0},
      {"typing over a selection", 0, 30, u"hello", 1, 4, u"E", u"hEo", 2, 0},
      {"all selected", 0, 30, u"hello", 0, -1, u"x", u"x", 1, 0},
      {"the limit stops typing", 0, 3, u"", 0, 0, u"30000", u"300", 3, 2},
      {"a selection makes room", 0, 3, u"123", 0, 1, u"9", u"923", 1, 0},
      {"backspace", 0, 30, u"abc", 3, 3, u"\b\b", u"a", 1, 0},
      {"backspace removes the selection", 0, 30, u"abcd", 1, 3, u"\b", u"ad", 1, 0},
      {"digits only", ES_NUMBER, 30, u"", 0, 0, u"1a2-3", u"123", 3, 0},
      {"capitals", ES_UPPERCASE, 30, u"", 0, 0, u"Gprs", u"GPRS", 4, 0},
      {"read only", ES_READONLY, 30, u"fixed", 5, 5, u"xy\b", u"fixed", 5, 0},
  };
  for (const Case& c : cases) {
    const Hwnd edit = Make(kEditClass, WS_BORDER | c.style, {10, 10, 150, 30}, 7, c.start);
    SendMessage(edit, EM_LIMITTEXT, static_cast<WParam>(c.limit), 0);
    EXPECT_EQ(SendMessage(edit, EM_GETLIMITTEXT, 0, 0), c.limit) << c.name;
    SendMessage(edit, EM_SETSEL, static_cast<WParam>(c.selStart), c.selEnd);
    Log().Take();
    Type(edit, c.typed);
    EXPECT_EQ(GetWindowText(edit), c.text) << c.name;
    uint32_t start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WParam>(&start), reinterpret_cast<LParam>(&end));
    EXPECT_EQ(start, static_cast<uint32_t>(c.caret)) << c.name;
    EXPECT_EQ(end, static_cast<uint32_t>(c.caret)) << c.name;
    const Strings heard = Notifications();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "7:" + std::to_string(EN_MAXTEXT)), c.maxText) << c.name;
    DestroyWindow(edit);
  }
}

TEST_F(ControlsTest, EditFieldsTellEveryChangeAndTheirFocus) {
  const Hwnd edit = Make(kEditClass, WS_BORDER, {10, 10, 150, 30}, 7);
  Log().Take();
  SetWindowText(edit, u"set");
  Type(edit, u"x");
  SetFocus(parent_);
  const std::string change = "7:" + std::to_string(EN_CHANGE);
  const std::string update = "7:" + std::to_string(EN_UPDATE);
  EXPECT_EQ(Notifications(), (Strings{update, change, "7:" + std::to_string(EN_SETFOCUS), update, change,
                                      "7:" + std::to_string(EN_KILLFOCUS)}));
  // EM_SETSEL's special values: -1 from no selection, -1 to the end.
  SendMessage(edit, EM_SETSEL, 1, -1);
  EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), static_cast<LResult>(MakeWParam(1, 4)));
  SendMessage(edit, EM_SETSEL, static_cast<WParam>(-1), 0);
  EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), static_cast<LResult>(MakeWParam(4, 4)));
  SendMessage(edit, EM_SETSEL, 9, 2);  // beyond the end, and backwards
  EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), static_cast<LResult>(MakeWParam(2, 4)));
}

TEST_F(ControlsTest, DropDownListsSelectByPrefixAndShowTheirSelection) {
  const Hwnd combo = Make(kComboBoxClass, CBS_DROPDOWNLIST | CBS_SORT, {10, 10, 150, 110}, 9);
  for (const char16_t* c : {u"Germany", u"France", u"Netherlands", u"Finland"})
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LParam>(c));
  struct Case {
    uint32_t message;
    intptr_t after;
    const char16_t* text;
    LResult found;
    const char16_t* shown;  // the field's text afterwards
  } cases[] = {
      {CB_FINDSTRINGEXACT, -1, u"france", 1, u""},
      {CB_FINDSTRINGEXACT, -1, u"Fra", CB_ERR, u""},
      {CB_FINDSTRING, -1, u"f", 0, u""},     // sorted: Finland first
      {CB_FINDSTRING, 0, u"f", 1, u""},      // after Finland
      {CB_FINDSTRING, 1, u"f", 0, u""},      // wraps round
      {CB_SELECTSTRING, -1, u"NETH", 3, u"Netherlands"},
      {CB_SELECTSTRING, -1, u"Spain", CB_ERR, u"Netherlands"},  // a failed search keeps the selection
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessage(combo, c.message, static_cast<WParam>(c.after), reinterpret_cast<LParam>(c.text)), c.found)
        << ToUtf8(c.text);
    EXPECT_EQ(GetWindowText(combo), c.shown) << ToUtf8(c.text);
  }
  // A drop-down list's text cannot be set, only chosen.
  EXPECT_EQ(SendMessage(combo, WM_SETTEXT, 0, reinterpret_cast<LParam>(u"Spain")), CB_ERR);
  EXPECT_EQ(GetWindowText(combo), u"Netherlands");
  // The window keeps the field's height; the height it was made with
  // belongs to the dropped list.
  Rect r;
  GetWindowRect(combo, &r);
  EXPECT_LT(r.Height(), 30);
}

TEST_F(ControlsTest, TheDroppedListTakesThePenAndTellsWhatWasPicked) {
  const Hwnd combo = Make(kComboBoxClass, CBS_DROPDOWNLIST, {10, 10, 150, 110}, 9);
  for (const char16_t* c : {u"one", u"two", u"three"}) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LParam>(c));
  Log().Take();
  ASSERT_EQ(automation::Click(combo), automation::Result::Done);
  ASSERT_TRUE(automation::Settle());
  const auto list = DroppedListRect(combo);
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(GetCapture(), combo);
  // The pen on the third row of the list.
  const int row = (list->Height() - 2) / 3;
  ASSERT_EQ(automation::Tap({list->left + 5, list->top + 1 + 2 * row + row / 2}), automation::Result::Done);
  ASSERT_TRUE(automation::Settle());
  EXPECT_FALSE(DroppedListRect(combo).has_value());
  EXPECT_EQ(GetWindowText(combo), u"three");
  const auto code = [](uint16_t n) { return "9:" + std::to_string(n); };
  EXPECT_EQ(Notifications(), (Strings{code(CBN_SETFOCUS), code(CBN_DROPDOWN), code(CBN_SELCHANGE), code(CBN_SELENDOK),
                                      code(CBN_CLOSEUP)}));
  // A pick as automation makes it tells the same.
  ASSERT_EQ(automation::Choose(combo, u"tw"), automation::Result::Done);
  ASSERT_TRUE(automation::Settle());
  EXPECT_EQ(GetWindowText(combo), u"two");
  EXPECT_EQ(Notifications(), (Strings{code(CBN_SELCHANGE), code(CBN_SELENDOK), code(CBN_CLOSEUP)}));
  EXPECT_EQ(automation::Choose(combo, u"four"), automation::Result::NoEntry);
}

TEST_F(ControlsTest, DropDownCombosHaveATextOfTheirOwn) {
  const Hwnd combo = Make(kComboBoxClass, CBS_DROPDOWN, {10, 10, 150, 110}, 9);
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LParam>(u"internet"));
  SendMessage(combo, CB_LIMITTEXT, 5, 0);
  Type(combo, u"wap.operator");
  EXPECT_EQ(GetWindowText(combo), u"wap.o");  // cut at its limit
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(GetWindowText(combo), u"internet");
  SetWindowText(combo, u"mms");
  EXPECT_EQ(GetWindowText(combo), u"mms");
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ControlsTest, ListBoxesKeepTheirSelectionAsEntriesComeAndGo) {
  const Hwnd list = Make(kListBoxClass, LBS_NOTIFY | WS_BORDER, {10, 10, 150, 80}, 5);
  for (const char16_t* c : {u"a", u"b", u"c"}) SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LParam>(c));
  SendMessage(list, LB_SETCURSEL, 2, 0);
  SendMessage(list, LB_INSERTSTRING, 0, reinterpret_cast<LParam>(u"first"));
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 3);
  SendMessage(list, LB_DELETESTRING, 3, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 7, 0), LB_ERR);
  Log().Take();
  ASSERT_EQ(automation::Choose(list, u"b"), automation::Result::Done);
  ASSERT_TRUE(automation::Settle());
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Notifications(), Strings{"5:" + std::to_string(LBN_SELCHANGE)});
}

TEST_F(ControlsTest, ProgressBarsStayInTheirRangeAndStepRound) {
  const Hwnd bar = Make(kProgressClass, WS_BORDER, {10, 10, 150, 24}, 1173);
  SendMessage(bar, PBM_SETRANGE32, 0, 10);
  struct Case {
    uint32_t message;
    WParam value;
    LResult returned;  // the position before
    int after;
  } cases[] = {
      {PBM_SETPOS, 4, 0, 4},   {PBM_SETPOS, 99, 4, 10},  {PBM_SETPOS, static_cast<WParam>(-3), 10, 0},
      {PBM_DELTAPOS, 7, 0, 7}, {PBM_SETSTEP, 2, 10, 7},  {PBM_STEPIT, 0, 7, 9},
      {PBM_STEPIT, 0, 9, 1},  // past the end it starts over
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessage(bar, c.message, c.value, 0), c.returned) << c.message;
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), c.after) << c.message;
  }
}

TEST_F(ControlsTest, ScrollBarsTellThePenToTheirParentAndKeepTheirPositionInRange) {
  const Hwnd bar = Make(kScrollBarClass, SBS_VERT, {200, 0, 213, 200}, 4);
  static std::vector<std::pair<int, int>> requests;
  requests.clear();
  // The parent hears WM_VSCROLL; a recorder passes it on, so listen with a
  // procedure of its own.
  SetWindowLong(parent_, GWL_WNDPROC, reinterpret_cast<intptr_t>(+[](Hwnd h, uint32_t m, WParam w, LParam l) -> LResult {
    if (m == WM_VSCROLL) requests.emplace_back(LoWord(w), HiWord(w));
    return DefWindowProc(h, m, w, l);
  }));
  SendMessage(bar, SBM_SETRANGE, 0, 120);
  EXPECT_EQ(SendMessage(bar, SBM_SETPOS, 500, 1), 0);
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 120);
  ScrollInfo page;
  page.mask = SIF_PAGE;
  page.page = 21;
  SendMessage(bar, SBM_SETSCROLLINFO, 1, reinterpret_cast<LParam>(&page));
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 100);  // the range's end less a page
  SendMessage(bar, SBM_SETPOS, 0, 1);
  Rect r;
  GetWindowRect(bar, &r);
  automation::Tap({r.left + 6, r.top + 3});          // the upper arrow
  automation::Tap({r.left + 6, r.bottom - 3});       // the lower arrow
  automation::Tap({r.left + 6, r.top + 150});        // the track below the thumb
  ASSERT_TRUE(automation::Settle());
  using P = std::pair<int, int>;
  EXPECT_EQ(requests, (std::vector<P>{{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}, {SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0},
                                       {SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 0);  // the bar itself never moves
}

}  // namespace
}  // namespace platform
