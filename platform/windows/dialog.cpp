#include "platform/windows/dialog.h"

#include <algorithm>

#include "platform/controls/controls.h"
#include "base/errors.h"
#include "platform/resource_library.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/dialog_units.h"
#include "platform/windows/focus.h"
#include "platform/windows/font_handles.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/screen.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform {

namespace {

// The font sizes a template may ask for; others are brought within them.
constexpr int kMinDialogPoints = 1;
constexpr int kMaxDialogPoints = 72;

struct DialogState {
  std::shared_ptr<const Font> font;
  DialogBaseUnits units;
  Hwnd lastFocus;
  int defaultId = 0;
  bool modal = false;
  bool ended = false;
  intptr_t result = 0;
};

std::shared_ptr<DialogState> StateOf(Hwnd hwnd) {
  if (GetClassName(hwnd) != kDialogClass) return nullptr;
  return WindowClassState<DialogState>(hwnd);
}

bool Focusable(Hwnd hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

intptr_t DialogCode(Hwnd control, const Msg* msg = nullptr) {
  return SendMessage(control, WM_GETDLGCODE, msg == nullptr ? 0 : msg->wParam, reinterpret_cast<LParam>(msg));
}

// Gives a control the focus as the dialog manager does: an edit field's
// text is selected whole.
void FocusControl(Hwnd control) {
  if (!control) return;
  SetFocus(control);
  if ((DialogCode(control) & DLGC_HASSETSEL) != 0) SendMessage(control, EM_SETSEL, 0, -1);
}

bool IsPushButton(Hwnd hwnd) {
  return (DialogCode(hwnd) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

int DefaultId(Hwnd dialog) {
  const LResult def = SendMessage(dialog, DM_GETDEFID, 0, 0);
  return HiWord(static_cast<uintptr_t>(def)) == DC_HASDEFID ? LoWord(static_cast<uintptr_t>(def)) : IDOK;
}

void Command(Hwnd dialog, int id) {
  const Hwnd control = GetDlgItem(dialog, id);
  if (control && !IsWindowEnabled(control)) return;
  SendMessage(dialog, WM_COMMAND, MakeWParam(static_cast<uint16_t>(id), BN_CLICKED), ToLParam(control));
}

bool HandleKey(Hwnd dialog, Msg* msg) {
  const Hwnd focus = GetFocus();
  const intptr_t code = focus ? DialogCode(focus, msg) : 0;
  if ((code & DLGC_WANTALLKEYS) != 0) return false;
  switch (msg->wParam) {
    case VK_TAB: {
      if ((code & DLGC_WANTTAB) != 0) return false;
      FocusControl(GetNextDlgTabItem(dialog, focus, false));
      return true;
    }
    case VK_RETURN: {
      const int id = focus && IsPushButton(focus) ? GetDlgCtrlID(focus) : DefaultId(dialog);
      Command(dialog, id);
      return true;
    }
    case VK_ESCAPE:
      Command(dialog, IDCANCEL);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
      if ((code & DLGC_WANTARROWS) != 0 || !focus) return false;
      const Hwnd next = GetNextDlgGroupItem(dialog, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
      if (!next || next == focus) return true;
      FocusControl(next);
      if ((DialogCode(next) & DLGC_RADIOBUTTON) != 0) SendMessage(next, BM_CLICK, 0, 0);
      return true;
    }
    default:
      return false;
  }
}

LResult EraseBackground(Hwnd hwnd, WParam wParam) {
  auto* dc = reinterpret_cast<DeviceContext*>(wParam);
  if (dc == nullptr) return 0;
  const auto* brush = reinterpret_cast<const Brush*>(SendMessage(hwnd, WM_CTLCOLORDLG, wParam, ToLParam(hwnd)));
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_WINDOW);
  Rect client;
  GetClientRect(hwnd, &client);
  dc->FillRect(client, *brush);
  return 1;
}

void SetDefaultId(Hwnd dialog, DialogState& state, int id) {
  if (const Hwnd old = GetDlgItem(dialog, state.defaultId); old && (DialogCode(old) & DLGC_DEFPUSHBUTTON) != 0)
    SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON, 1);
  state.defaultId = id;
  if (const Hwnd now = GetDlgItem(dialog, id); now && (DialogCode(now) & DLGC_UNDEFPUSHBUTTON) != 0)
    SendMessage(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1);
}

// The default handling of a dialog's messages, when its procedure left
// them alone.
LResult DefaultDialogHandling(Hwnd hwnd, DialogState& state, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseBackground(hwnd, wParam);
    case WM_CLOSE: {
      const Hwnd cancel = GetDlgItem(hwnd, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessage(hwnd, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), ToLParam(cancel));
      return 0;
    }
    case WM_ACTIVATE:
      if (LoWord(wParam) == WA_INACTIVE) {
        const Hwnd focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) state.lastFocus = focus;
        return 0;
      }
      [[fallthrough]];
    case WM_SETFOCUS: {
      Hwnd target = state.lastFocus;
      if (!target || !IsChild(hwnd, target) || !Focusable(target)) target = GetNextDlgTabItem(hwnd, kNoWindow, false);
      if (target) {
        SetFocus(target);
      } else if (message == WM_ACTIVATE) {
        SetFocus(hwnd);
      }
      return 0;
    }
    case DM_GETDEFID:
      return state.defaultId == 0 ? 0 : static_cast<LResult>(MakeWParam(static_cast<uint16_t>(state.defaultId), DC_HASDEFID));
    case DM_SETDEFID:
      SetDefaultId(hwnd, state, static_cast<int>(wParam));
      return 1;
    case WM_NEXTDLGCTL: {
      const Hwnd target = LoWord(static_cast<uintptr_t>(lParam)) != 0
                              ? HwndFromParam(wParam)
                              : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
      FocusControl(target);
      return 0;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

bool ParseInt(WStringView text, bool isSigned, int* out) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (isSigned && i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  const size_t digits = i;
  int64_t value = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    value = value * 10 + (text[i++] - u'0');
    if (value > (isSigned ? int64_t{1} << 31 : (int64_t{1} << 32) - 1)) return false;
  }
  if (i == digits) return false;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i != text.size()) return false;
  if (negative) value = -value;
  if (isSigned && (value > INT32_MAX || value < INT32_MIN)) return false;
  *out = static_cast<int>(static_cast<uint32_t>(value));
  return true;
}

}  // namespace

