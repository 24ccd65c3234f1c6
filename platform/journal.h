#pragma once
// The device's journal: an append-only text file, "journal.log", with one
// line per platform event that leaves no other trace (a document handed to
// the configuration manager, a process started, a broadcast, a beep, a HAL
// control code, a named event signalled). Each line is a sequence number of
// six or more digits, a blank and the event text (UTF-8):
//
//   000001 reset hard
//   000002 process started \Windows\VELMauto.exe (found)
//
// Appends from several processes are serialised by a lock on the file, so
// numbers never repeat.

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Journal {
 public:
  // An empty path keeps the lines in memory.
  explicit Journal(std::filesystem::path file);

  // Appends one event and returns its sequence number (0 when the line could
  // not be written). Line breaks inside the text become blanks.
  unsigned long Append(std::string_view event);

  // The whole journal.
  std::vector<std::string> Lines();

 private:
  unsigned long LastNumber(int fd);

  std::filesystem::path file_;
  std::mutex mutex_;
  std::vector<std::string> memory_;
};

// Appends to the current device's journal.
unsigned long JournalEvent(std::string_view event);

}  // namespace platform
