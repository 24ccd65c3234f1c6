#pragma once
// What the window system tests share: a temporary device (portrait
// 240 x 320 unless told otherwise), a manual clock, nobody in front of the
// device, a test window class that records the messages it hears, and a
// tear-down that leaves no window behind for the next test.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/clock.h"
#include "platform/windows/person.h"
#include "platform/windows/window.h"
#include "platform/windows/window_types.h"
#include "tests/support/temp_device.h"

namespace window_test {

// The messages the recording windows heard, as "name:MESSAGE" lines.
class MessageLog {
 public:
  void Add(std::string line);
  std::vector<std::string> Take();
  // The lines that mention the message name, in order.
  std::vector<std::string> Only(const std::string& message);

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

MessageLog& Log();

// A class whose windows record WM_CREATE, WM_DESTROY, WM_PAINT, WM_TIMER,
// WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_SETTINGCHANGE, WM_COMMAND,
// WM_USER+ and registered messages under their window text, and otherwise
// behave as default windows.
inline constexpr char16_t kRecorderClass[] = u"TestRecorder";
void RegisterRecorderClass();
platform::Hwnd MakeRecorder(const char16_t* name, uint32_t style, platform::Rect rect,
                            platform::Hwnd parent = platform::kNoWindow, int id = 0);

// A person who does one step at each moment the test's thread has nothing
// left to do (after the other threads settled). With no step left the test
// fails and the modal window is dismissed, so that a test never hangs.
class StepsPerson : public platform::Person {
 public:
  explicit StepsPerson(std::vector<std::function<void()>> steps);
  bool OnIdle() override;
  size_t Left() const { return steps_.size() - next_; }

 private:
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  int extra_ = 0;
};

// Destroys every window the calling thread still has.
void DestroyThreadWindows();

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;
  void SetScreen(int width, int height);

  test_support::TempDevice device_;
  platform::ManualClock clock_;
  platform::ScopedClock scopedClock_{clock_};
  platform::ScopedPerson nobody_{nullptr};
};

}  // namespace window_test
