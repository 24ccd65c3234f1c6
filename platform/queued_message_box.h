#pragma once
// Message boxes on a device without a screen. The box is journalled with
// its caption, text, icon and buttons, and answered from the device's answer
// queue (automation/answer_queue.h); with nothing queued, or with a queued
// answer that is none of the box's buttons, the box counts as dismissed: it
// answers Cancel or No when it offers one, else its first button. The
// journal says which:
//
//   message box "Connection Setup": "The operator ..." (question; yes/no) answered yes
//   message box "Connection Setup": "The SIM ..." (stop; ok) answered ok (nothing queued: dismissed)
//
// The window system shows the same boxes as windows on a screen.

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"

namespace platform {

// Returns the answer (mb::kIdYes, ...); type holds mb's button and icon
// flags.
int QueuedMessageBox(WStringView text, WStringView caption, uint32_t type);

// The buttons of a box type, in their order on the screen.
std::vector<int> MessageBoxButtonsOf(uint32_t type);
// The answer of a dismissed box.
int DismissedAnswerOf(uint32_t type);
// "stop", "question", "exclamation", "information" or "no icon".
std::string MessageBoxIconName(uint32_t type);

}  // namespace platform
