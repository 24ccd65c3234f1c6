#include "platform/automation/automation.h"

#include <algorithm>
#include <cstdio>

#include "base/clock.h"
#include "platform/controls/controls.h"
#include "platform/windows/focus.h"
#include "platform/windows/message_box.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform::automation {

namespace {

// Rounds of handling queued input before Settle gives up: input that keeps
// making more input would otherwise never end.
constexpr int kMaxSettleRounds = 1000;
// Timer ticks one wait lets happen at most (a 1 ms timer over a long wait).
constexpr int kMaxWaitSteps = 100000;

bool IsClass(Hwnd hwnd, const char16_t* name) { return EqualsNoCase(GetClassName(hwnd), name); }

std::vector<WString> Entries(Hwnd hwnd, uint32_t countMessage, uint32_t lengthMessage, uint32_t textMessage) {
  std::vector<WString> out;
  const auto count = SendMessage(hwnd, countMessage, 0, 0);
  for (LResult i = 0; i < count; ++i) {
    const auto length = SendMessage(hwnd, lengthMessage, static_cast<WParam>(i), 0);
    if (length < 0) break;
    WString text(static_cast<size_t>(length) + 1, u'\0');
    SendMessage(hwnd, textMessage, static_cast<WParam>(i), reinterpret_cast<LParam>(text.data()));
    text.resize(static_cast<size_t>(length));
    out.push_back(std::move(text));
  }
  return out;
}

ControlInfo DescribeControl(Hwnd hwnd, Hwnd focus) {
  ControlInfo c;
  c.hwnd = hwnd;
  c.id = GetDlgCtrlID(hwnd);
  c.className = ToUtf8(GetClassName(hwnd));
  c.text = GetWindowText(hwnd);
  GetWindowRect(hwnd, &c.rect);
  c.style = static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE));
  c.visible = IsWindowVisible(hwnd);
  c.enabled = IsWindowEnabled(hwnd);
  c.focused = hwnd == focus;
  if (IsClass(hwnd, kButtonClass)) {
    const uint32_t kind = c.style & BS_TYPEMASK;
    if (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON && kind != BS_GROUPBOX && kind != BS_OWNERDRAW)
      c.checked = static_cast<int>(SendMessage(hwnd, BM_GETCHECK, 0, 0));
  } else if (IsClass(hwnd, kComboBoxClass)) {
    c.entries = Entries(hwnd, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    c.selection = static_cast<int>(SendMessage(hwnd, CB_GETCURSEL, 0, 0));
  } else if (IsClass(hwnd, kListBoxClass)) {
    c.entries = Entries(hwnd, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    c.selection = static_cast<int>(SendMessage(hwnd, LB_GETCURSEL, 0, 0));
  } else if (IsClass(hwnd, kProgressClass)) {
    c.position = static_cast<int>(SendMessage(hwnd, PBM_GETPOS, 0, 0));
  } else if (IsClass(hwnd, kScrollBarClass)) {
    c.position = static_cast<int>(SendMessage(hwnd, SBM_GETPOS, 0, 0));
  }
  return c;
}

std::string RectText(const Rect& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string Quoted(WStringView text) { return "\"" + ToUtf8(text) + "\""; }

// The text as a person reads it: without the "&" marking a mnemonic.
WString Shown(WStringView text) {
  WString out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    out.push_back(text[i]);
  }
  return out;
}

bool IsMessageBoxWindow(Hwnd hwnd) { return GetMessageBoxContent(hwnd).has_value(); }

Hwnd FrontMessageBox() {
  for (Hwnd h : GetTopLevelWindows())
    if (IsWindowVisible(h) && IsMessageBoxWindow(h)) return h;
  return kNoWindow;
}

Result PostCommand(int id) {
  const Hwnd front = FrontWindow();
  if (!front) return Result::NoWindow;
  if (!IsWindowEnabled(front)) return Result::Disabled;
  PostMessage(front, WM_COMMAND, MakeWParam(static_cast<uint16_t>(id), BN_CLICKED), 0);
  return Result::Done;
}

char16_t KeyCharacter(uint32_t key) {
  switch (key) {
    case VK_BACK: return u'\b';
    case VK_TAB: return u'\t';
    case VK_RETURN: return u'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_SPACE: return u' ';
    default: return 0;
  }
}

}  // namespace

