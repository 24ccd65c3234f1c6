#include "tests/flashclient/windows/win32_test_support.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <vector>

namespace wintest {

namespace fs = std::filesystem;

std::string Env(const char* name) {
  DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
  if (size == 0) return {};
  std::vector<char> value(size);
  DWORD n = ::GetEnvironmentVariableA(name, value.data(), size);
  return n < size ? std::string(value.data(), n) : std::string();
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (::GetEnvironmentVariableA(name, nullptr, 0) != 0) previous_ = Env(name);
  // Both the process's environment and the C library's copy, which getenv reads.
  ::SetEnvironmentVariableA(name, value);
  ::_putenv_s(name, value != nullptr ? value : "");
}

ScopedEnv::~ScopedEnv() {
  ::SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
  ::_putenv_s(name_.c_str(), previous_ ? previous_->c_str() : "");
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("drkclient-test-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter));
  fs::create_directories(path_);
  previous_ = fs::current_path();
  fs::current_path(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(path_, ec);
}

std::string TempFolder::ReadFileStartingWith(const std::string& prefix, std::string* name) const {
  for (const auto& entry : fs::directory_iterator(path_)) {
    const std::string file = entry.path().filename().string();
    if (file.rfind(prefix, 0) != 0) continue;
    if (name != nullptr) *name = file;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  return {};
}

}  // namespace wintest
