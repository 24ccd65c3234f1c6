#include "platform/message_beep.h"

#include <string>

#include "platform/journal.h"
#include "platform/message_box_types.h"
#include "platform/queued_message_box.h"

namespace platform {

bool MessageBeep(uint32_t type) {
  std::string sound = type == mb::kSimpleBeep ? "simple" : MessageBoxIconName(type);
  if (sound == "no icon") sound = "default";
  JournalEvent("beep " + sound);
  return true;
}

}  // namespace platform
