#pragma once
// The reader of the applet's ini-style text files: operator and modem
// databases, the applet's switches and the skin descriptions.
//
// File format, as read:
//
//   [Section]            a header: after leading white space '[', the name,
//                        ']'; white space around the name is dropped and
//                        text after ']' ignored. A line with '[' but no ']'
//                        opens no section, but a lookup that has reached
//                        its section stops there as at any header, so the
//                        keys below a broken header never count as keys of
//                        the section above it.
//   ; comment            after leading blanks
//   key = value          the key is the text before the first '=' without
//                        white space around it; the value runs from the
//                        first to the last non-white character after '='
//                        and loses one pair of enclosing double or single
//                        quotes. A line without '=' has an empty key.
//
// Lines end with LF, a CR before the LF is dropped, and a line longer than
// kMaxLineLength is read as several lines. White space is the C library's
// space class plus 0x1A (the old end-of-file mark). The text is 8-bit in the
// device's ANSI code page and converted to UTF-16 as it is read.
//
// Lookups: section names are compared exactly, letter case included. Keys
// are compared by KeysEqual, which ignores letter case (full Unicode case
// folding); the same comparison finds the section index entry a lookup
// starts from, and serves every other name that these files carry (skin
// type names, "Trigger" values, picture-file suffixes), so a file written
// in any letter case reads the same. Only the first section of a name
// counts, and within it the first line with the key.
//
// The file is never held in memory: every lookup streams it through one
// 4096-byte buffer and one 2048-byte line buffer, and starts from the
// buffer when it already holds the place to start from. (The buffer is a
// page rather than 1 KB: with world-sized operator databases a quarter of
// a boot lookup went into the reads of a 1 KB buffer; memory stays fixed.)
// ListSections builds an index of header positions, hashed by name; later
// lookups then seek straight to their section instead of reading from the
// start. Key lines are matched on their bytes, and converted to UTF-16
// only when the key is the one looked for.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "platform/file.h"

namespace applet {

class SectionedTextReader {
 public:
  static constexpr size_t kBufferSize = 4096;
  static constexpr size_t kLineBufferSize = 2048;
  static constexpr size_t kMaxLineLength = kLineBufferSize - 1;
  // Rectangle values of this many characters or more are refused.
  static constexpr size_t kMaxRectTextLength = 100;

  struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
  };

  // A colour as the platform's drawing takes it: red + 256 * green +
  // 65536 * blue.
  using Colour = uint32_t;

  SectionedTextReader();
  ~SectionedTextReader();
  SectionedTextReader(const SectionedTextReader&) = delete;
  SectionedTextReader& operator=(const SectionedTextReader&) = delete;

  // Opens the file at the device path for reading, letting others read and
  // write it meanwhile. False when the file does not exist or cannot be
  // opened; lookups then fail until the next successful Open.
  bool Open(platform::WStringView path);
  // Closes the file and forgets the section index.
  void Close();
  bool IsOpen() const { return isOpen_; }
  const platform::WString& Path() const { return path_; }

  // Appends every section name in file order to names and returns how many
  // sections the file has. Builds the section index on first use.
  size_t ListSections(std::vector<platform::WString>& names);

  // True with out = value when the key is found; false with out = default
  // when it is not; false with out untouched when no file is open.
  bool GetString(platform::WStringView section, platform::WStringView key, platform::WString& out,
                 platform::WStringView defaultValue);
  // The same into a character buffer, zero-terminated. A value that does
  // not fit (its length is capacity or more) counts as absent: the default
  // is copied instead, when it fits, and the result is false. The buffer is
  // left untouched when neither fits or no file is open.
  bool GetStringInto(platform::WStringView section, platform::WStringView key,
                     platform::WStringView defaultValue, std::span<char16_t> buffer);
  // The value when it is non-empty and only the digits 0 to 9 (no sign, no
  // blanks inside), else the default.
  int32_t GetInt(platform::WStringView section, platform::WStringView key, int32_t defaultValue);
  // Replaces out with the value's pieces between separators, each trimmed
  // of white space, empty pieces dropped; returns their number.
  size_t GetList(platform::WStringView section, platform::WStringView key, char16_t separator,
                 std::vector<platform::WString>& out);
  // Left, top, right and bottom from the value's tokens (see ParseRgb).
  // False with an empty rectangle when the value is absent, empty or
  // kMaxRectTextLength characters or longer.
  bool GetRect(platform::WStringView section, platform::WStringView key, Rect& out);

