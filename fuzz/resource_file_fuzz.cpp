// Feeds arbitrary bytes to the compiled resource file reader, then to every
// lookup a loaded library offers: whatever parses must be readable without
// a read outside the file's bytes.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/resource_file.h"
#include "platform/resource_icon.h"
#include "platform/resource_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::ResourceFile file;
  platform::ResourceFileError error;
  if (!file.Parse(std::string(reinterpret_cast<const char*>(data), size), &error)) {
    if (error.message.empty()) std::abort();
    return 0;
  }
  for (const platform::ResourceRecord& r : file.Records())
    if (file.Data(r).size() != r.dataSize) std::abort();
  const bool stringsOk = platform::CheckStringTables(file, &error);
  const bool iconsOk = platform::CheckIcons(file, &error);
  for (uint32_t number : {0u, 1u, 2u, 17u, 65085u, 65087u, 0xFFFFu}) {
    platform::WString text;
    const auto found = platform::FindString(file, number, text);
    if (stringsOk && found == platform::StringLookup::Malformed) std::abort();
  }
  const size_t icons = platform::IconCount(file);
  for (size_t i = 0; i < icons && i < 4; ++i) {
    for (int iconSize : {platform::kSmallIconSize, platform::kLargeIconSize}) {
      platform::IconImage image;
      const auto found = platform::ExtractIcon(file, i, iconSize, platform::kDisplayBitCount, image);
      if (iconsOk && found != platform::IconLookup::Found) std::abort();
    }
  }
  return 0;
}
