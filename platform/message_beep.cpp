#include "platform/message_beep.h"

#include <string>

#include "platform/journal.h"
#include "platform/windows/message_box.h"

namespace platform {

namespace {

const char* SoundName(uint32_t type) {
  if (type == kSimpleBeep) return "simple";
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return "stop";
    case MB_ICONQUESTION: return "question";
    case MB_ICONEXCLAMATION: return "exclamation";
    case MB_ICONASTERISK: return "information";
    default: return "default";
  }
}

}  // namespace

bool MessageBeep(uint32_t type) {
  JournalEvent(std::string("beep ") + SoundName(type));
  return true;
}

}  // namespace platform
