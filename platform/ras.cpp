#include "platform/ras.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "platform/ras_phonebook.h"

namespace platform {

namespace {

// Only the default phonebook (a null name) exists.
ErrorCode CheckPhonebook(const char16_t* phonebook) {
  return phonebook == nullptr ? kErrorSuccess : kRasErrorCannotOpenPhonebook;
}

bool Terminated(std::span<const char16_t> field) {
  return std::find(field.begin(), field.end(), u'\0') != field.end();
}

}  // namespace

WString RasAddressText(const RasIpAddr& a) {
  return FormatDotted(a.bytes[3], a.bytes[2], a.bytes[1], a.bytes[0]);
}

bool ParseRasAddress(WStringView text, RasIpAddr& out) {
  const std::string s = ToUtf8(text);
  const char* p = s.data();
  const char* end = s.data() + s.size();
  uint8_t parts[4];
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (p == end || *p != '.') return false;
      ++p;
    }
    unsigned value = 0;
    auto [next, ec] = std::from_chars(p, end, value);
    if (ec != std::errc() || next == p || value > 255) return false;
    parts[i] = static_cast<uint8_t>(value);
    p = next;
  }
  if (p != end) return false;
  for (int i = 0; i < 4; ++i) out.bytes[3 - i] = parts[i];
  return true;
}

bool CopyRasText(std::span<char16_t> field, WStringView text) {
  if (text.size() + 1 > field.size()) return false;
  std::copy(text.begin(), text.end(), field.begin());
  field[text.size()] = 0;
  return true;
}

WString RasText(std::span<const char16_t> field) {
  auto end = std::find(field.begin(), field.end(), u'\0');
  return WString(field.begin(), end);
}

ErrorCode RasEnumEntries(const char16_t* reserved, const char16_t* phonebook,
                         RasEntryName* entries, uint32_t* bufferSize, uint32_t* count) {
  if (reserved != nullptr || bufferSize == nullptr || count == nullptr) return kErrorInvalidParameter;
  if (ErrorCode e = CheckPhonebook(phonebook); e != kErrorSuccess) return e;
  if (entries != nullptr && entries->size != sizeof(RasEntryName)) return kRasErrorInvalidSize;

  std::vector<WString> stored;
  if (ErrorCode e = ListPhonebookEntries(stored); e != kErrorSuccess) return e;
  std::vector<WString> names;
  for (WString& name : stored)
    if (IsValidRasEntryName(name)) names.push_back(std::move(name));

  const uint64_t needed = uint64_t{names.size()} * sizeof(RasEntryName);
  *count = static_cast<uint32_t>(names.size());
  if (entries == nullptr ? needed > 0 : *bufferSize < needed) {
    *bufferSize = static_cast<uint32_t>(needed);
    return kRasErrorBufferTooSmall;
  }
  for (size_t i = 0; i < names.size(); ++i) {
    entries[i] = RasEntryName{};
    entries[i].size = sizeof(RasEntryName);
    CopyRasText(entries[i].entryName, names[i]);
  }
  *bufferSize = static_cast<uint32_t>(needed);
  return kErrorSuccess;
}

ErrorCode RasGetEntryProperties(const char16_t* phonebook, const char16_t* entryName,
                                RasEntry* entry, uint32_t* entrySize, uint8_t* deviceConfig,
                                uint32_t* deviceConfigSize) {
  if (entryName == nullptr || entrySize == nullptr) return kErrorInvalidParameter;
  if (ErrorCode e = CheckPhonebook(phonebook); e != kErrorSuccess) return e;
  if (entry != nullptr && entry->size != sizeof(RasEntry)) return kRasErrorInvalidSize;

  PhonebookEntry stored;
  if (ErrorCode e = ReadPhonebookEntry(entryName, stored); e != kErrorSuccess) return e;
  const auto blockSize = static_cast<uint32_t>(stored.deviceConfig.size());
  const bool entryTooSmall = entry == nullptr || *entrySize < sizeof(RasEntry);
  const bool blockTooSmall = deviceConfigSize != nullptr &&
                             (deviceConfig == nullptr ? blockSize > 0 : *deviceConfigSize < blockSize);
  *entrySize = sizeof(RasEntry);
  if (deviceConfigSize != nullptr) *deviceConfigSize = blockSize;
  if (entryTooSmall || blockTooSmall) return kRasErrorBufferTooSmall;

  *entry = stored.entry;
  if (deviceConfigSize != nullptr && blockSize > 0)
    std::copy(stored.deviceConfig.begin(), stored.deviceConfig.end(), deviceConfig);
  return kErrorSuccess;
}

