#pragma once
// Writes an ini-style file that the applet's reader reads back exactly as
// written: 8-bit text in the device's code page, CR LF line ends.
//
//   ; comment            any text; characters the code page lacks, and
//                        control characters, as \uXXXX escapes
//   [name]               a section
//   key=value            a value with white space or a quote at either end
//                        is written inside double quotes, which the reader
//                        removes again
//
// Values the reader cannot give back are refused with the reason, so that
// the caller leaves them out and says so: text with control characters or
// characters outside the code page, and lines longer than the reader's
// limit. A list piece must also be free of its separator and of white space
// at its ends (the reader trims pieces), and must not be empty. A section
// name must have no brackets and no white space at its ends.

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "tools/handheld/code_page_text.h"

namespace handheld {

class OperatorFileWriter {
 public:
  explicit OperatorFileWriter(const CodePageText& codePage) : codePage_(codePage) {}

  // Why the reader would not give a value (or list piece, or section name)
  // back as it is; nullopt when it would. Each reason is a phrase that
  // follows "the value ...".
  std::optional<std::string> ValueFault(platform::WStringView key, platform::WStringView value) const;
  std::optional<std::string> ListPieceFault(platform::WStringView piece, char16_t separator) const;
  std::optional<std::string> SectionNameFault(platform::WStringView name) const;

  void Comment(platform::WStringView text);
  void BlankLine();
  // The name must be free of faults.
  void Header(platform::WStringView name);
  // The value must be free of faults; an empty one is not written.
  void KeyLine(platform::WStringView key, platform::WStringView value);
  // Pieces must be free of faults; the line is not written without any.
  void ListLine(platform::WStringView key, const std::vector<platform::WString>& pieces,
                char16_t separator);

  const std::string& Text() const { return text_; }

 private:
  std::optional<std::string> LineFault(platform::WStringView text, size_t extraBytes) const;
  void Line(const std::string& bytes);

  const CodePageText& codePage_;
  std::string text_;
};

}  // namespace handheld
