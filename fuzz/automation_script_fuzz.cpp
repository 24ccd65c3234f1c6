// Feeds arbitrary text to the script reader: it either reads steps or
// names the line at fault, within the text's lines.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/automation/automation_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::automation::ScriptError error;
  const auto steps = platform::automation::ParseScript(text, &error);
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (!steps) {
    if (error.line < 1 || error.line > lines || error.message.empty()) std::abort();
    return 0;
  }
  for (const auto& step : *steps)
    if (step.line < 1 || step.line > lines) std::abort();
  return 0;
}
