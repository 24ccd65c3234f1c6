#pragma once
// Scripts of a person's steps, one step a line, run by a ScriptPerson (see
// script_person.h). Blank lines and lines starting with '#' are skipped.
//
//   tap 1300             the shown control with id 1300, in the front window
//                        or the first one below it that shows one
//   tap "OK"             the control with that text ("&" marks left out)
//   tap 120 200          the pen at a point of the screen
//   type "Vodafone\t"    keys; \t Tab, \r Enter, \b Backspace, \e Escape,
//                        \" and \\ the characters themselves
//   key tab              one key: tab, enter, back, escape, space, left,
//                        right, up, down, home, end, delete
//   choose 1046 "France" picks a list's entry by its text (exact, or the
//                        first that starts with it)
//   choose 1046 #2       ... or by its index
//   ok                   the navigation bar's ok (IDOK)
//   cancel               Escape (IDCANCEL)
//   answer yes           a button of the message box in front: ok, cancel,
//                        abort, retry, ignore, yes, no
//   rotate landscape     turns the screen (portrait, landscape)
//   panel up             raises or lowers the input panel (up, down)
//   wait 500             lets 500 ms pass on the device's clock
//   shot NAME            a screenshot only (letters, digits, '-', '_')
//   list                 writes the windows and controls into the run log
//
// Parsing is bounded: lines of at most kMaxScriptLine characters, at most
// kMaxScriptSteps steps; an error names its line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/automation/automation.h"

namespace platform::automation {

inline constexpr size_t kMaxScriptLine = 4096;
inline constexpr size_t kMaxScriptSteps = 10000;

enum class StepKind { TapId, TapText, TapPoint, Type, Key, ChooseText, ChooseIndex, Ok, Cancel, Answer, Rotate, Panel, Wait, Shot, List };

struct ScriptStep {
  StepKind kind = StepKind::List;
  int line = 0;
  std::string source;  // the line as written, for the run log
  int id = 0;          // tap and choose: the control; answer: the button; key: the virtual key
  WString text;        // tap, type, choose
  Point point;         // tap at a point
  int number = 0;      // choose #N, wait, rotate (1 landscape), panel (1 up)
  std::string name;    // shot
};

struct ScriptError {
  int line = 0;
  std::string message;
};

std::optional<std::vector<ScriptStep>> ParseScript(std::string_view text, ScriptError* error = nullptr);

// A short name of the step for file names ("tap-1300", "answer-yes").
std::string StepLabel(const ScriptStep& step);

// Performs a step through the automation (shot and list do nothing here).
Result RunStep(const ScriptStep& step);

}  // namespace platform::automation