bool IsDialogWindow(Hwnd hwnd) { return StateOf(hwnd) != nullptr; }

Hwnd CreateDialogIndirectParam(const DialogTemplate& t, Hwnd owner, DialogProcedure procedure, LParam initParam) {
  EnsureStandardClasses();
  auto state = std::make_shared<DialogState>();
  if (t.hasFont) {
    LogFont logical;
    logical.height = -MulDiv(std::clamp(t.pointSize, kMinDialogPoints, kMaxDialogPoints), kLogicalPixelsPerInch, 72);
    logical.weight = t.weight != 0 ? t.weight : kFwNormal;
    logical.italic = t.italic ? 1 : 0;
    logical.charSet = t.charSet;
    logical.faceName = t.faceName;
    state->font = Font::Create(logical);
  }
  if (!state->font) state->font = GetSystemFont();
  state->units = DialogBaseUnitsOf(*state->font);

  const bool child = (t.style & WS_CHILD) != 0;
  const Rect client = DialogUnitsToPixels({t.x, t.y, t.x + t.cx, t.y + t.cy}, state->units);
  const window_system::FrameInsets frame = window_system::FrameOf(t.style, t.exStyle, child);
  const int width = client.Width() + frame.left + frame.right;
  const int height = client.Height() + frame.top + frame.bottom;
  int x = client.left;
  int y = client.top;
  if (!child) {
    const Rect work = GetWorkArea();
    if ((t.style & DS_CENTER) != 0) {
      x = work.left + (work.Width() - width) / 2;
      y = work.top + (work.Height() - height) / 2;
    } else {
      x += work.left;
      y += work.top;
    }
  }
  const WString className = t.className.empty() ? WString(kDialogClass) : t.className;
  const Hwnd dialog =
      CreateWindowEx(t.exStyle, className, t.title, t.style & ~WS_VISIBLE, x, y, width, height, owner, 0);
  if (!dialog) return kNoWindow;
  if (className == kDialogClass) SetWindowClassState(dialog, state);
  SetWindowLong(dialog, DWL_DLGPROC, reinterpret_cast<intptr_t>(procedure));
  const uintptr_t font = FontHandle(state->font);
  SendMessage(dialog, WM_SETFONT, font, 0);

  for (const DialogItemTemplate& item : t.items) {
    const Rect r = DialogUnitsToPixels({item.x, item.y, item.x + item.cx, item.y + item.cy}, state->units);
    const WString text = item.textNumber ? u"#" + FormatInt(*item.textNumber) : item.text;
    const Hwnd control = CreateWindowEx(item.exStyle, item.className, text, item.style | WS_CHILD, r.left, r.top,
                                        r.Width(), r.Height(), dialog, static_cast<intptr_t>(item.id),
                                        reinterpret_cast<LParam>(item.creationData.data()));
    if (!control) {
      DestroyWindow(dialog);
      SetLastError(kErrorInvalidParameter);
      return kNoWindow;
    }
    SendMessage(control, WM_SETFONT, font, 0);
    if (state->defaultId == 0 && EqualsNoCase(item.className, kButtonClass) &&
        (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      state->defaultId = static_cast<int>(item.id);
  }

  const Hwnd first = GetNextDlgTabItem(dialog, kNoWindow, false);
  const LResult wantsFocus = SendMessage(dialog, WM_INITDIALOG, ToWParam(first), initParam);
  if (!IsWindow(dialog)) return kNoWindow;
  if (wantsFocus != 0 && first) {
    if (IsWindowVisible(dialog)) {
      FocusControl(first);
    } else {
      // The focus goes there when the dialog is shown and activated.
      state->lastFocus = first;
      if ((DialogCode(first) & DLGC_HASSETSEL) != 0) SendMessage(first, EM_SETSEL, 0, -1);
    }
  }
  if ((t.style & WS_VISIBLE) != 0 && !state->ended) ShowWindow(dialog, SW_SHOW);
  return dialog;
}

intptr_t DialogBoxIndirectParam(const DialogTemplate& t, Hwnd owner, DialogProcedure procedure, LParam initParam) {
  const Hwnd top = owner ? GetTopLevelWindow(owner) : kNoWindow;
  DialogTemplate hidden = t;
  hidden.style &= ~WS_VISIBLE;
  const Hwnd dialog = CreateDialogIndirectParam(hidden, top, procedure, initParam);
  if (!dialog) return -1;
  auto state = StateOf(dialog);
  if (!state) state = std::make_shared<DialogState>();
  state->modal = true;
  const bool disableOwner = top && IsWindowEnabled(top);
  if (disableOwner) EnableWindow(top, false);
  EnterModalLoop(dialog);
  if (!state->ended) ShowWindow(dialog, SW_SHOW);
  Msg msg;
  while (IsWindow(dialog) && !state->ended) {
    if (!GetMessage(&msg, kNoWindow, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessage(dialog, &msg)) DispatchMessage(msg);
  }
  LeaveModalLoop(dialog);
  if (disableOwner) EnableWindow(top, true);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return state->result;
}

std::optional<DialogTemplate> LoadDialogTemplate(uint16_t templateId) {
  const std::optional<ResourceBlock> block = FindDialogTemplate(templateId);
  if (!block) return std::nullopt;
  DialogTemplateError error;
  std::optional<DialogTemplate> parsed = ParseDialogTemplate(block->bytes, &error);
  if (!parsed) SetLastError(kErrorResourceDataNotFound);
  return parsed;
}

Hwnd CreateDialogParam(uint16_t templateId, Hwnd owner, DialogProcedure procedure, LParam initParam) {
  const std::optional<DialogTemplate> t = LoadDialogTemplate(templateId);
  return t ? CreateDialogIndirectParam(*t, owner, procedure, initParam) : kNoWindow;
}

intptr_t DialogBoxParam(uint16_t templateId, Hwnd owner, DialogProcedure procedure, LParam initParam) {
  const std::optional<DialogTemplate> t = LoadDialogTemplate(templateId);
  return t ? DialogBoxIndirectParam(*t, owner, procedure, initParam) : -1;
}

bool EndDialog(Hwnd dialog, intptr_t result) {
  auto state = StateOf(dialog);
  if (!state) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  state->ended = true;
  state->result = result;
  if (!state->modal) ShowWindow(dialog, SW_HIDE);
  // The modal loop looks at the flag after its next message.
  PostMessage(dialog, WM_NULL, 0, 0);
  return true;
}

bool IsDialogEnded(Hwnd dialog, intptr_t* result) {
  auto state = StateOf(dialog);
  if (!state) return false;
  if (result != nullptr) *result = state->result;
  return state->ended;
}

LResult DefDlgProc(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  const auto procedure = reinterpret_cast<DialogProcedure>(GetWindowLong(hwnd, DWL_DLGPROC));
  if (procedure != nullptr) {
    SetWindowLong(hwnd, DWL_MSGRESULT, 0);
    const intptr_t handled = procedure(hwnd, message, wParam, lParam);
    if (handled != 0) {
      switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
          return handled;
        default:
          return GetWindowLong(hwnd, DWL_MSGRESULT);
      }
    }
  }
  auto state = StateOf(hwnd);
  if (!state) return DefWindowProc(hwnd, message, wParam, lParam);
  return DefaultDialogHandling(hwnd, *state, message, wParam, lParam);
}

bool IsDialogMessage(Hwnd dialog, Msg* msg) {
  if (msg == nullptr || !dialog || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return false;
  if (msg->message == WM_KEYDOWN && HandleKey(dialog, msg)) return true;
  if (msg->message == WM_CHAR && (msg->wParam == u'\t' || msg->wParam == u'\r' || msg->wParam == 27)) {
    // The key itself was handled as WM_KEYDOWN; its character goes only to
    // a control that wants every key.
    const Hwnd focus = GetFocus();
    if (!focus || (DialogCode(focus, msg) & DLGC_WANTALLKEYS) == 0) return true;
  }
  DispatchMessage(*msg);
  return true;
}

Hwnd GetNextDlgTabItem(Hwnd dialog, Hwnd control, bool previous) {
  std::vector<Hwnd> stops;
  for (Hwnd child : GetChildWindows(dialog))
    if ((GetWindowLong(child, GWL_STYLE) & WS_TABSTOP) != 0 && Focusable(child)) stops.push_back(child);
  if (stops.empty()) return control;
  if (previous) std::reverse(stops.begin(), stops.end());
  if (!control) return stops.front();
  // The control need not be a stop itself: go on from its place among the
  // dialog's children.
  const std::vector<Hwnd> all = GetChildWindows(dialog);
  auto at = std::find(all.begin(), all.end(), control);
  if (at == all.end()) return stops.front();
  const long index = at - all.begin();
  const long n = static_cast<long>(all.size());
  for (long step = 1; step <= n; ++step) {
    const long i = previous ? (index - step + n) % n : (index + step) % n;
    if (std::find(stops.begin(), stops.end(), all[static_cast<size_t>(i)]) != stops.end())
      return all[static_cast<size_t>(i)];
  }
  return control;
}

Hwnd GetNextDlgGroupItem(Hwnd dialog, Hwnd control, bool previous) {
  const std::vector<Hwnd> all = GetChildWindows(dialog);
  auto at = std::find(all.begin(), all.end(), control);
  if (at == all.end()) return control;
  auto first = at;
  while (first != all.begin() && (GetWindowLong(*first, GWL_STYLE) & WS_GROUP) == 0) --first;
  auto last = at + 1;
  while (last != all.end() && (GetWindowLong(*last, GWL_STYLE) & WS_GROUP) == 0) ++last;
  std::vector<Hwnd> group(first, last);
  if (previous) std::reverse(group.begin(), group.end());
  auto mine = std::find(group.begin(), group.end(), control);
  for (size_t step = 1; step < group.size(); ++step) {
    const Hwnd candidate = group[(static_cast<size_t>(mine - group.begin()) + step) % group.size()];
    if (Focusable(candidate)) return candidate;
  }
  return control;
}

LResult SendDlgItemMessage(Hwnd dialog, int id, uint32_t message, WParam wParam, LParam lParam) {
  const Hwnd control = GetDlgItem(dialog, id);
  return control ? SendMessage(control, message, wParam, lParam) : 0;
}

bool SetDlgItemText(Hwnd dialog, int id, WStringView text) {
  const Hwnd control = GetDlgItem(dialog, id);
  return control && SetWindowText(control, text);
}

WString GetDlgItemText(Hwnd dialog, int id) {
  const Hwnd control = GetDlgItem(dialog, id);
  return control ? GetWindowText(control) : WString();
}

bool SetDlgItemInt(Hwnd dialog, int id, int value, bool isSigned) {
  return SetDlgItemText(dialog, id, isSigned ? FormatInt(value) : FormatInt(static_cast<uint32_t>(value)));
}

int GetDlgItemInt(Hwnd dialog, int id, bool* ok, bool isSigned) {
  int value = 0;
  const Hwnd control = GetDlgItem(dialog, id);
  const bool parsed = control && ParseInt(GetWindowText(control), isSigned, &value);
  if (ok != nullptr) *ok = parsed;
  return parsed ? value : 0;
}

bool CheckDlgButton(Hwnd dialog, int id, int check) {
  const Hwnd control = GetDlgItem(dialog, id);
  if (!control) return false;
  SendMessage(control, BM_SETCHECK, static_cast<WParam>(check), 0);
  return true;
}

int IsDlgButtonChecked(Hwnd dialog, int id) {
  return static_cast<int>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

bool CheckRadioButton(Hwnd dialog, int first, int last, int check) {
  bool any = false;
  for (int id = first; id <= last; ++id) {
    if (const Hwnd control = GetDlgItem(dialog, id)) {
      SendMessage(control, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
      any = true;
    }
  }
  return any;
}

bool MapDialogRect(Hwnd dialog, Rect* rect) {
  auto state = StateOf(dialog);
  if (!state || rect == nullptr) return false;
  *rect = DialogUnitsToPixels(*rect, state->units);
  return true;
}

}  // namespace platform
