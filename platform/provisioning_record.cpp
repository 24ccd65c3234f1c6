#include "platform/provisioning_record.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "base/host_file.h"
#include "platform/device.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr char kSequenceFile[] = "sequence";
constexpr char kLockFile[] = ".lock";
constexpr std::string_view kSuffix = ".xml";
constexpr size_t kMaxSequenceFileSize = 32;

// The number of a file name "NNNN.xml", or nullopt for any other name.
std::optional<uint32_t> NumberOf(const std::string& fileName) {
  if (fileName.size() <= kSuffix.size() || !fileName.ends_with(kSuffix)) return std::nullopt;
  const char* begin = fileName.data();
  const char* end = begin + fileName.size() - kSuffix.size();
  uint32_t number = 0;
  auto [ptr, ec] = std::from_chars(begin, end, number);
  if (ec != std::errc() || ptr != end || end - begin < 4 || number == 0) return std::nullopt;
  return number;
}

uint32_t LastNumber(const fs::path& folder) {
  uint32_t last = 0;
  std::string text;
  if (ReadHostFile(folder / kSequenceFile, kMaxSequenceFileSize, text, nullptr)) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::from_chars(text.data(), text.data() + text.size(), last);
  }
  // A sequence file that was lost must not make numbers repeat.
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(folder, ec))
    if (auto n = NumberOf(item.path().filename().string())) last = std::max(last, *n);
  return last;
}

}  // namespace

std::string ProvisioningFileName(uint32_t number) {
  char name[32];
  std::snprintf(name, sizeof name, "%04u.xml", number);
  return name;
}

std::optional<uint32_t> RecordProvisioningDocument(std::string_view bytes, std::string* why) {
  Device& device = CurrentDevice();
  if (!device.HasRoot()) {
    if (why) *why = "no device root";
    return std::nullopt;
  }
  const fs::path folder = device.ProvisioningPath();
  std::error_code ec;
  fs::create_directories(folder, ec);
  HostFileLock lock(folder / kLockFile, HostFileLock::Mode::Exclusive);
  if (!lock.Held()) {
    if (why) *why = "cannot lock " + (folder / kLockFile).string();
    return std::nullopt;
  }
  const uint32_t last = LastNumber(folder);
  if (last == UINT32_MAX) {
    if (why) *why = "no document numbers left";
    return std::nullopt;
  }
  const uint32_t number = last + 1;
  if (!WriteHostFileAtomically(folder / kSequenceFile, std::to_string(number) + "\n", why) ||
      !WriteHostFileAtomically(folder / ProvisioningFileName(number), bytes, why))
    return std::nullopt;
  return number;
}

std::vector<uint32_t> ListProvisioningDocuments() {
  std::vector<uint32_t> numbers;
  if (!CurrentDevice().HasRoot()) return numbers;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(CurrentDevice().ProvisioningPath(), ec))
    if (auto n = NumberOf(item.path().filename().string())) numbers.push_back(*n);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool ReadProvisioningDocument(uint32_t number, std::string& bytes, std::string* why) {
  if (!CurrentDevice().HasRoot()) {
    if (why) *why = "no device root";
    return false;
  }
  return ReadHostFile(CurrentDevice().ProvisioningPath() / ProvisioningFileName(number),
                      kMaxProvisioningDocumentSize, bytes, why);
}

}  // namespace platform
