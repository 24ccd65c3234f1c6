#include "platform/windows/message_box.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/controls/controls.h"
#include "platform/journal.h"
#include "platform/windows/dialog.h"
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

// The box's layout in pixels.
constexpr int kMaxBoxWidth = 232;
constexpr int kScreenMargin = 8;
constexpr int kMargin = 8;
constexpr int kIconSize = 32;
constexpr int kIconGap = 8;
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 21;
constexpr int kButtonGap = 6;
constexpr int kTextId = 0xFFFF;

struct Names {
  int id;
  const char* name;
  const char16_t* label;
};
constexpr Names kButtons[] = {
    {IDOK, "ok", u"OK"},       {IDCANCEL, "cancel", u"Cancel"}, {IDABORT, "abort", u"Abort"},
    {IDRETRY, "retry", u"Retry"}, {IDIGNORE, "ignore", u"Ignore"}, {IDYES, "yes", u"Yes"},
    {IDNO, "no", u"No"},
};

const char16_t* Label(int id) {
  for (const Names& n : kButtons)
    if (n.id == id) return n.label;
  return u"";
}

const char* IconName(uint32_t type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return "stop";
    case MB_ICONQUESTION: return "question";
    case MB_ICONEXCLAMATION: return "exclamation";
    case MB_ICONASTERISK: return "information";
    default: return "no icon";
  }
}

// The boxes being shown, for automation and for their own procedure.
struct Registry {
  std::mutex mutex;
  std::map<Hwnd, MessageBoxContent> boxes;
};

Registry& Boxes() {
  static Registry* registry = new Registry;
  return *registry;
}

std::optional<MessageBoxContent> ContentOf(Hwnd hwnd) {
  Registry& r = Boxes();
  std::lock_guard lock(r.mutex);
  auto it = r.boxes.find(hwnd);
  if (it == r.boxes.end()) return std::nullopt;
  return it->second;
}

std::shared_ptr<const Font> IconFont() {
  LogFont logical;
  logical.height = -22;
  logical.weight = kFwBold;
  logical.faceName = u"Tahoma";
  return Font::Create(logical);
}

void DrawIcon(DeviceContext& dc, uint32_t type, Point at) {
  const Rect box{at.x, at.y, at.x + kIconSize, at.y + kIconSize};
  const char16_t* mark = nullptr;
  ColorRef fill = 0;
  ColorRef ink = Rgb(255, 255, 255);
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: fill = Rgb(204, 0, 0); mark = u"X"; break;
    case MB_ICONQUESTION: fill = Rgb(0, 72, 176); mark = u"?"; break;
    case MB_ICONASTERISK: fill = Rgb(0, 72, 176); mark = u"i"; break;
    case MB_ICONEXCLAMATION: {
      fill = Rgb(255, 204, 0);
      ink = Rgb(0, 0, 0);
      mark = u"!";
      dc.SelectPen(Pen::Create(kPsSolid, 1, Rgb(0, 0, 0)));
      dc.SelectBrush(Brush::CreateSolid(fill));
      // A triangle, filled row by row.
      for (int y = 0; y < kIconSize - 2; ++y) {
        const int half = (y + 1) / 2 + 1;
        dc.FillRect({box.left + kIconSize / 2 - half, box.top + 1 + y, box.left + kIconSize / 2 + half, box.top + 2 + y},
                    *Brush::CreateSolid(fill));
      }
      const Point outline[] = {{box.left + kIconSize / 2, box.top}, {box.left, box.bottom - 1},
                               {box.right - 1, box.bottom - 1}, {box.left + kIconSize / 2, box.top}};
      dc.Polyline(outline);
      break;
    }
    default: return;
  }
  if ((type & MB_ICONMASK) != MB_ICONEXCLAMATION) {
    dc.SelectPen(Pen::Create(kPsSolid, 1, fill));
    dc.SelectBrush(Brush::CreateSolid(fill));
    dc.Ellipse(box);
  }
  dc.SelectFont(IconFont());
  dc.SetBkMode(kTransparent);
  dc.SetTextColor(ink);
  Rect text = box;
  if ((type & MB_ICONMASK) == MB_ICONEXCLAMATION) text.top += 6;
  dc.DrawText(mark, text, kDtCenter | kDtVCenter | kDtSingleLine);
}

