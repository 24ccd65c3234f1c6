#pragma once
// Nobody in front of the device. When a thread's loop waits for a person
// who is not there, the modal window it runs for is answered as nobody
// answers: a message box with the next answer from the device's answer
// queue (answer_queue.h), or, with none queued or one the box does not
// offer, dismissed (Cancel or No); any other modal window dismissed with
// Cancel; a program's own window, when no modal loop runs, closed. Each of
// these is noted ("answer queue: yes", "answer queue empty: ...").
//
// A window that will not go after kMaxRepeatedDismissals tries ends the
// thread's loops (a quit message), so a device without a screen never hangs.

#include <functional>
#include <string>

#include "platform/windows/person.h"
#include "platform/windows/window_types.h"

namespace platform {

inline constexpr int kMaxRepeatedDismissals = 10;

class NobodyInFront {
 public:
  using Note = std::function<void(const std::string&)>;
  // With useAnswerQueue false every message box is dismissed.
  NobodyInFront(bool useAnswerQueue, Note note);
  // Does what nobody does; false when there is nothing left to do.
  bool Act();

 private:
  bool useAnswerQueue_;
  Note note_;
  Hwnd last_;
  int repeats_ = 0;
};

// The default person of a process: nobody, noting into the journal.
class HeadlessPerson : public Person {
 public:
  HeadlessPerson();
  bool OnIdle() override { return nobody_.Act(); }

 private:
  NobodyInFront nobody_;
};

}  // namespace platform
