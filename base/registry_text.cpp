#include "base/registry_text.h"

#include <cstdio>
#include <optional>

#include "base/byte_reader.h"

namespace platform {

namespace {

// Hex data lines are cut after this many bytes.
constexpr size_t kHexBytesPerLine = 25;
constexpr const char* kHexDigits = "0123456789abcdefABCDEF";

// ---- formatting -----------------------------------------------------------

std::string EscapeQuoted(WStringView text) {
  std::string utf8 = ToUtf8(text);
  std::string out;
  out.reserve(utf8.size() + 2);
  for (char c : utf8) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

std::string FormatName(const WString& name) {
  return name.empty() ? std::string("@") : "\"" + EscapeQuoted(name) + "\"";
}

// A REG_SZ is written as a quoted string only when that form gives the very
// same bytes back.
std::optional<WString> CleanText(const std::vector<uint8_t>& data) {
  if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
  WString text;
  ByteReader(data).Utf16(data.size() / 2, text);
  if (text.back() != u'\0') return std::nullopt;
  text.pop_back();
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x20 || c == 0x7F) return std::nullopt;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return std::nullopt;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return std::nullopt;
    }
  }
  return text;
}

void AppendHex(std::string& out, size_t prefixLength, const std::vector<uint8_t>& data) {
  char buf[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", data[i]);
    out += buf;
    if (i + 1 < data.size()) {
      out += ',';
      if ((i + 1) % kHexBytesPerLine == 0) out += "\\\n  ";
    }
  }
  (void)prefixLength;
}

void FormatValue(std::string& out, const RegistryValue& v) {
  std::string line = FormatName(v.name) + "=";
  if (v.type == kRegSz) {
    if (auto text = CleanText(v.data)) {
      out += line + "\"" + EscapeQuoted(*text) + "\"\n";
      return;
    }
  }
  if (auto d = v.AsDword()) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "dword:%08x", *d);
    out += line + buf + "\n";
    return;
  }
  if (v.type == kRegBinary) {
    line += "hex:";
  } else {
    // regedit writes the type in hexadecimal: hex(7), hex(b).
    char type[16];
    std::snprintf(type, sizeof type, "hex(%x):", v.type);
    line += type;
  }
  out += line;
  AppendHex(out, line.size(), v.data);
  out += "\n";
}

void FormatNode(std::string& out, const RegistryNode& node, const std::string& path) {
  out += "[" + path + "]\n";
  for (const auto& v : node.Values()) FormatValue(out, v);
  out += "\n";
  for (const auto& child : node.Children())
    FormatNode(out, *child, path + "\\" + ToUtf8(child->Name()));
}

// ---- parsing --------------------------------------------------------------

class Parser {
 public:
  Parser(std::string_view text, RegistryTree& tree, RegistryParseError* error)
      : text_(text), tree_(tree), error_(error) {}

  bool Run();

 private:
  bool NextLine(std::string& line);
  bool Fail(RegistryParseStatus status, const std::string& message) {
    if (error_) *error_ = {status, lineNo_, message};
    return false;
  }
  bool ParseSection(const std::string& line);
  bool ParseValueLine(std::string line);
  bool ParseQuoted(const std::string& line, size_t& pos, WString& out);
  bool ParseData(const std::string& data, RegistryValue& value);
  bool ParseHexBytes(std::string hex, std::vector<uint8_t>& out);

  std::string_view text_;
  RegistryTree& tree_;
  RegistryParseError* error_;
  size_t pos_ = 0;
  size_t lineNo_ = 0;
  RegistryNode* current_ = nullptr;
};

// Callers check for the end of the text first; false then means a line that
// is not UTF-8, with the error set.
bool Parser::NextLine(std::string& line) {
  if (pos_ >= text_.size()) return false;
  size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) end = text_.size();
  line.assign(text_.substr(pos_, end - pos_));
  pos_ = end + 1;
  ++lineNo_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  // Text that is not UTF-8 would come back changed (as U+FFFD) and be
  // written back so by the next change.
  size_t badAt = 0;
  if (!IsWellFormedUtf8(line, &badAt))
    return Fail(RegistryParseStatus::InvalidUtf8,
                "not UTF-8 at column " + std::to_string(badAt + 1));
  return true;
}