const char* ResultText(Result result) {
  switch (result) {
    case Result::Done: return "done";
    case Result::NoWindow: return "nothing is shown";
    case Result::NoControl: return "no such control in the front window";
    case Result::Hidden: return "the control is not shown";
    case Result::Disabled: return "the control does not take input";
    case Result::NotAList: return "the control is not a list";
    case Result::NoEntry: return "the list has no such entry";
    case Result::NoMessageBox: return "no message box is shown";
    case Result::NotAnAnswer: return "the message box has no such button";
    case Result::NotSettled: return "the device did not come to rest";
  }
  return "?";
}

std::vector<WindowInfo> ListWindows(bool includeHidden) {
  std::vector<WindowInfo> out;
  const Hwnd foreground = GetForegroundWindow();
  for (Hwnd h : GetTopLevelWindows()) {
    if (!includeHidden && !IsWindowVisible(h)) continue;
    WindowInfo w;
    w.hwnd = h;
    w.className = ToUtf8(GetClassName(h));
    w.text = GetWindowText(h);
    GetWindowRect(h, &w.rect);
    w.visible = IsWindowVisible(h);
    w.enabled = IsWindowEnabled(h);
    w.active = h == foreground;
    w.modal = CurrentModalWindow(GetWindowThreadId(h)) == h;
    w.messageBox = IsMessageBoxWindow(h);
    const Hwnd focus = GetThreadFocus(GetWindowThreadId(h));
    for (Hwnd child : GetChildWindows(h)) w.controls.push_back(DescribeControl(child, focus));
    out.push_back(std::move(w));
  }
  return out;
}

std::string DescribeWindows(const std::vector<WindowInfo>& windows) {
  std::string out;
  for (const WindowInfo& w : windows) {
    out += "window " + Quoted(w.text) + " " + w.className + " " + RectText(w.rect);
    if (w.messageBox) out += " message-box";
    if (w.active) out += " active";
    if (w.modal) out += " modal";
    if (!w.visible) out += " hidden";
    if (!w.enabled) out += " disabled";
    out += "\n";
    for (const ControlInfo& c : w.controls) {
      out += "  " + std::to_string(c.id) + " " + c.className + " " + Quoted(c.text) + " " + RectText(c.rect);
      if (!c.visible) out += " hidden";
      if (!c.enabled) out += " disabled";
      if (c.focused) out += " focus";
      if (c.checked == 1) out += " checked";
      if (c.checked == 2) out += " indeterminate";
      if (c.position >= 0) out += " position=" + std::to_string(c.position);
      if (!c.entries.empty() || c.selection >= 0) {
        out += " [";
        for (size_t i = 0; i < c.entries.size(); ++i) {
          if (i != 0) out += ", ";
          out += (static_cast<int>(i) == c.selection ? "*" : "") + Quoted(c.entries[i]);
        }
        out += "]";
      }
      out += "\n";
    }
  }
  return out;
}

Hwnd FrontWindow() {
  for (Hwnd h : GetTopLevelWindows())
    if (IsWindowVisible(h)) return h;
  return kNoWindow;
}

Hwnd FindControl(int id) {
  for (Hwnd top : GetTopLevelWindows()) {
    if (!IsWindowVisible(top)) continue;
    for (Hwnd child : GetChildWindows(top))
      if (GetDlgCtrlID(child) == id && IsWindowVisible(child)) return child;
  }
  return kNoWindow;
}

Hwnd FindControlByText(WStringView text) {
  for (Hwnd top : GetTopLevelWindows()) {
    if (!IsWindowVisible(top)) continue;
    for (Hwnd child : GetChildWindows(top))
      if (IsWindowVisible(child) && Shown(GetWindowText(child)) == text) return child;
  }
  return kNoWindow;
}

Result Tap(Point screen) {
  const Hwnd capture = GetCapture();
  const Hwnd target = capture ? capture : WindowFromPoint(screen);
  if (!target) return Result::NoWindow;
  const Hwnd top = GetTopLevelWindow(target);
  if (!IsWindowEnabled(top) || !IsWindowEnabled(target)) return Result::Disabled;
  if (GetForegroundWindow() != top) SetForegroundWindow(top);
  Point client = screen;
  ScreenToClient(target, &client);
  PostMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(client));
  PostMessage(target, WM_LBUTTONUP, 0, PointToLParam(client));
  return Result::Done;
}

Result Click(Hwnd control) {
  if (!IsWindow(control)) return Result::NoControl;
  if (!IsWindowVisible(control)) return Result::Hidden;
  if (!IsWindowEnabled(control)) return Result::Disabled;
  Rect r;
  GetWindowRect(control, &r);
  return Tap({r.left + r.Width() / 2, r.top + r.Height() / 2});
}

