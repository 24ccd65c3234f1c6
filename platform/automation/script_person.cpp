#include "platform/automation/script_person.h"

#include <cstdio>

#include "platform/automation/screen_renderer.h"
#include "platform/windows/messages.h"

namespace platform {

using automation::Result;
using automation::ScriptStep;
using automation::StepKind;

ScriptPerson::ScriptPerson(std::vector<ScriptStep> steps, std::filesystem::path shots, std::filesystem::path log)
    : steps_(std::move(steps)), shots_(std::move(shots)), leave_(false, [this](const std::string& line) { Note(line); }) {
  if (!log.empty()) log_.open(log, std::ios::app);
}

ScriptPerson::~ScriptPerson() {
  // The program may be ending: nothing is drawn any more.
  if (pendingShot_) Note("no screenshot after the last step: the program ended");
  NoteUnreached();
}

void ScriptPerson::Finish() {
  if (pendingShot_) Shoot(*pendingShot_);
  pendingShot_.reset();
  NoteUnreached();
}

void ScriptPerson::NoteUnreached() {
  for (size_t i = next_; i < steps_.size(); ++i)
    Note("line " + std::to_string(steps_[i].line) + ": " + steps_[i].source + ": not reached");
  next_ = steps_.size();
}

void ScriptPerson::Note(const std::string& line) {
  if (!log_.is_open()) return;
  log_ << line << "\n";
  log_.flush();
}

void ScriptPerson::Shoot(const std::string& label) {
  if (shots_.empty()) return;
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", shotCount_++);
  const std::filesystem::path file = shots_ / (prefix + label + ".png");
  std::string why;
  if (SaveScreenshot(file, &why)) {
    Note("screenshot " + file.filename().string());
  } else {
    Note("screenshot " + file.filename().string() + " failed: " + why);
  }
}

bool ScriptPerson::OnIdle() {
  if (!SettleThreads()) Note("the device did not come to rest");
  // What the other threads did may have queued work for this one.
  Msg msg;
  if (PeekMessage(&msg, kNoWindow, 0, 0, PM_NOREMOVE)) return true;
  if (!started_) {
    started_ = true;
    Shoot("start");
  }
  if (pendingShot_) {
    Shoot(*pendingShot_);
    pendingShot_.reset();
  }
  if (failed_ || next_ >= steps_.size()) return leave_.Act();
  const ScriptStep& step = steps_[next_++];
  const std::string where = "line " + std::to_string(step.line) + ": " + step.source;
  if (step.kind == StepKind::List) {
    Note(where + "\n" + automation::DescribeWindows(automation::ListWindows()));
    return true;
  }
  if (step.kind == StepKind::Shot) {
    Note(where);
    Shoot(step.name);
    return true;
  }
  const Result result = automation::RunStep(step);
  Note(where + ": " + automation::ResultText(result));
  if (result != Result::Done) {
    failed_ = true;
    Note("the script stops here");
  }
  pendingShot_ = automation::StepLabel(step);
  return true;
}

}  // namespace platform
