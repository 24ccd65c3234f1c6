#pragma once
// One copy of the applet at a time, across the processes of the device: an
// entry that finds another copy running sounds the exclamation beep, posts
// the registered message "VELMsingleInstanceMsg" to every top-level window
// (the running copy's dialog answers it by coming to the front) and does
// nothing else.
//
// The mutex "VELMsingleInstanceMux" marks a running copy. It is held while
// the entry that took it runs and let go when the entry returns, so a
// control panel that keeps the library loaded opens the applet again next
// time, while a second open during the first still finds the first.

#include <cstdint>

#include "platform/named_mutex.h"

namespace applet {

inline constexpr char16_t kSingleInstanceMutex[] = u"VELMsingleInstanceMux";
inline constexpr char16_t kSingleInstanceMessage[] = u"VELMsingleInstanceMsg";

// Registers the message; the library does it once when it loads. The
// number is kept (0 when the registration failed).
void RegisterSingleInstanceMessage();
void ForgetSingleInstanceMessage();
uint32_t SingleInstanceMessage();

class SingleInstance {
 public:
  SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when another copy runs (after the beep and the broadcast). Without
  // a registered message the check is skipped and reports no other copy.
  // Otherwise this object holds the mutex until it ends.
  bool AnotherCopyRuns();

 private:
  platform::NamedMutex mutex_;
};

}  // namespace applet