Result PressKey(uint32_t virtualKey) {
  const Hwnd front = FrontWindow();
  if (!front) return Result::NoWindow;
  const uint32_t thread = GetWindowThreadId(front);
  PostKeyboardInput(thread, WM_KEYDOWN, virtualKey, 1);
  if (const char16_t ch = KeyCharacter(virtualKey)) PostKeyboardInput(thread, WM_CHAR, ch, 1);
  PostKeyboardInput(thread, WM_KEYUP, virtualKey, 1);
  return Result::Done;
}

Result TypeText(WStringView text) {
  const Hwnd front = FrontWindow();
  if (!front) return Result::NoWindow;
  const uint32_t thread = GetWindowThreadId(front);
  for (char16_t ch : text) {
    switch (ch) {
      case u'\t': PressKey(VK_TAB); break;
      case u'\r':
      case u'\n': PressKey(VK_RETURN); break;
      case u'\b': PressKey(VK_BACK); break;
      case 0x1B: PressKey(VK_ESCAPE); break;
      default: PostKeyboardInput(thread, WM_CHAR, ch, 1); break;
    }
  }
  return Result::Done;
}

Result ChooseIndex(Hwnd list, int index) {
  if (!IsWindow(list)) return Result::NoControl;
  const bool combo = IsClass(list, kComboBoxClass);
  if (!combo && !IsClass(list, kListBoxClass)) return Result::NotAList;
  if (!IsWindowVisible(list)) return Result::Hidden;
  if (!IsWindowEnabled(list) || !IsWindowEnabled(GetTopLevelWindow(list))) return Result::Disabled;
  const auto count = SendMessage(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) return Result::NoEntry;
  PostMessage(list, kPickEntryMessage, static_cast<WParam>(index), 0);
  return Result::Done;
}

Result Choose(Hwnd list, WStringView entry) {
  if (!IsWindow(list)) return Result::NoControl;
  const bool combo = IsClass(list, kComboBoxClass);
  if (!combo && !IsClass(list, kListBoxClass)) return Result::NotAList;
  const WString terminated(entry);
  const auto text = reinterpret_cast<LParam>(terminated.c_str());
  auto index = SendMessage(list, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WParam>(-1), text);
  if (index < 0) index = SendMessage(list, combo ? CB_FINDSTRING : LB_FINDSTRING, static_cast<WParam>(-1), text);
  if (index < 0) return Result::NoEntry;
  return ChooseIndex(list, static_cast<int>(index));
}

Result PressOk() { return PostCommand(IDOK); }
Result PressCancel() { return PostCommand(IDCANCEL); }

Result Answer(int id) {
  const Hwnd box = FrontMessageBox();
  if (!box) return Result::NoMessageBox;
  const auto content = GetMessageBoxContent(box);
  if (!content || std::find(content->buttons.begin(), content->buttons.end(), id) == content->buttons.end())
    return Result::NotAnAnswer;
  return Click(GetDlgItem(box, id));
}

void Rotate(Orientation orientation) { RotateScreen(orientation); }
void RaisePanel(bool up) { SipShow(up); }
void Wait(uint32_t milliseconds) {
  if (!CurrentClock().IsManual()) {
    Sleep(milliseconds);
    return;
  }
  // Time moves from one due timer of the other threads to the next, and
  // they handle each before it moves on, so a timer ticks as often as its
  // period fits into the wait. The caller's own timers tick once, after.
  const uint64_t end = NowMs() + milliseconds;
  for (int step = 0; step < kMaxWaitSteps; ++step) {
    const std::optional<uint64_t> next = NextTimerOfOtherThreads();
    if (!next || *next > end) break;
    const uint64_t now = NowMs();
    // A due timer nobody takes (its thread is not in its loop) ends the
    // stepping.
    if (*next <= now && step > 0) break;
    AdvanceClock(static_cast<uint32_t>(*next > now ? *next - now : 0));
    if (!SettleThreads()) break;
  }
  const uint64_t now = NowMs();
  AdvanceClock(static_cast<uint32_t>(end > now ? end - now : 0));
}

bool Settle() {
  for (int round = 0; round < kMaxSettleRounds; ++round) {
    if (!SettleThreads()) return false;
    if (PumpMessages() == 0) return SettleThreads();
  }
  return false;
}

}  // namespace platform::automation