ErrorCode RasSetEntryProperties(const char16_t* phonebook, const char16_t* entryName,
                                const RasEntry* entry, uint32_t entrySize,
                                const uint8_t* deviceConfig, uint32_t deviceConfigSize) {
  if (entryName == nullptr || entry == nullptr) return kErrorInvalidParameter;
  if (ErrorCode e = CheckPhonebook(phonebook); e != kErrorSuccess) return e;
  if (entry->size != sizeof(RasEntry) || entrySize < sizeof(RasEntry)) return kRasErrorInvalidSize;
  if (deviceConfig == nullptr) return WritePhonebookEntry(entryName, *entry, nullptr, nullptr);
  if (deviceConfigSize > kMaxDeviceConfigSize) return kErrorInvalidParameter;
  const std::vector<uint8_t> block(deviceConfig, deviceConfig + deviceConfigSize);
  return WritePhonebookEntry(entryName, *entry, &block, nullptr);
}

ErrorCode RasSetEntryDialParams(const char16_t* phonebook, const RasDialParams* params,
                                bool removePassword) {
  if (params == nullptr) return kErrorInvalidParameter;
  if (ErrorCode e = CheckPhonebook(phonebook); e != kErrorSuccess) return e;
  if (params->size != sizeof(RasDialParams)) return kRasErrorInvalidSize;
  if (!Terminated(params->entryName) || !Terminated(params->userName) ||
      !Terminated(params->password) || !Terminated(params->domain))
    return kErrorInvalidParameter;
  const WString password = RasText(params->password);
  return WritePhonebookDialParams(RasText(params->entryName), RasText(params->userName),
                                  removePassword ? nullptr : &password, RasText(params->domain));
}

ErrorCode RasGetEntryDialParams(const char16_t* phonebook, RasDialParams* params,
                                bool* passwordSaved) {
  if (params == nullptr || passwordSaved == nullptr) return kErrorInvalidParameter;
  if (ErrorCode e = CheckPhonebook(phonebook); e != kErrorSuccess) return e;
  if (params->size != sizeof(RasDialParams)) return kRasErrorInvalidSize;
  if (!Terminated(params->entryName)) return kErrorInvalidParameter;
  PhonebookEntry stored;
  if (ErrorCode e = ReadPhonebookEntry(RasText(params->entryName), stored); e != kErrorSuccess)
    return e;
  // The phonebook bounds these texts, so each copy fits.
  std::fill(std::begin(params->phoneNumber), std::end(params->phoneNumber), u'\0');
  std::fill(std::begin(params->callbackNumber), std::end(params->callbackNumber), u'\0');
  CopyRasText(params->userName, stored.userName);
  CopyRasText(params->password, stored.password.value_or(u""));
  CopyRasText(params->domain, stored.domain);
  *passwordSaved = stored.password.has_value();
  return kErrorSuccess;
}

ErrorCode RasDeleteEntry(const char16_t* phonebook, const char16_t* entryName) {
  if (entryName == nullptr) return kErrorInvalidParameter;
  if (ErrorCode e = CheckPhonebook(phonebook); e != kErrorSuccess) return e;
  return DeletePhonebookEntry(entryName);
}

}  // namespace platform
