#include "platform/automation/automation_script.h"

#include <cctype>
#include <charconv>

#include "platform/windows/message_box.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"

namespace platform::automation {

namespace {

struct KeyName {
  const char* name;
  uint32_t key;
};
constexpr KeyName kKeys[] = {
    {"tab", VK_TAB},   {"enter", VK_RETURN}, {"back", VK_BACK}, {"escape", VK_ESCAPE},
    {"space", VK_SPACE}, {"left", VK_LEFT},  {"right", VK_RIGHT}, {"up", VK_UP},
    {"down", VK_DOWN}, {"home", VK_HOME},    {"end", VK_END},   {"delete", VK_DELETE},
};

// Splits a line into words; a word in double quotes may hold blanks and the
// escapes of the format. Fails on an unterminated quote or an unknown
// escape.
struct Word {
  std::string text;
  bool quoted = false;
};

bool SplitWords(std::string_view line, std::vector<Word>& words, std::string& why) {
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    Word w;
    if (line[i] == '"') {
      w.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          w.text.push_back(c);
          continue;
        }
        if (i == line.size()) break;
        switch (line[i++]) {
          case 't': w.text.push_back('\t'); break;
          case 'r': w.text.push_back('\r'); break;
          case 'b': w.text.push_back('\b'); break;
          case 'e': w.text.push_back('\x1b'); break;
          case '"': w.text.push_back('"'); break;
          case '\\': w.text.push_back('\\'); break;
          default: why = "unknown escape \\" + std::string(1, line[i - 1]); return false;
        }
      }
      if (!closed) {
        why = "a quoted text is not closed";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') w.text.push_back(line[i++]);
    }
    words.push_back(std::move(w));
  }
  return true;
}

bool Number(const std::string& text, int min, int max, int& out) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) return false;
  out = value;
  return true;
}

bool ParseLine(const std::vector<Word>& w, ScriptStep& step, std::string& why) {
  const std::string& verb = w[0].text;
  const size_t args = w.size() - 1;
  auto expect = [&](size_t n, const char* form) {
    if (args == n) return true;
    why = "\"" + verb + "\" takes " + form;
    return false;
  };
  if (verb == "tap") {
    if (args == 2) {
      step.kind = StepKind::TapPoint;
      if (!Number(w[1].text, -32768, 32767, step.point.x) || !Number(w[2].text, -32768, 32767, step.point.y)) {
        why = "a point is two whole numbers";
        return false;
      }
      return true;
    }
    if (!expect(1, "a control id, a quoted text or a point")) return false;
    if (w[1].quoted) {
      step.kind = StepKind::TapText;
      step.text = FromUtf8(w[1].text);
      return true;
    }
    step.kind = StepKind::TapId;
    if (!Number(w[1].text, -32768, 65535, step.id)) {
      why = "a control id is a whole number (or give the control's text in quotes)";
      return false;
    }
    return true;
  }
  if (verb == "type") {
    if (!expect(1, "one quoted text")) return false;
    step.kind = StepKind::Type;
    step.text = FromUtf8(w[1].text);
    return true;
  }
  if (verb == "key") {
    if (!expect(1, "a key name")) return false;
    step.kind = StepKind::Key;
    for (const KeyName& k : kKeys)
      if (w[1].text == k.name) step.id = static_cast<int>(k.key);
    if (step.id == 0) why = "unknown key \"" + w[1].text + "\"";
    return step.id != 0;
  }
  if (verb == "choose") {
    if (!expect(2, "a control id and an entry (\"text\" or #index)")) return false;
    if (!Number(w[1].text, -32768, 65535, step.id)) {
      why = "a control id is a whole number";
      return false;
    }
    if (!w[2].quoted && !w[2].text.empty() && w[2].text[0] == '#') {
      step.kind = StepKind::ChooseIndex;
      if (!Number(w[2].text.substr(1), 0, 32767, step.number)) {
        why = "an entry's index is #0 or more";
        return false;
      }
      return true;
    }
    step.kind = StepKind::ChooseText;
    step.text = FromUtf8(w[2].text);
    return true;
  }
  if (verb == "ok" || verb == "cancel" || verb == "list") {
    if (!expect(0, "nothing more")) return false;
    step.kind = verb == "ok" ? StepKind::Ok : verb == "cancel" ? StepKind::Cancel : StepKind::List;
    return true;
  }
  if (verb == "answer") {
    if (!expect(1, "a button: ok, cancel, abort, retry, ignore, yes or no")) return false;
    step.kind = StepKind::Answer;
    const auto id = AnswerFromName(w[1].text);
    if (!id) why = "\"" + w[1].text + "\" is not a message box button";
    step.id = id.value_or(0);
    return id.has_value();
  }
  if (verb == "rotate" || verb == "panel") {
    const bool rotate = verb == "rotate";
    if (!expect(1, rotate ? "portrait or landscape" : "up or down")) return false;
    step.kind = rotate ? StepKind::Rotate : StepKind::Panel;
    const std::string& a = w[1].text;
    if (a == (rotate ? "landscape" : "up")) {
      step.number = 1;
    } else if (a != (rotate ? "portrait" : "down")) {
      why = std::string("\"") + verb + "\" takes " + (rotate ? "portrait or landscape" : "up or down");
      return false;
    }
    return true;
  }
  if (verb == "wait") {
    if (!expect(1, "milliseconds")) return false;
    step.kind = StepKind::Wait;
    if (!Number(w[1].text, 0, 24 * 3600 * 1000, step.number)) {
      why = "a wait is 0 to 86400000 milliseconds";
      return false;
    }
    return true;
  }
  if (verb == "shot") {
    if (!expect(1, "a name")) return false;
    step.kind = StepKind::Shot;
    step.name = w[1].text;
    for (char c : step.name) {
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') {
        why = "a shot's name holds letters, digits, '-' and '_' only";
        return false;
      }
    }
    return !step.name.empty();
  }
  why = "unknown step \"" + verb + "\"";
  return false;
}

}  // namespace

