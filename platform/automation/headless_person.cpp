#include "platform/automation/headless_person.h"

#include <algorithm>

#include "platform/automation/answer_queue.h"
#include "platform/journal.h"
#include "platform/windows/message_box.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"

namespace platform {

namespace {

std::string Title(Hwnd hwnd) { return "\"" + ToUtf8(GetWindowText(hwnd)) + "\""; }

void Command(Hwnd hwnd, int id) {
  PostMessage(hwnd, WM_COMMAND, MakeWParam(static_cast<uint16_t>(id), 0), 0);
}

// The thread's topmost shown top-level window.
Hwnd FrontOfThread() {
  for (Hwnd h : GetTopLevelWindows())
    if (IsWindowVisible(h) && GetWindowThreadId(h) == GetCurrentThreadId()) return h;
  return kNoWindow;
}

}  // namespace

NobodyInFront::NobodyInFront(bool useAnswerQueue, Note note)
    : useAnswerQueue_(useAnswerQueue), note_(std::move(note)) {}

bool NobodyInFront::Act() {
  const Hwnd modal = CurrentModalWindow();
  const Hwnd target = modal ? modal : FrontOfThread();
  if (!target) return false;
  repeats_ = target == last_ ? repeats_ + 1 : 0;
  last_ = target;
  if (repeats_ >= kMaxRepeatedDismissals) {
    note_("nobody in front of the device: " + Title(target) + " does not go; its loops are ended");
    PostQuitMessage(1);
    last_ = kNoWindow;
    return true;
  }
  if (!modal) {
    note_("nobody in front of the device: " + Title(target) + " closed");
    PostMessage(target, WM_CLOSE, 0, 0);
    return true;
  }
  const auto box = GetMessageBoxContent(modal);
  if (!box) {
    note_("nobody in front of the device: " + Title(modal) + " dismissed with cancel");
    Command(modal, IDCANCEL);
    return true;
  }
  const int dismiss = MessageBoxDismissAnswer(box->type);
  const std::string dismissName = AnswerName(dismiss).value_or("?");
  const std::optional<std::string> queued = useAnswerQueue_ ? TakeAnswer() : std::nullopt;
  int answer = dismiss;
  if (!useAnswerQueue_) {
    note_("nobody in front of the device: message box dismissed with " + dismissName);
  } else if (!queued) {
    note_("answer queue empty: message box dismissed with " + dismissName);
  } else {
    const std::optional<int> id = AnswerFromName(*queued);
    if (id && std::find(box->buttons.begin(), box->buttons.end(), *id) != box->buttons.end()) {
      answer = *id;
      note_("answer queue: " + *queued);
    } else {
      note_("answer queue: " + *queued + " is not a button of the message box; dismissed with " + dismissName);
    }
  }
  Command(modal, answer);
  return true;
}

HeadlessPerson::HeadlessPerson() : nobody_(true, [](const std::string& line) { JournalEvent(line); }) {}

}  // namespace platform
