#include "platform/automation/answer_queue.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <mutex>

#include "platform/device.h"
#include "platform/windows/message_box.h"

namespace platform {

namespace {

constexpr size_t kMaxAnswersFile = 64 * 1024;

std::mutex g_memoryMutex;
std::vector<std::string> g_memory;

std::filesystem::path QueuePath() {
  Device& device = CurrentDevice();
  return device.HasRoot() ? device.Root() / "answers" : std::filesystem::path();
}

std::vector<std::string> Parse(const std::string& text) {
  std::vector<std::string> answers;
  size_t start = 0;
  while (start < text.size() && answers.size() < kMaxQueuedAnswers) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) answers.push_back(line);
    start = end + 1;
  }
  return answers;
}

std::string Join(const std::vector<std::string>& answers) {
  std::string text;
  for (const auto& a : answers) text += a + "\n";
  return text;
}

// Runs change on the queue under the file's lock and writes back what it
// left; false when the file cannot be opened or written.
template <typename Change>
bool WithQueue(Change change) {
  const std::filesystem::path path = QueuePath();
  if (path.empty()) {
    std::lock_guard lock(g_memoryMutex);
    change(g_memory);
    return true;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return false;
    }
  }
  std::string text;
  char buffer[4096];
  ssize_t n = 0;
  while (text.size() < kMaxAnswersFile && (n = ::read(fd, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<size_t>(n));
  std::vector<std::string> answers = Parse(text);
  const std::vector<std::string> before = answers;
  change(answers);
  bool ok = true;
  if (answers != before) {
    const std::string out = Join(answers);
    ok = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, out.data(), out.size(), 0) == static_cast<ssize_t>(out.size());
  }
  ::flock(fd, LOCK_UN);
  ::close(fd);
  return ok;
}

}  // namespace

bool QueueAnswers(const std::vector<std::string>& answers, std::string* why) {
  for (const auto& a : answers) {
    if (!AnswerFromName(a)) {
      if (why != nullptr) *why = "\"" + a + "\" is not an answer (ok, cancel, abort, retry, ignore, yes, no)";
      return false;
    }
  }
  bool full = false;
  const bool written = WithQueue([&](std::vector<std::string>& queue) {
    if (queue.size() + answers.size() > kMaxQueuedAnswers) {
      full = true;
      return;
    }
    queue.insert(queue.end(), answers.begin(), answers.end());
  });
  if (why != nullptr && (full || !written))
    *why = full ? "more than " + std::to_string(kMaxQueuedAnswers) + " answers queued" : "the queue cannot be written";
  return written && !full;
}

std::optional<std::string> TakeAnswer() {
  std::optional<std::string> taken;
  WithQueue([&](std::vector<std::string>& queue) {
    if (queue.empty()) return;
    taken = queue.front();
    queue.erase(queue.begin());
  });
  return taken;
}

std::vector<std::string> PendingAnswers() {
  std::vector<std::string> copy;
  WithQueue([&](std::vector<std::string>& queue) { copy = queue; });
  return copy;
}

bool ClearAnswers() {
  return WithQueue([](std::vector<std::string>& queue) { queue.clear(); });
}

}  // namespace platform
