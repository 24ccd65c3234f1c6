#pragma once
// Small helpers of the Windows test programs: the environment the Linux
// side sets, a temporary folder made current, and an environment variable
// set for a scope.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace wintest {

// The variable's value, or empty when it is not set.
std::string Env(const char* name);

class ScopedEnv {
 public:
  // value nullptr removes the variable for the scope.
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// A fresh folder under the temporary folder, current for the object's
// lifetime and removed afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // The content of the one file in it whose name starts with prefix; empty
  // when there is none.
  std::string ReadFileStartingWith(const std::string& prefix, std::string* name = nullptr) const;

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

}  // namespace wintest
