#pragma once
// A thin wrapper over the platform's RAS functions on the default
// phonebook: the table of functions it calls (the platform's, or a test's)
// and the result of the last entry enumeration.

#include <cstddef>
#include <vector>

#include "base/text.h"
#include "platform/ras.h"

namespace applet {

class RasSession {
 public:
  struct Functions {
    decltype(&platform::RasEnumEntries) enumEntries = &platform::RasEnumEntries;
    decltype(&platform::RasGetEntryProperties) getEntryProperties = &platform::RasGetEntryProperties;
    decltype(&platform::RasSetEntryProperties) setEntryProperties = &platform::RasSetEntryProperties;
    decltype(&platform::RasSetEntryDialParams) setEntryDialParams = &platform::RasSetEntryDialParams;
    decltype(&platform::RasDeleteEntry) deleteEntry = &platform::RasDeleteEntry;
  };

  // The enumeration starts with room for this many entries and doubles it
  // while the buffer is too small, up to kMaxEntries.
  static constexpr size_t kFirstEntries = 10;
  static constexpr size_t kMaxEntries = 65536;
  // The result that means the platform ran out of memory.
  static constexpr platform::ErrorCode kNotEnoughMemory = 8;

  RasSession() = default;
  explicit RasSession(const Functions& functions) : functions_(functions) {}

  // Enumerates the default phonebook. Out of memory gives an empty list;
  // any other failure ends with the entries the call reported.
  platform::ErrorCode EnumEntries();
  const std::vector<platform::RasEntryName>& Entries() const { return entries_; }
  size_t Count() const { return count_; }

  const Functions& Call() const { return functions_; }

 private:
  Functions functions_;
  std::vector<platform::RasEntryName> entries_;
  size_t count_ = 0;
};

}  // namespace applet
