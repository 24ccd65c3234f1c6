#include "applet/shell/single_instance.h"

#include <atomic>

#include "platform/broadcast.h"
#include "platform/message_beep.h"
#include "platform/windows/message_box.h"
#include "platform/registered_messages.h"

namespace applet {

namespace {

std::atomic<uint32_t> g_message{0};

}  // namespace

void RegisterSingleInstanceMessage() {
  g_message = platform::RegisterDeviceMessage(kSingleInstanceMessage);
}

void ForgetSingleInstanceMessage() { g_message = 0; }

uint32_t SingleInstanceMessage() { return g_message; }

bool SingleInstance::AnotherCopyRuns() {
  const uint32_t message = g_message;
  if (message == 0) return false;
  bool existed = false;
  if (mutex_.Create(kSingleInstanceMutex, /*initialOwner=*/true, &existed) != platform::kErrorSuccess ||
      !existed)
    return false;
  // The other copy keeps the mutex alive; this handle is not needed.
  mutex_.Close();
  platform::MessageBeep(platform::MB_ICONEXCLAMATION);
  platform::BroadcastMessage(platform::Delivery::Posted, message, 0, 0);
  return true;
}

}  // namespace applet
