#pragma once
// Someone in front of the device. A thread's message loop that has nothing
// left to do asks the person to act before it waits: tap, type, answer a
// message box, turn the screen, let time pass. The person acts on one thread
// only, the one that put it there; the message loops of other threads (a
// busy indicator's) never call it. What it does reaches the windows as input
// messages, so nothing a program does tells it from a real person.
//
// The platform puts a default person in front of every process (see
// platform/automation/automation_person.h): nobody, who answers message
// boxes from the device's answer queue and dismisses every other modal
// window, so a device without a screen never hangs on a question.

#include <memory>

namespace platform {

class Person {
 public:
  virtual ~Person() = default;
  // The person's thread waits for a message and has nothing to do. Returns
  // true when the person did something (the thread looks at its queue
  // again), false to let the thread wait. Called again at every such
  // moment, also from nested modal loops inside what the person did.
  virtual bool OnIdle() = 0;
};

// Puts a person in front of the device, acting on the calling thread; null
// leaves nobody (threads then just wait). Returns the one before.
std::shared_ptr<Person> SetPerson(std::shared_ptr<Person> person);
std::shared_ptr<Person> CurrentPerson();
// The thread the person acts on (GetCurrentThreadId's numbering).
uint32_t PersonThreadId();

class ScopedPerson {
 public:
  explicit ScopedPerson(std::shared_ptr<Person> person);
  ~ScopedPerson();
  ScopedPerson(const ScopedPerson&) = delete;
  ScopedPerson& operator=(const ScopedPerson&) = delete;

 private:
  std::shared_ptr<Person> previous_;
  uint32_t previousThread_ = 0;
};

}  // namespace platform
