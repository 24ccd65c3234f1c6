#pragma once
// A small reader and writer for the emulator's own host-side settings files
// (device.ini, sim.ini): UTF-8, "[Section]" headers, "key=value" lines,
// comments after ';' or '#'. Keys and sections are compared without regard
// to letter case (ASCII). This is not the handheld's ini reader; the applet
// reads its files through its own sectioned text reader.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class HostIniStatus {
  Ok,
  Missing,            // no such file
  Unreadable,         // the file exists but cannot be read, or is too large
  LineTooLong,        // a line above kMaxLineLength
  UnclosedSection,    // a '[' line without its closing ']'
  NotKeyValue,        // a line that is neither a section, a comment nor key=value
  KeyOutsideSection,  // key=value before the first section
};

class HostIni {
 public:
  struct Error {
    HostIniStatus status = HostIniStatus::Ok;
    size_t line = 0;  // 0 when the file itself could not be read
    std::string message;
  };

  // Longest file and line accepted; these files are a few lines long.
  static constexpr size_t kMaxFileSize = 64 * 1024;
  static constexpr size_t kMaxLineLength = 4096;

  // Parses text; on failure returns nothing and fills *error.
  static std::optional<HostIni> Parse(const std::string& text, Error* error);
  // Reads a file; a missing or unreadable file is an error with line 0.
  static std::optional<HostIni> Load(const std::filesystem::path& path, Error* error);

  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  std::string GetOr(const std::string& section, const std::string& key,
                    const std::string& fallback) const;
  void Set(const std::string& section, const std::string& key, const std::string& value);

  // Writes sections and keys in the order they were first seen or set.
  std::string Format() const;
  // Atomic save: temporary file in the same folder, then rename.
  bool Save(const std::filesystem::path& path) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;

  std::vector<Section> sections_;
};

}  // namespace platform
