// handheld run: a program (or a library's entry) on a device, with a script
// of a person's steps and screenshots after each.

#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/clock.h"
#include "platform/automation/automation_script.h"
#include "platform/automation/headless_person.h"
#include "platform/automation/script_person.h"
#include "platform/journal.h"
#include "platform/module.h"
#include "platform/process.h"
#include "platform/windows/person.h"
#include "tools/handheld/commands.h"

namespace handheld {

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxScriptFile = 4 * 1024 * 1024;
// A step that stopped the script, or steps never reached, show in the log
// as these.
constexpr const char* kStopped = "the script stops here";
constexpr const char* kNotReached = ": not reached";

struct Options {
  std::string dir;
  std::string program;
  std::vector<std::string> arguments;
  std::string script;
  std::string shots;
  std::string log;
  unsigned timeout = 120;
};

std::string ReadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CommandError("cannot read the script " + path);
  std::string text(kMaxScriptFile + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > kMaxScriptFile) throw CommandError("the script " + path + " is too long");
  return text;
}

// Runs the program as a child and waits, killing it after the timeout.
int RunChild(const Options& opts, bool* killed) {
  platform::WString commandLine;
  for (const auto& a : opts.arguments) commandLine += (commandLine.empty() ? u"" : u" ") + platform::FromUtf8(a);
  platform::Process child;
  const platform::ErrorCode e = platform::StartProcess(platform::FromUtf8(opts.program), commandLine, &child);
  if (e != platform::kErrorSuccess) throw CommandError("cannot start " + opts.program + " on the device (error " + std::to_string(e) + ")");
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  const pid_t pid = child.Id();
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!ended.wait_for(lock, std::chrono::seconds(opts.timeout), [&] { return done; })) {
      *killed = true;
      ::kill(pid, SIGKILL);
    }
  });
  const int code = child.Wait();
  {
    std::lock_guard lock(mutex);
    done = true;
  }
  ended.notify_all();
  watchdog.join();
  return code;
}

// Runs a library's entry (no arguments, no result) in this process.
void RunEntry(const Options& opts, const std::optional<std::vector<platform::automation::ScriptStep>>& steps,
              const fs::path& log) {
  const size_t bang = opts.program.rfind('!');
  const std::string library = opts.program.substr(0, bang);
  const std::string entry = opts.program.substr(bang + 1);
  platform::Module module;
  if (module.Load(platform::FromUtf8(library)) != platform::kErrorSuccess)
    throw CommandError("cannot load " + library + " on the device: " + module.LoadMessage());
  auto function = module.ExportAs<void (*)()>(entry.c_str());
  if (function == nullptr) throw CommandError(library + " has no entry " + entry);
  platform::ManualClock clock;
  std::optional<platform::ScopedClock> manual;
  std::shared_ptr<platform::ScriptPerson> script;
  if (steps) {
    manual.emplace(clock);
    script = std::make_shared<platform::ScriptPerson>(*steps, opts.shots, log);
  }
  {
    platform::ScopedPerson front(script ? std::shared_ptr<platform::Person>(script)
                                        : std::make_shared<platform::HeadlessPerson>());
    function();
  }
  if (script) script->Finish();
}

}  // namespace

void AddRunCommand(CLI::App& app) {
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "run",
      "Run a program of the device, or an entry of one of its libraries, with a person in front:\n"
      "the steps of a script (tap, type, key, choose, ok, cancel, answer, rotate, panel, wait, shot,\n"
      "list; see the README), with a PNG screenshot of the whole screen before the first step and\n"
      "after each (NN-STEP.png in --shots). Time on the device passes only by the script's waits.\n"
      "Without a script nobody is in front: message boxes take the answer queue (handheld answer).\n"
      "Prints the run log and the journal's new lines; exits with 1 when a step could not be done\n"
      "or was never reached, else with 0.");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("PROGRAM", opts->program,
                  "A program's device path (\\Windows\\gallery.exe), or LIBRARY!ENTRY for an entry without\n"
                  "arguments run in this process (\\Windows\\VELM.CPL!OnDebug)")
      ->required();
  cmd->add_option("ARGS", opts->arguments, "The program's command line (after --)");
  cmd->add_option("--script", opts->script, "The person's steps, one a line");
  cmd->add_option("--shots", opts->shots, "The folder for the screenshots (made when missing)");
  cmd->add_option("--log", opts->log, "Write the run log here too (default: SHOTS/run.log)");
  cmd->add_option("--timeout", opts->timeout, "Seconds before a program that does not end is stopped")
      ->capture_default_str();
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    std::optional<std::vector<platform::automation::ScriptStep>> steps;
    if (!opts->script.empty()) {
      platform::automation::ScriptError error;
      steps = platform::automation::ParseScript(ReadScript(opts->script), &error);
      if (!steps) throw CommandError(opts->script + ":" + std::to_string(error.line) + ": " + error.message);
    }
    if (!opts->shots.empty()) {
      std::error_code ec;
      fs::create_directories(opts->shots, ec);
      if (ec) throw CommandError("cannot make the folder " + opts->shots + ": " + ec.message());
    }
    fs::path log = opts->log;
    if (log.empty() && !opts->shots.empty()) log = fs::path(opts->shots) / "run.log";
    bool temporaryLog = false;
    if (log.empty() && steps) {
      log = fs::temp_directory_path() / ("handheld-run-" + std::to_string(::getpid()) + ".log");
      temporaryLog = true;
    }
    if (!log.empty()) std::ofstream(log, std::ios::trunc);

    const size_t journalBefore = device->Get().Journal().Lines().size();
    int code = 0;
    bool killed = false;
    if (opts->program.find('!') != std::string::npos) {
      RunEntry(*opts, steps, log);
    } else {
      if (steps) {
        ::setenv("VELM_AUTOMATION_SCRIPT", fs::absolute(opts->script).c_str(), 1);
        if (!opts->shots.empty()) ::setenv("VELM_AUTOMATION_SHOTS", fs::absolute(opts->shots).c_str(), 1);
        ::setenv("VELM_AUTOMATION_LOG", fs::absolute(log).c_str(), 1);
      }
      code = RunChild(*opts, &killed);
    }
    std::string text;
    if (!log.empty()) {
      std::ifstream in(log);
      std::ostringstream s;
      s << in.rdbuf();
      text = s.str();
      std::cout << text << std::flush;
      if (temporaryLog) fs::remove(log);
    }
    // What the run left in the journal: the boxes and who answered them.
    const auto journal = device->Get().Journal().Lines();
    for (size_t i = journalBefore; i < journal.size(); ++i) std::cout << "journal " << journal[i] << "\n";
    if (killed) throw CommandError(opts->program + " did not end within " + std::to_string(opts->timeout) + " s; stopped");
    if (opts->program.find('!') == std::string::npos) std::cout << opts->program << " ended with exit code " << code << std::endl;
    if (text.find(kStopped) != std::string::npos || text.find(kNotReached) != std::string::npos)
      throw CommandError("the script did not run to its end");
  });
}

}  // namespace handheld
