#include "applet/device/sectioned_text_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "applet/device/number_tokens.h"
#include "platform/code_page.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

// The old end-of-file mark that editors of the handheld's era left behind.
constexpr char16_t kEndOfFileMark = 0x1A;

bool IsWhite(char16_t c) { return platform::IsSpace(c) || c == kEndOfFileMark; }

// Every ANSI code page of the handheld keeps ASCII in its lower half, so the
// white space, brackets and separators the format uses can be recognised
// in the bytes before conversion.
bool IsWhiteByte(char c) { return IsWhite(static_cast<unsigned char>(c)); }

WStringView Trim(WStringView text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsWhite(text[begin])) ++begin;
  while (end > begin && IsWhite(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The name of a header line, or nothing when the line is no header.
std::optional<WString> ParseHeader(WStringView line) {
  size_t i = 0;
  while (i < line.size() && IsWhite(line[i])) ++i;
  if (i == line.size() || line[i] != u'[') return std::nullopt;
  const size_t close = line.find(u']', i + 1);
  if (close == WStringView::npos) return std::nullopt;
  return WString(Trim(line.substr(i + 1, close - i - 1)));
}

void ParseKeyLine(WStringView line, WString& key, WString& value) {
  const size_t equals = line.find(u'=');
  if (equals == WStringView::npos) {
    key.clear();
    value.clear();
    return;
  }
  key = WString(Trim(line.substr(0, equals)));
  WStringView v = Trim(line.substr(equals + 1));
  if (v.size() >= 2 && v.front() == v.back() && (v.front() == u'"' || v.front() == u'\''))
    v = v.substr(1, v.size() - 2);
  value = WString(v);
}

bool IsAscii(WStringView text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool IsDigits(WStringView text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}


}  // namespace

SectionedTextReader::SectionedTextReader() = default;
SectionedTextReader::~SectionedTextReader() = default;

bool SectionedTextReader::KeysEqual(WStringView a, WStringView b) {
  return platform::EqualsNoCase(a, b);
}

bool SectionedTextReader::Open(WStringView path) {
  Close();
  path_ = WString(path);
  currentSection_.clear();
  const platform::ErrorCode e =
      file_.Open(path, platform::kGenericRead, platform::kShareRead | platform::kShareWrite,
                 platform::CreationDisposition::OpenExisting);
  isOpen_ = e == platform::kErrorSuccess;
  return isOpen_;
}

void SectionedTextReader::Close() {
  file_.Close();
  isOpen_ = false;
  ClearIndex();
  ResetBuffer(0);
}

void SectionedTextReader::ResetBuffer(uint64_t position) {
  cursor_ = 0;
  end_ = 0;
  bufferPosition_ = position;
}

bool SectionedTextReader::Rewind(uint64_t position) {
  // A place that the buffer holds needs no reading, and one just after it
  // is reached by reading on: lookups of neighbouring sections, as the
  // databases make them in file order, start there.
  if (position >= bufferPosition_ + end_ && position - (bufferPosition_ + end_) < kBufferSize) Refill();
  if (position >= bufferPosition_ && position < bufferPosition_ + end_) {
    cursor_ = static_cast<size_t>(position - bufferPosition_);
    return true;
  }
  if (file_.Seek(static_cast<int64_t>(position), platform::SeekOrigin::Begin) !=
      platform::kErrorSuccess) {
    // Reading on from an unknown place could return another section's
    // values; a failed seek reads as an empty file instead.
    uint64_t size = 0;
    file_.Size(&size);
    file_.Seek(0, platform::SeekOrigin::End);
    ResetBuffer(size);
    return false;
  }
  ResetBuffer(position);
  return true;
}

bool SectionedTextReader::Refill() {
  bufferPosition_ += end_;
  cursor_ = 0;
  end_ = 0;
  size_t n = 0;
  // A read fault ends the file as far as lookups are concerned.
  if (file_.Read(buffer_.data(), buffer_.size(), &n) != platform::kErrorSuccess) return false;
  end_ = n;
  return n > 0;
}

bool SectionedTextReader::ReadLine() {
  lineOffset_ = bufferPosition_ + cursor_;
  size_t n = 0;
  bool any = false;
  lineEnded_ = false;
  // Whole runs of the buffer up to the LF, the line's limit or the buffer's
  // end are copied at once.
  while (n < kMaxLineLength) {
    if (cursor_ == end_ && !Refill()) break;
    any = true;
    const char* run = buffer_.data() + cursor_;
    const size_t available = std::min(end_ - cursor_, kMaxLineLength - n);
    const char* lf = static_cast<const char*>(std::memchr(run, '\n', available));
    const size_t length = lf != nullptr ? static_cast<size_t>(lf - run) : available;
    std::memcpy(line_.data() + n, run, length);
    n += length;
    cursor_ += length;
    if (lf != nullptr) {
      ++cursor_;
      lineEnded_ = true;
      break;
    }
  }
  if (!any) return false;
  if (n > 0 && line_[n - 1] == '\r') --n;
  // The line is a C string to everything that reads it: a zero byte ends it.
  if (const void* zero = std::memchr(line_.data(), '\0', n); zero != nullptr)
    n = static_cast<size_t>(static_cast<const char*>(zero) - line_.data());
  lineLength_ = n;
  return true;
}

WString SectionedTextReader::LineText() const {
  const std::string_view bytes(line_.data(), lineLength_);
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
    return WString(bytes.begin(), bytes.end());
  return platform::AnsiToWide(bytes);
}

std::optional<WString> SectionedTextReader::IndexHeaderName() const {
  // The index skips all white space before '[', not only blanks.
  size_t i = 0;
  while (i < lineLength_ && IsWhiteByte(line_[i])) ++i;
  if (i == lineLength_ || line_[i] != '[') return std::nullopt;
  return ParseHeader(LineText());
}

void SectionedTextReader::BuildIndex() {
  ClearIndex();
  Rewind(0);
  while (ReadLine()) {
    if (std::optional<WString> name = IndexHeaderName()) {
      currentSection_ = *name;
      sectionsByName_.try_emplace(IndexKey(*name), sectionIndex_.size());
      sectionIndex_.push_back({std::move(*name), lineOffset_});
    }
  }
  indexed_ = true;
}

void SectionedTextReader::ClearIndex() {
  sectionIndex_.clear();
  sectionsByName_.clear();
  hasLastLookup_ = false;
  indexed_ = false;
}

WString SectionedTextReader::IndexKey(WStringView name) {
  // Names are equal under KeysEqual exactly when their case foldings are.
  // ASCII names are their own keys, compared and hashed without regard to
  // letter case, which for ASCII is the same.
  return IsAscii(name) ? WString(name) : platform::FoldCase(name);
}

size_t SectionedTextReader::FindIndexEntry(WStringView section) {
  // The databases look up one section many times in a row.
  if (hasLastLookup_ && lastLookup_ == section) return lastEntry_;
  const auto it = IsAscii(section) ? sectionsByName_.find(section) : sectionsByName_.find(IndexKey(section));
  lastLookup_.assign(section);
  lastEntry_ = it == sectionsByName_.end() ? kNoEntry : it->second;
  hasLastLookup_ = true;
  return lastEntry_;
}

size_t SectionedTextReader::AsciiNoCaseHash::operator()(WStringView text) const {
  // FNV-1a over the letters in lower case.
  uint64_t hash = 14695981039346656037ull;
  for (char16_t c : text) {
    hash ^= AsciiLower(c);
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

bool SectionedTextReader::AsciiNoCaseEqual::operator()(WStringView a, WStringView b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
size_t SectionedTextReader::ListSections(std::vector<WString>& names) {
  if (!isOpen_) return 0;
  if (!indexed_) BuildIndex();
  for (const auto& entry : sectionIndex_) names.push_back(entry.name);
  return sectionIndex_.size();
}

bool SectionedTextReader::GetString(WStringView section, WStringView key, WString& out,
                                    WStringView defaultValue) {
  if (!isOpen_) return false;
  if (indexed_) {
    // A section the index lacks is in no header of the file, so reading on
    // from wherever the last lookup stopped finds nothing either.
    if (const size_t entry = FindIndexEntry(section); entry != kNoEntry) Rewind(sectionIndex_[entry].offset);
  } else {
    Rewind(0);
  }

  inWantedSection_ = false;
  const bool keyIsAscii = IsAscii(key);
  while (ReadLine()) {
    const LineKind kind = ClassifyLine(currentSection_);
    if (kind == LineKind::Skipped) continue;
    // A broken header ends the wanted section as a header would: what
    // follows it was meant for another section.
    if (kind == LineKind::UnclosedHeader) {
      if (inWantedSection_) break;
      continue;
    }
    if (kind == LineKind::Header) {
      if (inWantedSection_) break;
      inWantedSection_ = currentSection_ == section;
      continue;
    }
    if (!inWantedSection_) continue;
    const KeyMatch match = MatchKey(key, keyIsAscii);
    if (match == KeyMatch::Different) continue;
    ParseKeyLine(LineText(), currentKey_, currentValue_);
    if (match == KeyMatch::Same || KeysEqual(currentKey_, key)) {
      out = currentValue_;
      return true;
    }
  }
  out = WString(defaultValue);
  return false;
}

SectionedTextReader::KeyMatch SectionedTextReader::MatchKey(WStringView key, bool keyIsAscii) const {
  if (!keyIsAscii) return KeyMatch::Unknown;
  const char* line = line_.data();
  const char* equals = static_cast<const char*>(std::memchr(line, '=', lineLength_));
  // A line without '=' has an empty key.
  if (equals == nullptr) return key.empty() ? KeyMatch::Same : KeyMatch::Different;
  size_t begin = 0;
  size_t end = static_cast<size_t>(equals - line);
  while (begin < end && IsWhiteByte(line[begin])) ++begin;
  while (end > begin && IsWhiteByte(line[end - 1])) --end;
  // ASCII bytes are the same characters in every code page of the
  // handheld; other bytes are left to the converted text.
  if (std::any_of(line + begin, line + end, [](char c) { return (c & 0x80) != 0; })) return KeyMatch::Unknown;
  if (end - begin != key.size()) return KeyMatch::Different;
  for (size_t i = 0; i < key.size(); ++i)
    if (AsciiLower(static_cast<char16_t>(line[begin + i])) != AsciiLower(key[i])) return KeyMatch::Different;
  return KeyMatch::Same;
}

SectionedTextReader::LineKind SectionedTextReader::ClassifyLine(WString& section) const {
  // Lookups skip blanks only: a tab before ';' or '[' makes a key line.
  size_t i = 0;
  while (i < lineLength_ && line_[i] == ' ') ++i;
  if (i == lineLength_ || line_[i] == ';') return LineKind::Skipped;
  if (line_[i] != '[') return LineKind::Key;
  std::optional<WString> name = ParseHeader(LineText());
  if (!name) return LineKind::UnclosedHeader;
  section = std::move(*name);
  return LineKind::Header;
}

void SectionedTextReader::ForEachEntry(const std::function<void(const Entry&)>& visit) {
  if (!isOpen_) return;
  Rewind(0);
  WString lookupSection;  // where the lookups are, empty where none arrives
  Entry entry{1, EntryKind::Key, WString(), WString(), WString()};
  size_t nextLineNumber = 1;
  while (ReadLine()) {
    entry.lineNumber = nextLineNumber;
    if (lineEnded_) ++nextLineNumber;
    entry.key.clear();
    entry.value.clear();
    WString header;
    switch (ClassifyLine(header)) {
      case LineKind::Skipped:
        continue;
      case LineKind::Header:
        lookupSection = header;
        entry.kind = EntryKind::Header;
        entry.section = std::move(header);
        break;
      case LineKind::UnclosedHeader:
        entry.kind = EntryKind::UnclosedHeader;
        entry.section = std::move(lookupSection);
        lookupSection.clear();
        break;
      case LineKind::Key:
        if (std::optional<WString> name = IndexHeaderName()) {
          entry.kind = EntryKind::IndexOnlyHeader;
          entry.section = std::move(*name);
          break;
        }
        entry.kind = EntryKind::Key;
        entry.section = lookupSection;
        ParseKeyLine(LineText(), entry.key, entry.value);
        break;
    }
    visit(entry);
  }
}

bool SectionedTextReader::GetStringInto(WStringView section, WStringView key,
                                        WStringView defaultValue, std::span<char16_t> buffer) {
  if (!isOpen_) return false;
  WString value;
  const bool found = GetString(section, key, value, defaultValue);
  auto copy = [&](WStringView text) {
    if (text.size() >= buffer.size()) return false;
    std::copy(text.begin(), text.end(), buffer.begin());
    buffer[text.size()] = u'\0';
    return true;
  };
  if (found && copy(value)) return true;
  copy(defaultValue);
  return false;
}

int32_t SectionedTextReader::GetInt(WStringView section, WStringView key, int32_t defaultValue) {
  WString value;
  if (!GetString(section, key, value, u"") || !IsDigits(value)) return defaultValue;
  return platform::TextToLong(value);
}

size_t SectionedTextReader::GetList(WStringView section, WStringView key, char16_t separator,
                                    std::vector<WString>& out) {
  out.clear();
  WString value;
  if (!GetString(section, key, value, u"")) return 0;
  out = SplitList(value, separator);
  return out.size();
}

std::vector<WString> SectionedTextReader::SplitList(WStringView value, char16_t separator) {
  std::vector<WString> pieces;
  for (;;) {
    const size_t cut = value.find(separator);
    WStringView piece = Trim(value.substr(0, cut));
    if (!piece.empty()) pieces.emplace_back(piece);
    if (cut == WStringView::npos) break;
    value = value.substr(cut + 1);
  }
  return pieces;
}

bool SectionedTextReader::IsDigitText(WStringView text) { return IsDigits(text); }

bool SectionedTextReader::GetRect(WStringView section, WStringView key, Rect& out) {
  out = Rect{};
  WString value;
  if (!GetString(section, key, value, u"") || value.empty() || value.size() >= kMaxRectTextLength)
    return false;
  const auto v = ParseNumberTokens<4>(value);
  out = Rect{v[0], v[1], v[2], v[3]};
  return true;
}

bool SectionedTextReader::ParseRgb(WStringView text, Colour& colour) {
  if (text.empty()) return false;
  const auto v = ParseNumberTokens<3>(text);
  colour = (static_cast<uint32_t>(v[0]) & 0xFF) | ((static_cast<uint32_t>(v[1]) & 0xFF) << 8) |
           ((static_cast<uint32_t>(v[2]) & 0xFF) << 16);
  return true;
}

}  // namespace applet