  // Up to three integers (red, green, blue), each cut to its low 8 bits;
  // missing ones are 0. Tokens are separated by any run of commas and
  // blanks, and each is read as the platform's decimal text-to-long reads
  // it. False, colour untouched, for an empty text.
  static bool ParseRgb(platform::WStringView text, Colour& colour);

  // What a line is to the lookups and to the index.
  enum class EntryKind {
    Header,  // opens a section for both
    Key,     // key '=' value, or a line without '='
    // '[' without ']': opens no section, but ends the section a lookup is in.
    UnclosedHeader,
    // A header indented by white space other than blanks (a tab): the index
    // lists the section, while lookups read the line as a key line without
    // '=', so they never find the section's keys and read them as keys of
    // the section above instead.
    IndexOnlyHeader,
  };

  // A line as the lookups read it.
  struct Entry {
    size_t lineNumber;  // from 1; the pieces of an over-long line share it
    EntryKind kind;
    // For a header of either kind, its name; for an unclosed header, the
    // section it ends. For a key line, the section whose lookups read it:
    // empty before the first header and after an unclosed one, where no
    // lookup ever arrives.
    platform::WString section;
    platform::WString key;  // of a key line; empty for a line without '='
    platform::WString value;
  };
  // Reads the file from the start and calls visit for every line that is
  // not blank or a comment, in file order. For tools that report on a file:
  // the lookups never need line numbers.
  void ForEachEntry(const std::function<void(const Entry&)>& visit);

  // A value cut as GetList cuts it: pieces between separators, trimmed of
  // white space, empty pieces dropped.
  static std::vector<platform::WString> SplitList(platform::WStringView value, char16_t separator);
  // Whether GetInt takes a value: not empty and only the digits 0 to 9.
  static bool IsDigitText(platform::WStringView text);

  // The comparison of keys and of every other name read from these files
  // (see above): true when a and b are equal ignoring letter case.
  static bool KeysEqual(platform::WStringView a, platform::WStringView b);

 private:
  struct SectionEntry {
    platform::WString name;
    uint64_t offset;  // of the header line
  };

  void ResetBuffer(uint64_t position);
  bool Rewind(uint64_t position);
  bool Refill();
  bool ReadLine();
  platform::WString LineText() const;
  // What the line read last is to a lookup; a header's name goes to section.
  enum class LineKind { Skipped, Header, UnclosedHeader, Key };
  LineKind ClassifyLine(platform::WString& section) const;
  // The name of the line read last when the index takes it for a header.
  std::optional<platform::WString> IndexHeaderName() const;
  void BuildIndex();
  void ClearIndex();
  // The first index entry whose name equals section under KeysEqual.
  static constexpr size_t kNoEntry = static_cast<size_t>(-1);
  size_t FindIndexEntry(platform::WStringView section);
  // Whether the key of the line read last is key, judged on its bytes
  // where they are ASCII; Unknown leaves it to the converted text.
  enum class KeyMatch { Same, Different, Unknown };
  KeyMatch MatchKey(platform::WStringView key, bool keyIsAscii) const;

  platform::WString path_;
  platform::File file_;
  bool isOpen_ = false;

  std::array<char, kBufferSize> buffer_{};
  size_t cursor_ = 0;
  size_t end_ = 0;
  uint64_t bufferPosition_ = 0;  // file offset of buffer_[0]

  std::array<char, kLineBufferSize> line_{};
  size_t lineLength_ = 0;
  bool lineEnded_ = false;  // the line read last ended with LF
  uint64_t lineOffset_ = 0;  // file offset of the line read last

  platform::WString currentSection_;
  bool inWantedSection_ = false;
  platform::WString currentKey_;
  platform::WString currentValue_;

  std::vector<SectionEntry> sectionIndex_;
  // ASCII text hashed and compared without regard to letter case, so that
  // an ASCII name is found without a folded copy of it.
  struct AsciiNoCaseHash {
    using is_transparent = void;
    size_t operator()(platform::WStringView text) const;
  };
  struct AsciiNoCaseEqual {
    using is_transparent = void;
    bool operator()(platform::WStringView a, platform::WStringView b) const;
  };
  static platform::WString IndexKey(platform::WStringView name);
  // The first index entry of each name, by IndexKey; the last name looked up.
  std::unordered_map<platform::WString, size_t, AsciiNoCaseHash, AsciiNoCaseEqual> sectionsByName_;
  platform::WString lastLookup_;
  size_t lastEntry_ = 0;
  bool hasLastLookup_ = false;
  bool indexed_ = false;
};

}  // namespace applet
