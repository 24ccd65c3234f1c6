#pragma once
// The image arguments of drkflash: FILE or FILE:HEADERLEN, where HEADERLEN
// is the number of bytes at the start of the file that are not sent. A
// colon followed by anything but digits belongs to the file name.

#include <optional>
#include <string>
#include <string_view>

namespace drkflash {

struct ImageArgument {
  std::string path;
  int headerLength = 0;
};

// nullopt when the text is empty or the header length is out of range; why
// then says what is wrong.
std::optional<ImageArgument> ParseImageArgument(std::string_view text, std::string& why);

}  // namespace drkflash
