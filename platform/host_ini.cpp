#include "platform/host_ini.h"

#include <strings.h>

#include <fstream>
#include <sstream>

#include "base/host_file.h"

namespace platform {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

}  // namespace

std::optional<HostIni> HostIni::Parse(const std::string& text, Error* error) {
  HostIni ini;
  Section* current = nullptr;
  std::istringstream in(text);
  std::string raw;
  size_t lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    if (raw.size() > kMaxLineLength) {
      if (error)
        *error = {HostIniStatus::LineTooLong, lineNo, "line longer than " + std::to_string(kMaxLineLength) + " bytes"};
      return std::nullopt;
    }
    if (lineNo == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']') {
        if (error) *error = {HostIniStatus::UnclosedSection, lineNo, "section header without closing ']'"};
        return std::nullopt;
      }
      std::string name = Trim(line.substr(1, line.size() - 2));
      current = ini.FindSection(name);
      if (current == nullptr) {
        ini.sections_.push_back({name, {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      if (error) *error = {HostIniStatus::NotKeyValue, lineNo, "expected key=value"};
      return std::nullopt;
    }
    if (current == nullptr) {
      if (error) *error = {HostIniStatus::KeyOutsideSection, lineNo, "key outside any section"};
      return std::nullopt;
    }
    ini.Set(current->name, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    current = ini.FindSection(current->name);
  }
  return ini;
}

std::optional<HostIni> HostIni::Load(const std::filesystem::path& path, Error* error) {
  std::string text;
  std::string why;
  ErrorCode code = kErrorSuccess;
  if (!ReadHostFile(path, kMaxFileSize, text, &why, &code)) {
    const bool missing = code == kErrorFileNotFound || code == kErrorPathNotFound;
    if (error) *error = {missing ? HostIniStatus::Missing : HostIniStatus::Unreadable, 0, why};
    return std::nullopt;
  }
  return Parse(text, error);
}

HostIni::Section* HostIni::FindSection(const std::string& name) {
  for (auto& s : sections_)
    if (SameName(s.name, name)) return &s;
  return nullptr;
}

const HostIni::Section* HostIni::FindSection(const std::string& name) const {
  for (const auto& s : sections_)
    if (SameName(s.name, name)) return &s;
  return nullptr;
}

std::optional<std::string> HostIni::Get(const std::string& section, const std::string& key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return std::nullopt;
  for (const auto& e : s->entries)
    if (SameName(e.key, key)) return e.value;
  return std::nullopt;
}

std::string HostIni::GetOr(const std::string& section, const std::string& key,
                           const std::string& fallback) const {
  auto v = Get(section, key);
  return v ? *v : fallback;
}

void HostIni::Set(const std::string& section, const std::string& key, const std::string& value) {
  Section* s = FindSection(section);
  if (s == nullptr) {
    sections_.push_back({section, {}});
    s = &sections_.back();
  }
  for (auto& e : s->entries) {
    if (SameName(e.key, key)) {
      e.value = value;
      return;
    }
  }
  s->entries.push_back({key, value});
}

std::string HostIni::Format() const {
  std::string out;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) out += "\n";
    out += "[" + sections_[i].name + "]\n";
    for (const auto& e : sections_[i].entries) out += e.key + "=" + e.value + "\n";
  }
  return out;
}

bool HostIni::Save(const std::filesystem::path& path) const {
  return WriteHostFileAtomically(path, Format(), nullptr);
}

}  // namespace platform