bool Parser::Run() {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
  std::string line;
  if (pos_ >= text_.size()) {
    lineNo_ = 1;
    return Fail(RegistryParseStatus::BadHeader, "empty file: header line missing");
  }
  if (!NextLine(line)) return false;
  if (line != kRegistryHeader && line != "REGEDIT4")
    return Fail(RegistryParseStatus::BadHeader, "header line must be \"" + std::string(kRegistryHeader) + "\"");
  while (pos_ < text_.size()) {
    if (!NextLine(line)) return false;
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == ';') continue;
    line.erase(0, first);
    if (line[0] == '[') {
      if (!ParseSection(line)) return false;
      continue;
    }
    if (current_ == nullptr) return Fail(RegistryParseStatus::ValueOutsideKey, "value outside any key section");
    // Continuation lines: a trailing backslash joins the next line.
    while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
      line.pop_back();
      std::string next;
      if (pos_ >= text_.size())
        return Fail(RegistryParseStatus::Truncated, "continuation line missing at end of file");
      if (!NextLine(next)) return false;
      size_t s = next.find_first_not_of(" \t");
      line += s == std::string::npos ? std::string() : next.substr(s);
    }
    if (!ParseValueLine(line)) return false;
  }
  return true;
}

bool Parser::ParseSection(const std::string& line) {
  size_t close = line.rfind(']');
  if (close == std::string::npos) return Fail(RegistryParseStatus::BadSection, "key section without closing ']'");
  if (line.find_first_not_of(" \t", close + 1) != std::string::npos)
    return Fail(RegistryParseStatus::BadSection, "text after the closing ']' of a key section");
  std::string inner = line.substr(1, close - 1);
  bool remove = !inner.empty() && inner[0] == '-';
  if (remove) inner.erase(0, 1);
  std::vector<WString> parts = SplitKeyPath(FromUtf8(inner));
  if (parts.empty()) return Fail(RegistryParseStatus::BadKeyName, "empty key name");
  auto hive = HiveFromName(parts.front());
  if (!hive) return Fail(RegistryParseStatus::BadKeyName, "unknown hive \"" + ToUtf8(parts.front()) + "\"");
  parts.erase(parts.begin());
  if (parts.size() > kMaxKeyDepth) return Fail(RegistryParseStatus::BadKeyName, "key nested too deeply");
  for (const auto& p : parts)
    if (!IsValidKeyName(p)) return Fail(RegistryParseStatus::BadKeyName, "invalid key name \"" + ToUtf8(p) + "\"");
  if (remove) {
    tree_.Remove(*hive, parts);
    current_ = nullptr;
  } else {
    current_ = &tree_.FindOrCreate(*hive, parts);
  }
  return true;
}

bool Parser::ParseQuoted(const std::string& line, size_t& pos, WString& out) {
  // pos is at the opening quote.
  std::string raw;
  ++pos;
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') {
      out = FromUtf8(raw);
      return true;
    }
    if (c == '\\') {
      if (pos >= line.size()) break;
      char e = line[pos++];
      if (e != '\\' && e != '"') return Fail(RegistryParseStatus::BadQuoted, std::string("unknown escape \\") + e);
      raw.push_back(e);
      continue;
    }
    raw.push_back(c);
  }
  return Fail(RegistryParseStatus::BadQuoted, "missing closing quote");
}

bool Parser::ParseValueLine(std::string line) {
  RegistryValue value;
  size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else if (line[0] == '"') {
    if (!ParseQuoted(line, pos, value.name)) return false;
    if (!IsValidValueName(value.name)) return Fail(RegistryParseStatus::BadValueLine, "invalid value name");
  } else {
    return Fail(RegistryParseStatus::BadValueLine, "expected \"name\"=value, @=value or a [key] section");
  }
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  if (pos >= line.size() || line[pos] != '=')
    return Fail(RegistryParseStatus::BadValueLine, "'=' expected after the value name");
  ++pos;
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  std::string data = line.substr(pos);
  while (!data.empty() && (data.back() == ' ' || data.back() == '\t')) data.pop_back();
  if (data == "-") {
    current_->RemoveValue(value.name);
    return true;
  }
  if (!ParseData(data, value)) return false;
  current_->SetValue(std::move(value));
  return true;
}

