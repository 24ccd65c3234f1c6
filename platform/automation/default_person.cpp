// The person a process starts with. A program run by "handheld run" finds
// its script in the environment and follows it, on a manual clock so its
// screenshots repeat exactly; any other process has nobody in front of it.
//
//   VELM_AUTOMATION_SCRIPT  the script file
//   VELM_AUTOMATION_SHOTS   the folder for the screenshots (may be unset)
//   VELM_AUTOMATION_LOG     the run log (may be unset)
//
// The person acts on the thread that loads the platform, the program's
// main thread.

#include <cstdlib>
#include <fstream>
#include <memory>

#include "base/clock.h"
#include "platform/automation/headless_person.h"
#include "platform/automation/script_person.h"

namespace platform {

namespace {

constexpr size_t kMaxScriptFile = 4 * 1024 * 1024;

std::filesystem::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

void Log(const std::filesystem::path& log, const std::string& line) {
  if (log.empty()) return;
  std::ofstream(log, std::ios::app) << line << "\n";
}

std::shared_ptr<Person> ScriptedPerson(const std::filesystem::path& script) {
  const std::filesystem::path log = FromEnvironment("VELM_AUTOMATION_LOG");
  std::ifstream in(script, std::ios::binary);
  std::string text(kMaxScriptFile + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (!in.eof() || text.size() > kMaxScriptFile) {
    Log(log, script.string() + ": cannot be read, or is too long; nobody is in front of the device");
    return std::make_shared<HeadlessPerson>();
  }
  automation::ScriptError error;
  auto steps = automation::ParseScript(text, &error);
  if (!steps) {
    Log(log, script.string() + ":" + std::to_string(error.line) + ": " + error.message);
    return std::make_shared<HeadlessPerson>();
  }
  // Screenshots repeat exactly when time passes only by the script's waits.
  static ManualClock clock;
  static ScopedClock installed(clock);
  return std::make_shared<ScriptPerson>(std::move(*steps), FromEnvironment("VELM_AUTOMATION_SHOTS"), log);
}

struct DefaultPerson {
  DefaultPerson() {
    const std::filesystem::path script = FromEnvironment("VELM_AUTOMATION_SCRIPT");
    SetPerson(script.empty() ? std::make_shared<HeadlessPerson>() : ScriptedPerson(script));
  }
};

const DefaultPerson g_defaultPerson;

}  // namespace

}  // namespace platform
