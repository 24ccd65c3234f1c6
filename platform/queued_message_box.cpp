#include "platform/queued_message_box.h"

#include <algorithm>

#include "platform/automation/answer_queue.h"
#include "platform/journal.h"
#include "platform/message_box_types.h"

namespace platform {

std::vector<int> MessageBoxButtonsOf(uint32_t type) {
  switch (type & mb::kTypeMask) {
    case mb::kOkCancel: return {mb::kIdOk, mb::kIdCancel};
    case mb::kAbortRetryIgnore: return {mb::kIdAbort, mb::kIdRetry, mb::kIdIgnore};
    case mb::kYesNoCancel: return {mb::kIdYes, mb::kIdNo, mb::kIdCancel};
    case mb::kYesNo: return {mb::kIdYes, mb::kIdNo};
    case mb::kRetryCancel: return {mb::kIdRetry, mb::kIdCancel};
    default: return {mb::kIdOk};
  }
}

int DismissedAnswerOf(uint32_t type) {
  const std::vector<int> buttons = MessageBoxButtonsOf(type);
  for (int answer : {mb::kIdCancel, mb::kIdNo})
    if (std::find(buttons.begin(), buttons.end(), answer) != buttons.end()) return answer;
  return buttons.front();
}

std::string MessageBoxIconName(uint32_t type) {
  switch (type & mb::kIconMask) {
    case mb::kIconStop: return "stop";
    case mb::kIconQuestion: return "question";
    case mb::kIconExclamation: return "exclamation";
    case mb::kIconInformation: return "information";
    default: return "no icon";
  }
}

int QueuedMessageBox(WStringView text, WStringView caption, uint32_t type) {
  const std::vector<int> buttons = MessageBoxButtonsOf(type);
  std::string buttonNames;
  for (int b : buttons) buttonNames += (buttonNames.empty() ? "" : "/") + *automation::AnswerName(b);

  const std::optional<int> queued = automation::TakeQueuedAnswer();
  int answer = DismissedAnswerOf(type);
  std::string how;
  if (!queued) {
    how = " (nothing queued: dismissed)";
  } else if (std::find(buttons.begin(), buttons.end(), *queued) == buttons.end()) {
    how = " (queued " + *automation::AnswerName(*queued) + " is not offered: dismissed)";
  } else {
    answer = *queued;
  }
  JournalEvent("message box \"" + ToUtf8(caption) + "\": \"" + ToUtf8(text) + "\" (" +
               MessageBoxIconName(type) + "; " + buttonNames + ") answered " +
               *automation::AnswerName(answer) + how);
  return answer;
}

}  // namespace platform
