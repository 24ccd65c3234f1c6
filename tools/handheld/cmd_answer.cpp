// handheld answer: the answers waiting for the device's message boxes.

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
      "Queue answers for the message boxes the device's programs will show, first answer\n"
      "for the first box (nobody sits in front of an emulated device). A box with nothing\n"
      "queued is dismissed: it answers no or cancel when it offers one. Without answers:\n"
      "print the queue.");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("ANSWERS", opts->answers, "ok, cancel, yes, no, abort, retry or ignore");
  cmd->add_flag("--clear", opts->clear, "Empty the queue first");
  cmd->callback([opts] {
    std::vector<int> answers;
    for (const std::string& name : opts->answers) {
      auto answer = platform::automation::AnswerFromName(name);
      if (!answer)
        throw CommandError("\"" + name + "\" is no answer (ok, cancel, yes, no, abort, retry, ignore)");
      answers.push_back(*answer);
    }
    auto device = OpenDevice(opts->dir);
    if (opts->clear && platform::automation::ClearQueuedAnswers() != platform::kErrorSuccess)
      throw CommandError("cannot empty the answer queue");
    if (!answers.empty()) {
      const platform::ErrorCode e = platform::automation::QueueAnswers(answers);
      if (e == platform::kErrorNotEnoughMemory)
        throw CommandError("the queue holds at most " +
                           std::to_string(platform::automation::kMaxQueuedAnswers) + " answers");
      if (e != platform::kErrorSuccess) throw CommandError("cannot write the answer queue");
    }
    const std::vector<int> queued = platform::automation::QueuedAnswers();
    if (queued.empty()) {
      std::cout << "no answers queued\n";
      return;
    }
    std::cout << "queued:";
    for (int answer : queued) std::cout << " " << *platform::automation::AnswerName(answer);
    std::cout << "\n";
  });
}

}  // namespace handheld
