#pragma once
// The answers left for the message boxes of a device without a screen: the
// file "answers" in the device root, one answer a line, taken from the top
// as boxes come up:
//
//   yes
//   no
//   ok
//
// An answer is the name of a button: ok, cancel, abort, retry, ignore, yes,
// no. Taking an answer and adding answers hold a lock on the file, so two
// processes of one device never take the same answer. A device without a
// root keeps its queue in memory.

#include <optional>
#include <string>
#include <vector>

namespace platform {

// More answers than anyone queues; reading stops here.
inline constexpr size_t kMaxQueuedAnswers = 1000;

// Appends answers; false (nothing added) when one is not a button's name or
// the file cannot be written.
bool QueueAnswers(const std::vector<std::string>& answers, std::string* why = nullptr);
// Takes the first answer, or nullopt when none is left.
std::optional<std::string> TakeAnswer();
std::vector<std::string> PendingAnswers();
bool ClearAnswers();

}  // namespace platform
