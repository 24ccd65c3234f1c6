#include "platform/automation/answer_queue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "base/host_file.h"
#include "platform/device.h"
#include "platform/message_box_types.h"

namespace platform::automation {

namespace {

namespace fs = std::filesystem;

// A queue of kMaxQueuedAnswers names is well below this.
constexpr size_t kMaxFileSize = 64 * 1024;

struct Named {
  int answer;
  const char* name;
};
constexpr std::array<Named, 7> kAnswers{{
    {mb::kIdOk, "ok"},
    {mb::kIdCancel, "cancel"},
    {mb::kIdAbort, "abort"},
    {mb::kIdRetry, "retry"},
    {mb::kIdIgnore, "ignore"},
    {mb::kIdYes, "yes"},
    {mb::kIdNo, "no"},
}};

fs::path QueuePath() { return CurrentDevice().Root() / "answers.txt"; }
fs::path LockPath() { return CurrentDevice().Root() / ".answers.lock"; }

// The queue as stored; lines that name no answer are left out.
std::vector<int> ReadQueue() {
  std::string text;
  std::vector<int> answers;
  if (!ReadHostFile(QueuePath(), kMaxFileSize, text, nullptr)) return answers;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (auto answer = AnswerFromName(line)) answers.push_back(*answer);
    start = end + 1;
  }
  return answers;
}

bool WriteQueue(const std::vector<int>& answers) {
  std::string text;
  for (int answer : answers) text += *AnswerName(answer) + "\n";
  return WriteHostFileAtomically(QueuePath(), text, nullptr);
}

}  // namespace

std::optional<std::string> AnswerName(int answer) {
  for (const Named& n : kAnswers)
    if (n.answer == answer) return n.name;
  return std::nullopt;
}

std::optional<int> AnswerFromName(std::string_view name) {
  for (const Named& n : kAnswers) {
    const std::string_view known(n.name);
    if (known.size() == name.size() &&
        std::equal(known.begin(), known.end(), name.begin(), [](char a, char b) {
          return a == std::tolower(static_cast<unsigned char>(b));
        }))
      return n.answer;
  }
  return std::nullopt;
}

ErrorCode QueueAnswers(const std::vector<int>& answers) {
  if (!CurrentDevice().HasRoot()) return kErrorPathNotFound;
  for (int answer : answers)
    if (!AnswerName(answer)) return kErrorInvalidParameter;
  HostFileLock lock(LockPath(), HostFileLock::Mode::Exclusive);
  if (!lock.Held()) return kErrorAccessDenied;
  std::vector<int> queue = ReadQueue();
  if (queue.size() + answers.size() > kMaxQueuedAnswers) return kErrorNotEnoughMemory;
  queue.insert(queue.end(), answers.begin(), answers.end());
  return WriteQueue(queue) ? kErrorSuccess : kErrorWriteFault;
}

std::optional<int> TakeQueuedAnswer() {
  if (!CurrentDevice().HasRoot()) return std::nullopt;
  HostFileLock lock(LockPath(), HostFileLock::Mode::Exclusive);
  if (!lock.Held()) return std::nullopt;
  std::vector<int> queue = ReadQueue();
  if (queue.empty()) return std::nullopt;
  const int first = queue.front();
  queue.erase(queue.begin());
  // An answer that cannot be taken off the queue would be given again to
  // the next box, so it is not given at all.
  if (!WriteQueue(queue)) return std::nullopt;
  return first;
}

std::vector<int> QueuedAnswers() {
  if (!CurrentDevice().HasRoot()) return {};
  HostFileLock lock(LockPath(), HostFileLock::Mode::Shared);
  return ReadQueue();
}

ErrorCode ClearQueuedAnswers() {
  if (!CurrentDevice().HasRoot()) return kErrorPathNotFound;
  HostFileLock lock(LockPath(), HostFileLock::Mode::Exclusive);
  if (!lock.Held()) return kErrorAccessDenied;
  return WriteQueue({}) ? kErrorSuccess : kErrorWriteFault;
}

}  // namespace platform::automation
