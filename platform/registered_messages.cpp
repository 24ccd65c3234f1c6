#include "platform/registered_messages.h"

#include <cstdio>
#include <map>
#include <mutex>

#include "base/errors.h"
#include "base/host_file.h"
#include "platform/device.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxTableSize = (kLastRegisteredMessage - kFirstRegisteredMessage + 1) *
                                 (kMaxMessageNameLength * 3 + 8);

// Numbers by case-folded name, and the names as first registered.
struct Table {
  std::map<WString, uint32_t> numbers;
  std::map<uint32_t, WString> names;

  void Add(uint32_t number, WString name) {
    numbers.emplace(FoldCase(name), number);
    names.emplace(number, std::move(name));
  }
};

fs::path TablePath() { return CurrentDevice().Root() / "messages.txt"; }
fs::path LockPath() { return CurrentDevice().Root() / ".messages.lock"; }

std::mutex g_memoryMutex;
Table g_memory;  // for a device without a root

bool ReadTable(Table& table) {
  std::string text;
  ErrorCode code = kErrorSuccess;
  if (!ReadHostFile(TablePath(), kMaxTableSize, text, nullptr, &code))
    return code == kErrorFileNotFound || code == kErrorPathNotFound;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    unsigned number = 0;
    int consumed = 0;
    if (std::sscanf(line.c_str(), "%4X %n", &number, &consumed) != 1 || consumed == 0 ||
        number < kFirstRegisteredMessage || number > kLastRegisteredMessage)
      continue;
    table.Add(number, FromUtf8(line.substr(static_cast<size_t>(consumed))));
  }
  return true;
}

bool WriteTable(const Table& table) {
  std::string text;
  for (const auto& [number, name] : table.names) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X ", number);
    text += hex + ToUtf8(name) + "\n";
  }
  return WriteHostFileAtomically(TablePath(), text, nullptr);
}

bool IsValidName(WStringView name) {
  if (name.empty() || name.size() > kMaxMessageNameLength) return false;
  for (char16_t c : name)
    if (c < u' ' || c == 0x7F) return false;
  return true;
}

uint32_t Register(Table& table, WStringView name, bool& changed) {
  changed = false;
  if (auto it = table.numbers.find(FoldCase(name)); it != table.numbers.end()) return it->second;
  const uint32_t number = table.names.empty() ? kFirstRegisteredMessage : table.names.rbegin()->first + 1;
  if (number > kLastRegisteredMessage) {
    SetLastError(kErrorNotEnoughMemory);
    return 0;
  }
  table.Add(number, WString(name));
  changed = true;
  return number;
}

}  // namespace

uint32_t RegisterDeviceMessage(WStringView name) {
  if (!IsValidName(name)) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  bool changed = false;
  if (!CurrentDevice().HasRoot()) {
    std::lock_guard lock(g_memoryMutex);
    return Register(g_memory, name, changed);
  }
  HostFileLock lock(LockPath(), HostFileLock::Mode::Exclusive);
  Table table;
  if (!lock.Held() || !ReadTable(table)) {
    SetLastError(kErrorBadDb);
    return 0;
  }
  const uint32_t number = Register(table, name, changed);
  if (changed && !WriteTable(table)) {
    SetLastError(kErrorWriteFault);
    return 0;
  }
  return number;
}

std::optional<WString> RegisteredMessageName(uint32_t number) {
  Table table;
  if (!CurrentDevice().HasRoot()) {
    std::lock_guard lock(g_memoryMutex);
    table = g_memory;
  } else {
    HostFileLock lock(LockPath(), HostFileLock::Mode::Shared);
    if (!lock.Held() || !ReadTable(table)) return std::nullopt;
  }
  auto it = table.names.find(number);
  if (it == table.names.end()) return std::nullopt;
  return it->second;
}

}  // namespace platform
