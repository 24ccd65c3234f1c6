#include "tools/drkflash/image_argument.h"

#include <algorithm>
#include <charconv>

namespace drkflash {

std::optional<ImageArgument> ParseImageArgument(std::string_view text, std::string& why) {
  ImageArgument arg;
  arg.path = std::string(text);
  size_t colon = text.rfind(':');
  if (colon != std::string_view::npos && colon + 1 < text.size()) {
    std::string_view digits = text.substr(colon + 1);
    if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), arg.headerLength);
      if (ec != std::errc() || end != digits.data() + digits.size()) {
        why = "header length out of range in '" + std::string(text) + "'";
        return std::nullopt;
      }
      arg.path = std::string(text.substr(0, colon));
    }
  }
  if (arg.path.empty()) {
    why = "no file named in '" + std::string(text) + "'";
    return std::nullopt;
  }
  return arg;
}

}  // namespace drkflash
