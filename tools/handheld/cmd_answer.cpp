#include <iostream>

#include "platform/automation/answer_queue.h"
#include "tools/handheld/commands.h"

namespace handheld {

void AddAnswerCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    std::vector<std::string> answers;
    bool clear = false;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "answer",
      "Queue answers for the message boxes of the device when nobody is in front of it (a boot,\n"
      "or a program run without a script): each box takes the next answer; with none left a box\n"
      "is dismissed (Cancel or No). The journal tells which. Without answers: show the queue.");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("ANSWERS", opts->answers, "ok, cancel, abort, retry, ignore, yes or no, in order");
  cmd->add_flag("--clear", opts->clear, "Empty the queue first");
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    if (opts->clear && !platform::ClearAnswers()) throw CommandError("cannot empty the answer queue");
    std::string why;
    if (!opts->answers.empty() && !platform::QueueAnswers(opts->answers, &why)) throw CommandError(why);
    const auto pending = platform::PendingAnswers();
    if (pending.empty()) {
      std::cout << "no answers queued\n";
      return;
    }
    std::cout << "queued:";
    for (const auto& a : pending) std::cout << " " << a;
    std::cout << "\n";
  });
}

}  // namespace handheld
