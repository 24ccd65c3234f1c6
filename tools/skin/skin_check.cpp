#include "tools/skin/skin_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "applet/device/sectioned_text_reader.h"
#include "applet/skin/skin_description.h"
#include "applet/skin/skin_scene.h"
#include "applet/skin/skin_section_type.h"

namespace skin_tool {

using applet::SectionedTextReader;
using platform::WString;
using platform::WStringView;

namespace {

struct KeyLine {
  WString key;
  size_t line;
};

struct SectionLines {
  size_t header = 0;
  std::vector<KeyLine> keys;  // in file order, only the first section of the name
};

// Collects the engine's remarks and the keys it looked up.
class Watcher : public applet::SkinDiagnostics {
 public:
  struct Note {
    WString section, key, message;
  };
  void Note(WStringView section, WStringView key, WStringView message) override {
    notes.push_back({WString(section), WString(key), WString(message)});
  }
  void Asked(WStringView section, WStringView key) override { asked[WString(section)].push_back(WString(key)); }

  bool WasAsked(const WString& section, WStringView key) const {
    auto it = asked.find(section);
    return it != asked.end() && std::any_of(it->second.begin(), it->second.end(), [&](const WString& k) {
             return SectionedTextReader::KeysEqual(k, key);
           });
  }

  std::vector<struct Note> notes;
  std::map<WString, std::vector<WString>> asked;
};

}  // namespace

bool CheckSkin(WStringView folder, WStringView fileName, std::vector<Finding>& findings, std::string* why) {
  findings.clear();
  SectionedTextReader reader;
  if (!reader.Open(WString(folder) + WString(fileName))) {
    if (why) *why = "cannot open " + platform::ToUtf8(WString(folder) + WString(fileName));
    return false;
  }

  // Where each section and key stands, and what the reading rules hide.
  std::map<WString, SectionLines> lines;
  std::set<WString> seenSections;
  bool readable = false;  // the lookups' section is the first of its name
  auto add = [&](size_t line, const WString& section, std::string message) {
    findings.push_back({line, platform::ToUtf8(section), std::move(message)});
  };
  using Kind = SectionedTextReader::EntryKind;
  reader.ForEachEntry([&](const SectionedTextReader::Entry& e) {
    switch (e.kind) {
      case Kind::Header:
        readable = seenSections.insert(e.section).second;
        if (readable)
          lines[e.section].header = e.lineNumber;
        else
          add(e.lineNumber, e.section,
              "a second section of this name: its lines are never read, the first section's are read again");
        return;
      case Kind::IndexOnlyHeader:
        if (seenSections.insert(e.section).second) lines[e.section].header = e.lineNumber;
        add(e.lineNumber, e.section,
            "the header is indented with a tab: the section is listed, but its lines are read as lines of "
            "the section above");
        return;
      case Kind::UnclosedHeader:
        add(e.lineNumber, e.section, "a line with '[' but no ']' is no header: the lines up to the next header are never read");
        return;
      case Kind::Key:
        break;
    }
    if (e.section.empty()) {
      if (seenSections.empty()) add(e.lineNumber, WString(), "a line before the first section is never read");
      return;
    }
    if (!readable) return;
    SectionLines& section = lines[e.section];
    const bool repeated = std::any_of(section.keys.begin(), section.keys.end(),
                                      [&](const KeyLine& k) { return SectionedTextReader::KeysEqual(k.key, e.key); });
    if (e.key.empty())
      add(e.lineNumber, e.section, "a line without \"=\" is never read");
    else if (repeated)
      add(e.lineNumber, e.section, "\"" + platform::ToUtf8(e.key) + "\" again: only its first line is read");
    else
      section.keys.push_back({e.key, e.lineNumber});
  });

  // The load itself, watched.
  Watcher watcher;
  applet::SkinScene scene;
  scene.Load(folder, fileName, nullptr, &watcher);

  applet::SkinDescription description;
  description.Open(folder, fileName);
  std::set<WString> judged;
  for (const WString& section : description.Sections()) {
    if (!judged.insert(section).second) continue;
    const SectionLines& where = lines[section];
    const WString type = description.Text(section, u"type", u"");
    const bool makesSomething = applet::ParseSkinSectionType(type) != applet::SkinSectionType::None;
    if (section == applet::SkinDescription::kGeneralSection && type.empty()) {
      // "General" has no type; only its size is read.
    } else if (type.empty()) {
      add(where.header, section, "no \"type\": the section makes nothing");
      continue;
    } else if (!makesSomething) {
      add(where.header, section, "unknown type \"" + platform::ToUtf8(type) + "\": the section makes nothing");
      continue;
    }
    for (const KeyLine& key : where.keys)
      if (!watcher.WasAsked(section, key.key))
        add(key.line, section, "\"" + platform::ToUtf8(key.key) + "\" is not a key of this type");
  }
  for (const auto& note : watcher.notes) {
    const SectionLines& where = lines[note.section];
    size_t line = where.header;
    for (const KeyLine& key : where.keys)
      if (SectionedTextReader::KeysEqual(key.key, note.key)) line = key.line;
    std::string message = platform::ToUtf8(note.message);
    if (!note.key.empty()) message = "\"" + platform::ToUtf8(note.key) + "\": " + message;
    add(line, note.section, message);
  }
  // A section named twice is loaded twice from the same lines: its remarks
  // come twice.
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  findings.erase(std::unique(findings.begin(), findings.end(),
                             [](const Finding& a, const Finding& b) {
                               return a.line == b.line && a.section == b.section && a.message == b.message;
                             }),
                 findings.end());
  return true;
}

std::string FormatFinding(const std::string& file, const Finding& finding) {
  std::string text = file + ":" + std::to_string(finding.line) + ": ";
  if (!finding.section.empty()) text += "[" + finding.section + "] ";
  return text + finding.message;
}

}  // namespace skin_tool