std::optional<std::vector<ScriptStep>> ParseScript(std::string_view text, ScriptError* error) {
  std::vector<ScriptStep> steps;
  int number = 0;
  size_t start = 0;
  auto fail = [&](std::string message) -> std::optional<std::vector<ScriptStep>> {
    if (error != nullptr) *error = {number, std::move(message)};
    return std::nullopt;
  };
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxScriptLine) return fail("the line is longer than " + std::to_string(kMaxScriptLine));
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    std::vector<Word> words;
    std::string why;
    if (!SplitWords(line, words, why)) return fail(why);
    ScriptStep step;
    step.line = number;
    step.source = std::string(line.substr(first));
    if (!ParseLine(words, step, why)) return fail(why);
    if (steps.size() == kMaxScriptSteps) return fail("more than " + std::to_string(kMaxScriptSteps) + " steps");
    steps.push_back(std::move(step));
  }
  return steps;
}

std::string StepLabel(const ScriptStep& step) {
  switch (step.kind) {
    case StepKind::TapId: return "tap-" + std::to_string(step.id);
    case StepKind::TapText: return "tap-text";
    case StepKind::TapPoint: return "tap-" + std::to_string(step.point.x) + "-" + std::to_string(step.point.y);
    case StepKind::Type: return "type";
    case StepKind::Key: return "key";
    case StepKind::ChooseText:
    case StepKind::ChooseIndex: return "choose-" + std::to_string(step.id);
    case StepKind::Ok: return "ok";
    case StepKind::Cancel: return "cancel";
    case StepKind::Answer: return "answer-" + AnswerName(step.id).value_or("?");
    case StepKind::Rotate: return step.number != 0 ? "landscape" : "portrait";
    case StepKind::Panel: return step.number != 0 ? "panel-up" : "panel-down";
    case StepKind::Wait: return "wait-" + std::to_string(step.number);
    case StepKind::Shot: return step.name;
    case StepKind::List: return "list";
  }
  return "step";
}

Result RunStep(const ScriptStep& step) {
  switch (step.kind) {
    case StepKind::TapId: {
      const Hwnd control = FindControl(step.id);
      return control ? Click(control) : Result::NoControl;
    }
    case StepKind::TapText: {
      const Hwnd control = FindControlByText(step.text);
      return control ? Click(control) : Result::NoControl;
    }
    case StepKind::TapPoint: return Tap(step.point);
    case StepKind::Type: return TypeText(step.text);
    case StepKind::Key: return PressKey(static_cast<uint32_t>(step.id));
    case StepKind::ChooseText: {
      const Hwnd list = FindControl(step.id);
      return list ? Choose(list, step.text) : Result::NoControl;
    }
    case StepKind::ChooseIndex: {
      const Hwnd list = FindControl(step.id);
      return list ? ChooseIndex(list, step.number) : Result::NoControl;
    }
    case StepKind::Ok: return PressOk();
    case StepKind::Cancel: return PressCancel();
    case StepKind::Answer: return Answer(step.id);
    case StepKind::Rotate: Rotate(step.number != 0 ? Orientation::Landscape : Orientation::Portrait); return Result::Done;
    case StepKind::Panel: RaisePanel(step.number != 0); return Result::Done;
    case StepKind::Wait: Wait(static_cast<uint32_t>(step.number)); return Result::Done;
    case StepKind::Shot:
    case StepKind::List: return Result::Done;
  }
  return Result::Done;
}

}  // namespace platform::automation
