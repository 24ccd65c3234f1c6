#pragma once
// The answers waiting for the message boxes of a device that nobody sits in
// front of. A person or a test queues them beforehand ("handheld answer DEV
// yes no"); each box a program shows takes the first one. The queue is the
// device root's "answers.txt", one answer name per line, shared by every
// process of the device and changed only under the lock ".answers.lock":
//
//   yes
//   no
//
// Names: ok, cancel, abort, retry, ignore, yes, no.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace platform::automation {

// A queue longer than this is refused; no run of the applet asks as much.
inline constexpr size_t kMaxQueuedAnswers = 1000;

// The answer's name, or nullopt for a number that is no answer.
std::optional<std::string> AnswerName(int answer);
// The answer of a name (letter case ignored), or nullopt.
std::optional<int> AnswerFromName(std::string_view name);

// Appends answers. Errors: kErrorPathNotFound without a device root,
// kErrorInvalidParameter for a number that is no answer,
// kErrorNotEnoughMemory when the queue would exceed kMaxQueuedAnswers,
// kErrorWriteFault when the file cannot be written.
ErrorCode QueueAnswers(const std::vector<int>& answers);
// Takes the first answer off the queue; nullopt when none is queued.
std::optional<int> TakeQueuedAnswer();
// What is queued, first answer first.
std::vector<int> QueuedAnswers();
ErrorCode ClearQueuedAnswers();

}  // namespace platform::automation
