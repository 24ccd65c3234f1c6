#include "flashclient/os_family.h"

#include "flashclient/driver_state.h"

namespace drkclient {

namespace {

constexpr uint32_t kFirstNt5Major = 5;
constexpr uint32_t kFirstNtMajor = 3;
// More digits than any version number has: the text is not one.
constexpr size_t kMaxMajorDigits = 4;

}  // namespace

int32_t DetectOsFamily() {
  DriverState& s = State();
  if (s.osFamily == kOsFamilyUnknown) s.osFamily = ReadOsFamily();
  return s.osFamily;
}

int32_t OsFamilyFromVersion(std::string_view currentVersion) {
  uint32_t major = 0;
  size_t digits = 0;
  for (char c : currentVersion) {
    if (c == '.') break;
    if (c < '0' || c > '9' || ++digits > kMaxMajorDigits) return kOsFamilyOther;
    major = major * 10 + static_cast<uint32_t>(c - '0');
  }
  if (digits == 0 || digits == currentVersion.size()) return kOsFamilyOther;  // no "N." in front
  if (major >= kFirstNt5Major) return kOsFamilyNt5;
  if (major >= kFirstNtMajor) return kOsFamilyNt4;
  return kOsFamilyOther;
}

}  // namespace drkclient
