// A library with an initialisation routine, for the module loader tests. Its
// attach refuses when the environment variable TEST_MODULE_REFUSE is set;
// it counts attaches and detaches in the process's environment so that a
// test sees them after the library has left the process.

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Count(const char* name) {
  const char* now = std::getenv(name);
  const int n = now == nullptr ? 0 : std::atoi(now);
  setenv(name, std::to_string(n + 1).c_str(), 1);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int DllMain(void*, uint32_t reason, void*) {
  if (reason == 1) {
    if (std::getenv("TEST_MODULE_REFUSE") != nullptr) return 0;
    Count("TEST_MODULE_ATTACHED");
  } else if (reason == 0) {
    Count("TEST_MODULE_DETACHED");
  }
  return 1;
}

extern "C" __attribute__((visibility("default"))) int TestModuleAnswer() { return 43; }
