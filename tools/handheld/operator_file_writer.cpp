#include "tools/handheld/operator_file_writer.h"

#include <algorithm>

#include "applet/device/sectioned_text_reader.h"

namespace handheld {

using platform::WString;
using platform::WStringView;

namespace {

constexpr char kLineEnd[] = "\r\n";
// A line's bytes and its CR must fit the reader's line, or the rest of it
// would be read as a line of its own.
constexpr size_t kMaxLineBytes = applet::SectionedTextReader::kMaxLineLength - 1;
constexpr char16_t kEndOfFileMark = 0x1A;

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }
// White space as the reader trims it.
bool IsWhite(char16_t c) { return platform::IsSpace(c) || c == kEndOfFileMark; }
bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

// The reader trims white space from a value and removes a pair of quotes
// that enclose it; quoting the whole value keeps both.
bool NeedsQuotes(WStringView value) {
  return !value.empty() && (IsWhite(value.front()) || IsWhite(value.back()) || IsQuote(value.front()) ||
                            IsQuote(value.back()));
}

}  // namespace

std::optional<std::string> OperatorFileWriter::LineFault(WStringView text, size_t extraBytes) const {
  if (std::any_of(text.begin(), text.end(), IsControl)) return "has control characters";
  const std::optional<std::string> bytes = codePage_.Encode(text);
  if (!bytes)
    return "has characters that code page " + std::to_string(codePage_.CodePage()) + " lacks";
  if (bytes->size() + extraBytes > kMaxLineBytes)
    return "is too long for a line of the file (" + std::to_string(kMaxLineBytes) + " bytes)";
  return std::nullopt;
}

std::optional<std::string> OperatorFileWriter::ValueFault(WStringView key, WStringView value) const {
  // key, '=' and perhaps two quotes
  return LineFault(value, key.size() + 3);
}

std::optional<std::string> OperatorFileWriter::ListPieceFault(WStringView piece, char16_t separator) const {
  if (piece.empty()) return "is empty";
  if (piece.find(separator) != WStringView::npos)
    return "has a '" + platform::ToUtf8(WStringView(&separator, 1)) + "', where the applet cuts the list";
  if (IsWhite(piece.front()) || IsWhite(piece.back()))
    return "has white space at an end, which the applet cuts off";
  return LineFault(piece, 0);
}

std::optional<std::string> OperatorFileWriter::SectionNameFault(WStringView name) const {
  if (name.empty()) return "is empty";
  if (name.find_first_of(u"[]") != WStringView::npos) return "has a bracket, which ends or opens a header";
  if (IsWhite(name.front()) || IsWhite(name.back()))
    return "has white space at an end, which the applet cuts off";
  return LineFault(name, 2);
}

void OperatorFileWriter::Line(const std::string& bytes) {
  text_ += bytes;
  text_ += kLineEnd;
}

void OperatorFileWriter::Comment(WStringView text) {
  std::string line = "; " + codePage_.EncodeEscaped(text);
  // An over-long comment would go on as a line that is no comment.
  if (line.size() > kMaxLineBytes) line.resize(kMaxLineBytes);
  Line(line);
}

void OperatorFileWriter::BlankLine() { text_ += kLineEnd; }

void OperatorFileWriter::Header(WStringView name) { Line("[" + *codePage_.Encode(name) + "]"); }

void OperatorFileWriter::KeyLine(WStringView key, WStringView value) {
  if (value.empty()) return;
  std::string bytes = *codePage_.Encode(value);
  if (NeedsQuotes(value)) bytes = "\"" + bytes + "\"";
  Line(*codePage_.Encode(key) + "=" + bytes);
}

void OperatorFileWriter::ListLine(WStringView key, const std::vector<WString>& pieces, char16_t separator) {
  WString joined;
  for (const WString& piece : pieces) {
    if (!joined.empty()) joined += separator;
    joined += piece;
  }
  KeyLine(key, joined);
}

}  // namespace handheld