bool Parser::ParseData(const std::string& data, RegistryValue& value) {
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    WString text;
    if (!ParseQuoted(data, pos, text)) return false;
    if (pos != data.size()) return Fail(RegistryParseStatus::BadQuoted, "text after the closing quote");
    value = RegistryValue::String(std::move(value.name), text);
    return true;
  }
  if (data.rfind("dword:", 0) == 0) {
    // All eight digits, as written: a shorter dword is a cut one.
    std::string digits = data.substr(6);
    if (digits.size() != 8 || digits.find_first_not_of(kHexDigits) != std::string::npos)
      return Fail(RegistryParseStatus::BadDword, "dword: needs 8 hexadecimal digits");
    value = RegistryValue::Dword(std::move(value.name), static_cast<uint32_t>(std::stoul(digits, nullptr, 16)));
    return true;
  }
  if (data.rfind("hex:", 0) == 0) {
    value.type = kRegBinary;
    return ParseHexBytes(data.substr(4), value.data);
  }
  if (data.rfind("hex(", 0) == 0) {
    size_t close = data.find("):");
    if (close == std::string::npos) return Fail(RegistryParseStatus::BadHex, "hex(N): expected");
    std::string type = data.substr(4, close - 4);
    if (type.empty() || type.size() > 8 || type.find_first_not_of(kHexDigits) != std::string::npos)
      return Fail(RegistryParseStatus::BadHex, "hex(N): the type must be a hexadecimal number");
    value.type = static_cast<uint32_t>(std::stoul(type, nullptr, 16));
    return ParseHexBytes(data.substr(close + 2), value.data);
  }
  return Fail(RegistryParseStatus::UnknownData, "unknown value data \"" + data.substr(0, 40) + "\"");
}

bool Parser::ParseHexBytes(std::string hex, std::vector<uint8_t>& out) {
  size_t pos = 0;
  while (pos < hex.size()) {
    while (pos < hex.size() && (hex[pos] == ' ' || hex[pos] == '\t')) ++pos;
    if (pos >= hex.size()) break;
    size_t end = hex.find(',', pos);
    if (end == std::string::npos) end = hex.size();
    std::string byte = hex.substr(pos, end - pos);
    while (!byte.empty() && (byte.back() == ' ' || byte.back() == '\t')) byte.pop_back();
    // Both digits, as written: a one-digit byte is a cut one.
    if (byte.size() != 2 || byte.find_first_not_of(kHexDigits) != std::string::npos)
      return Fail(RegistryParseStatus::BadHex, "bad hex byte \"" + byte + "\"");
    if (out.size() >= kMaxValueDataSize) return Fail(RegistryParseStatus::DataTooLarge, "value data too large");
    out.push_back(static_cast<uint8_t>(std::stoul(byte, nullptr, 16)));
    pos = end + 1;
    if (end + 1 == hex.size()) return Fail(RegistryParseStatus::BadHex, "trailing ',' in hex data");
  }
  return true;
}

}  // namespace

bool ParseRegistryText(std::string_view text, RegistryTree& tree, RegistryParseError* error) {
  return Parser(text, tree, error).Run();
}

std::string FormatRegistryText(const RegistryTree& tree) {
  std::string out = std::string(kRegistryHeader) + "\n\n";
  for (Hive hive : {Hive::LocalMachine, Hive::CurrentUser}) {
    const RegistryNode& root = tree.Root(hive);
    const std::string hiveName = ToUtf8(HiveName(hive));
    // The hive roots themselves hold no values worth a section unless set.
    if (!root.Values().empty()) {
      out += "[" + hiveName + "]\n";
      for (const auto& v : root.Values()) FormatValue(out, v);
      out += "\n";
    }
    for (const auto& child : root.Children())
      FormatNode(out, *child, hiveName + "\\" + ToUtf8(child->Name()));
  }
  return out;
}

std::string FormatRegistryKey(const RegistryTree& tree, Hive hive,
                              const std::vector<WString>& path) {
  std::string out = std::string(kRegistryHeader) + "\n\n";
  // The section names show the keys as they are stored, not as asked for.
  const RegistryNode* node = &tree.Root(hive);
  std::string name = ToUtf8(HiveName(hive));
  for (const auto& p : path) {
    node = node->FindChild(p);
    if (node == nullptr) return out;
    name += "\\" + ToUtf8(node->Name());
  }
  FormatNode(out, *node, name);
  return out;
}

}  // namespace platform
