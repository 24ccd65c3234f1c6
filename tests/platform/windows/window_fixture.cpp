#include "tests/platform/windows/window_fixture.h"

#include "platform/windows/default_window_procedure.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/window_messages.h"

namespace window_test {

using namespace platform;

void MessageLog::Add(std::string line) {
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
}

std::vector<std::string> MessageLog::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(lines_, {});
}

std::vector<std::string> MessageLog::Only(const std::string& message) {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& line : lines_)
    if (line.find(message) != std::string::npos) out.push_back(line);
  return out;
}

MessageLog& Log() {
  static MessageLog log;
  return log;
}

namespace {

const char* Name(uint32_t message) {
  switch (message) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_NCDESTROY: return "WM_NCDESTROY";
    case WM_PAINT: return "WM_PAINT";
    case WM_TIMER: return "WM_TIMER";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_SETTINGCHANGE: return "WM_SETTINGCHANGE";
    case WM_COMMAND: return "WM_COMMAND";
    default: return nullptr;
  }
}

LResult RecorderProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  auto who = [hwnd] { return ToUtf8(GetWindowText(hwnd)); };
  if (const char* name = Name(message)) {
    std::string line = who() + ":" + name;
    if (message == WM_TIMER || message == WM_SETTINGCHANGE || message == WM_COMMAND)
      line += " " + std::to_string(wParam);
    if (message == WM_ACTIVATE) line += LoWord(wParam) == WA_INACTIVE ? " off" : " on";
    Log().Add(line);
  } else if (message >= WM_USER && message < 0x8000) {
    Log().Add(who() + ":WM_USER+" + std::to_string(message - WM_USER) + " " + std::to_string(wParam));
  } else if (message >= kFirstRegisteredMessage) {
    Log().Add(who() + ":" + MessageName(message) + " " + std::to_string(wParam));
  }
  if (message == WM_PAINT) {
    PaintStruct ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterRecorderClass() {
  WindowClass cls;
  cls.name = kRecorderClass;
  cls.procedure = RecorderProcedure;
  cls.background = Brush::CreateSolid(Rgb(255, 255, 255));
  RegisterClass(cls);  // fails harmlessly when already there
}

Hwnd MakeRecorder(const char16_t* name, uint32_t style, Rect rect, Hwnd parent, int id) {
  RegisterRecorderClass();
  return CreateWindowEx(0, kRecorderClass, name, style, rect.left, rect.top, rect.Width(), rect.Height(), parent, id);
}

StepsPerson::StepsPerson(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {}

bool StepsPerson::OnIdle() {
  SettleThreads();
  Msg msg;
  if (PeekMessage(&msg, kNoWindow, 0, 0, PM_NOREMOVE)) return true;
  if (next_ < steps_.size()) {
    steps_[next_++]();
    return true;
  }
  const Hwnd modal = CurrentModalWindow();
  if (!modal || ++extra_ > 5) return false;
  ADD_FAILURE() << "the person has no step left for \"" << ToUtf8(GetWindowText(modal)) << "\"";
  PostMessage(modal, WM_COMMAND, IDCANCEL, 0);
  return true;
}

void DestroyThreadWindows() {
  for (Hwnd h : GetTopLevelWindows())
    if (GetWindowThreadId(h) == GetCurrentThreadId()) DestroyWindow(h);
  PumpMessages();
}

WindowTest::WindowTest() { Log().Take(); }

WindowTest::~WindowTest() {
  DestroyThreadWindows();
  Log().Take();
}

void WindowTest::SetScreen(int width, int height) {
  DeviceConfig config;
  config.screenWidth = static_cast<unsigned>(width);
  config.screenHeight = static_cast<unsigned>(height);
  device_.SetConfig(config);
}

}  // namespace window_test