// Lays the box out: creates the text and the buttons, and sizes and
// centres the window around them.
void Build(Hwnd box, const MessageBoxContent& content) {
  const auto font = GetWindowFont(box);
  const uintptr_t fontHandle = FontHandle(font);
  const bool icon = (content.type & MB_ICONMASK) != 0;
  const Rect work = GetWorkArea();
  const int width = std::min(kMaxBoxWidth, work.Width() - 2 * kScreenMargin);
  const int textLeft = kMargin + (icon ? kIconSize + kIconGap : 0);
  DeviceContext measure;
  measure.SelectFont(font);
  Rect text{textLeft, kMargin, width - 2 - kMargin, kMargin};
  measure.DrawText(content.text, text, kDtWordBreak | kDtNoPrefix | kDtCalcRect);
  text.right = width - 2 - kMargin;
  const int contentBottom = std::max(text.bottom, icon ? kMargin + kIconSize : 0);
  const Hwnd label = CreateWindowEx(0, kStaticClass, content.text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, text.left,
                                    text.top, text.Width(), text.Height(), box, kTextId);
  SendMessage(label, WM_SETFONT, fontHandle, 0);

  const int count = static_cast<int>(content.buttons.size());
  const int rowWidth = count * kButtonWidth + (count - 1) * kButtonGap;
  const int defaultIndex = std::min(count - 1, static_cast<int>((content.type & MB_DEFMASK) >> 8));
  int x = (width - 2 - rowWidth) / 2;
  const int y = contentBottom + kMargin + 2;
  for (int i = 0; i < count; ++i, x += kButtonWidth + kButtonGap) {
    const uint32_t kind = i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    const Hwnd button = CreateWindowEx(0, kButtonClass, Label(content.buttons[static_cast<size_t>(i)]),
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, x, y, kButtonWidth, kButtonHeight, box,
                                       content.buttons[static_cast<size_t>(i)]);
    SendMessage(button, WM_SETFONT, fontHandle, 0);
  }
  SendMessage(box, DM_SETDEFID, static_cast<WParam>(content.buttons[static_cast<size_t>(defaultIndex)]), 0);

  Rect window;
  Rect client;
  GetWindowRect(box, &window);
  GetClientRect(box, &client);
  const int frameHeight = window.Height() - client.Height();
  const int height = y + kButtonHeight + kMargin + frameHeight + 1;
  MoveWindow(box, work.left + (work.Width() - width) / 2, work.top + std::max(0, (work.Height() - height) / 2), width,
             height, true);
}

intptr_t Procedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      MessageBoxContent content = *reinterpret_cast<const MessageBoxContent*>(lParam);
      {
        Registry& r = Boxes();
        std::lock_guard lock(r.mutex);
        r.boxes[hwnd] = content;
      }
      Build(hwnd, content);
      return 0;
    }
    case WM_ACTIVATE:
      if (LoWord(wParam) != WA_INACTIVE) {
        const LResult def = SendMessage(hwnd, DM_GETDEFID, 0, 0);
        if (const Hwnd button = GetDlgItem(hwnd, LoWord(static_cast<uintptr_t>(def)))) SetFocus(button);
        return 1;
      }
      return 0;
    case WM_PAINT: {
      const auto content = ContentOf(hwnd);
      PaintStruct ps;
      DeviceContext* dc = BeginPaint(hwnd, &ps);
      if (dc != nullptr && content) {
        Rect client;
        GetClientRect(hwnd, &client);
        // The frame's lower edge: a captioned window has none of its own.
        dc->FillRect({client.left, client.bottom - 1, client.right, client.bottom},
                     *Brush::CreateSolid(GetSysColor(COLOR_WINDOWFRAME)));
        DrawIcon(*dc, content->type, {kMargin, kMargin});
      }
      EndPaint(hwnd, &ps);
      return 1;
    }
    case WM_COMMAND: {
      const auto content = ContentOf(hwnd);
      if (!content) return 0;
      int id = LoWord(wParam);
      const auto& buttons = content->buttons;
      const bool offered = std::find(buttons.begin(), buttons.end(), id) != buttons.end();
      if (!offered && id == IDCANCEL && buttons.size() == 1 && buttons.front() == IDOK) id = IDOK;
      if (offered || id == IDOK) EndDialog(hwnd, id);
      return 1;
    }
    default:
      return 0;
  }
}

std::string Describe(const MessageBoxContent& content) {
  std::string buttons;
  for (int id : content.buttons) buttons += (buttons.empty() ? "" : "/") + AnswerName(id).value_or("?");
  return "message box \"" + ToUtf8(content.caption) + "\": \"" + ToUtf8(content.text) + "\" (" +
         IconName(content.type) + "; " + buttons + ")";
}

}  // namespace

std::vector<int> MessageBoxButtons(uint32_t type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

int MessageBoxDismissAnswer(uint32_t type) {
  const std::vector<int> buttons = MessageBoxButtons(type);
  for (int preferred : {IDCANCEL, IDNO})
    if (std::find(buttons.begin(), buttons.end(), preferred) != buttons.end()) return preferred;
  return buttons.front();
}

std::optional<std::string> AnswerName(int id) {
  for (const Names& n : kButtons)
    if (n.id == id) return n.name;
  return std::nullopt;
}

std::optional<int> AnswerFromName(std::string_view name) {
  for (const Names& n : kButtons)
    if (name == n.name) return n.id;
  return std::nullopt;
}

std::optional<MessageBoxContent> GetMessageBoxContent(Hwnd hwnd) { return ContentOf(hwnd); }

int MessageBox(Hwnd owner, WStringView text, WStringView caption, uint32_t type) {
  MessageBoxContent content;
  content.text = WString(text);
  content.caption = caption.empty() ? WString(u"Error") : WString(caption);
  content.type = type;
  content.buttons = MessageBoxButtons(type);

  DialogTemplate box;
  box.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
  box.exStyle = (type & MB_TOPMOST) != 0 ? WS_EX_TOPMOST : 0;
  box.title = content.caption;
  box.hasFont = true;
  box.pointSize = 8;
  box.faceName = u"Tahoma";
  const intptr_t answer = DialogBoxIndirectParam(box, owner, Procedure, reinterpret_cast<LParam>(&content));
  {
    Registry& r = Boxes();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.boxes, [](const auto& entry) { return !IsWindow(entry.first); });
  }
  if (answer <= 0) return 0;
  JournalEvent(Describe(content) + " answered " + AnswerName(static_cast<int>(answer)).value_or("?"));
  return static_cast<int>(answer);
}

}  // namespace platform
