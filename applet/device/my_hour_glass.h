#pragma once
// The busy indicator: while the applet works on its thread, a wait window
// with a moving bar runs on a user-interface thread of its own, so it keeps
// moving. At most one indicator runs at a time.
//
// ShowBusy starts the thread (suspended, then resumed once it knows its
// text and owner). HideBusy only counts a stop request, atomically, and
// forgets the indicator; the indicator's thread sees the request on its
// next idle pass (after its next message, such as the bar's 100 ms timer),
// closes the window with OK and ends. The indicator object lives until both
// threads have let go of it, so a late request never reaches a deleted
// object.

#include <atomic>
#include <cstdint>
#include <memory>

#include "applet/device/busy_dialog.h"
#include "platform/framework/win_thread.h"
#include "platform/windows/window_types.h"

namespace applet {

class CMyHourGlass : public framework::CWinThread {
  VELM_DECLARE_DYNCREATE(CMyHourGlass)

 public:
  CMyHourGlass() = default;

  void SetMessage(uint32_t messageId, platform::Hwnd owner) {
    messageId_ = messageId;
    owner_ = owner;
  }
  platform::Hwnd Owner() const { return owner_; }
  // Counts a request to stop (one atomic step).
  void RequestStop() { stopRequests_.fetch_add(1); }
  // The wait window, while it exists (the indicator's thread uses it).
  platform::Hwnd DialogWindow() const { return dialogWindow_.load(); }

 protected:
  bool InitInstance() override;
  bool OnIdle(long count) override;

 private:
  uint32_t messageId_ = 0;
  platform::Hwnd owner_;
  std::atomic<int> stopRequests_{0};
  std::unique_ptr<CBusyDialog> dialog_;
  std::atomic<platform::Hwnd> dialogWindow_{};
};

// Shows the wait window with string resource messageId; owner is the
// window to bring back afterwards (may be none). A running indicator is
// stopped first.
void ShowBusy(uint32_t messageId, platform::Hwnd owner);
// Asks the running indicator to stop, bringing its owner back to the front
// when asked; nothing without one.
void HideBusy(bool bringOwnerBack);
// For the end of a process: stops the running indicator and waits until
// its thread has ended (a message to its window starts the idle pass at
// once, rather than at the bar's next step).
void StopBusyAndWait();
// The running indicator, or null.
std::shared_ptr<CMyHourGlass> RunningBusyIndicator();

}  // namespace applet
