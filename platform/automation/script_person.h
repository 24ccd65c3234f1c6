#pragma once
// A person who follows a script (automation_script.h). At each moment the
// person's thread has nothing left to do, the person lets the other threads
// settle, takes the screenshot of the step before (if any), and does the
// next step. The first screenshot shows the screen before any step. A step
// that cannot be done stops the script there. After the script the person
// leaves, and nobody is in front any more (headless_person.h, without the
// answer queue).
//
// Screenshots go to the shots folder as NN-LABEL.png (NN counting from 00);
// every step, its outcome and every screenshot are written to the run log,
// one line each, as is what nobody does afterwards and any step never
// reached.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/automation_script.h"
#include "platform/automation/headless_person.h"
#include "platform/windows/person.h"

namespace platform {

class ScriptPerson : public Person {
 public:
  // An empty shots folder takes no screenshots; an empty log path writes
  // no log.
  ScriptPerson(std::vector<automation::ScriptStep> steps, std::filesystem::path shots, std::filesystem::path log);
  ~ScriptPerson() override;

  bool OnIdle() override;
  // After the person's last chance to act, while the program still runs:
  // takes the screenshot of the last step and notes the steps never
  // reached. (A person that simply goes with its program notes only them.)
  void Finish();
  // A step could not be done.
  bool Failed() const { return failed_; }
  size_t StepsDone() const { return next_; }

 private:
  void Shoot(const std::string& label);
  void Note(const std::string& line);
  void NoteUnreached();

  std::vector<automation::ScriptStep> steps_;
  std::filesystem::path shots_;
  std::ofstream log_;
  size_t next_ = 0;
  bool started_ = false;
  bool failed_ = false;
  int shotCount_ = 0;
  std::optional<std::string> pendingShot_;
  NobodyInFront leave_;
};

}  // namespace platform
