#pragma once
// Automation: what tests and the command line do in place of a person in
// front of the device. It reads what the screen shows (the windows, their
// controls with ids, texts, states and rectangles) and acts as a person
// does, through input messages that go the way a person's would: the pen
// taps the window under it (or the one that holds the capture), keys go to
// the focus, the navigation bar's ok sends IDOK. Nothing an automation does
// reaches a window by any other path.
//
// Actions queue their input and return; Settle waits until every thread of
// the process has handled what it was given (the caller's own queue is
// handled there too).

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/drawing_types.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_types.h"

namespace platform::automation {

enum class Result {
  Done,
  NoWindow,       // nothing shown to act on
  NoControl,      // no control with that id or text in the front window
  Hidden,         // the control is not shown
  Disabled,       // the control or its window does not take input
  NotAList,       // choosing in something that is not a list or combo box
  NoEntry,        // the list has no such entry
  NoMessageBox,   // answering when no message box is shown
  NotAnAnswer,    // the message box has no such button
  NotSettled,     // the device did not come to rest in time
};
const char* ResultText(Result result);

struct ControlInfo {
  Hwnd hwnd;
  int id = 0;
  std::string className;
  WString text;
  Rect rect;  // on the screen
  uint32_t style = 0;
  bool visible = false;
  bool enabled = false;
  bool focused = false;
  int checked = -1;               // buttons with a check: 0, 1, 2; -1 otherwise
  int selection = -1;             // lists: the selected entry
  std::vector<WString> entries;   // lists
  int position = -1;              // progress and scroll bars
};

struct WindowInfo {
  Hwnd hwnd;
  std::string className;
  WString text;
  Rect rect;
  bool visible = false;
  bool enabled = false;
  bool active = false;      // the foreground window
  bool modal = false;       // a modal loop runs for it
  bool messageBox = false;
  std::vector<ControlInfo> controls;  // the children, in z-order, topmost first
};

// The process's top-level windows, topmost first; hidden ones only when
// asked for.
std::vector<WindowInfo> ListWindows(bool includeHidden = false);
// A readable listing, one line per window and control.
std::string DescribeWindows(const std::vector<WindowInfo>& windows);

// The window a person has in front: the topmost shown top-level window
// (a message box or dialog lies above the window that owns it); none when
// nothing is shown.
Hwnd FrontWindow();
// A shown control by id, or by its text ("&" marks left out, letter case
// kept): of the front window, or else of the first window below it that
// shows one, as a person finds it on the screen.
Hwnd FindControl(int id);
Hwnd FindControlByText(WStringView text);

// The pen: down and up at a point of the screen.
Result Tap(Point screen);
// Taps the middle of a shown control.
Result Click(Hwnd control);
// Characters as typed on the keyboard, to whatever has the focus when each
// arrives; "\t", "\r", "\b" and "\x1b" are the Tab, Enter, Backspace and
// Escape keys.
Result TypeText(WStringView text);
Result PressKey(uint32_t virtualKey);
// Picks a list's entry by its text (the exact entry, else the first that
// starts with it) or by its index, as the pen picks it.
Result Choose(Hwnd list, WStringView entry);
Result ChooseIndex(Hwnd list, int index);
// The navigation bar's ok (IDOK) and Escape (IDCANCEL), to the front
// window.
Result PressOk();
Result PressCancel();
// Presses a button of the front message box (IDYES...).
Result Answer(int id);
void Rotate(Orientation orientation);
void RaisePanel(bool up);
// Lets time pass: on the manual clock from one due timer of the other
// threads to the next, each handled before time goes on (a timer ticks as
// often as its period fits); on a clock that runs by itself, for real.
void Wait(uint32_t milliseconds);
// Waits until every thread has handled its input and painted.
bool Settle();

}  // namespace platform::automation
