// Feeds arbitrary bytes to the sectioned text reader. Every lookup must
// give the same result streamed from the start of the file as through the
// section index, and no input may crash or leak.

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "applet/device/sectioned_text_reader.h"
#include "fuzz/fuzz_device.h"

namespace {

// Enough sections to reach the index's interesting cases without letting
// one input run for long (a streamed lookup reads from the start).
constexpr size_t kMaxSectionsChecked = 8;

struct Result {
  bool found;
  platform::WString value;
  bool operator==(const Result&) const = default;
};

Result Lookup(applet::SectionedTextReader& reader, platform::WStringView section,
              platform::WStringView key) {
  Result r{false, u"<none>"};
  r.found = reader.GetString(section, key, r.value, u"<default>");
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::FuzzDevice device;
  device.WriteFile("input.ini", std::string_view(reinterpret_cast<const char*>(data), size));

  applet::SectionedTextReader streamed, indexed;
  if (!streamed.Open(u"\\input.ini") || !indexed.Open(u"\\input.ini")) std::abort();
  std::vector<platform::WString> sections;
  const size_t count = indexed.ListSections(sections);
  if (count != sections.size()) std::abort();

  const platform::WString keys[] = {u"", u"a", u"Key", u"name"};
  for (size_t i = 0; i < sections.size() && i < kMaxSectionsChecked; ++i) {
    const platform::WString& section = sections[i];
    for (const auto& key : keys) {
      if (!(Lookup(streamed, section, key) == Lookup(indexed, section, key))) std::abort();
    }
    if (!(Lookup(streamed, section, section) == Lookup(indexed, section, section))) std::abort();
    std::vector<platform::WString> pieces;
    indexed.GetList(section, u"a", u',', pieces);
    for (const auto& piece : pieces)
      if (piece.empty()) std::abort();
    applet::SectionedTextReader::Rect rect;
    indexed.GetRect(section, u"a", rect);
    indexed.GetInt(section, u"a", -1);
    char16_t buffer[8];
    indexed.GetStringInto(section, u"Key", u"d", buffer);
  }
  // A section that is not there reads the same both ways too.
  if (!(Lookup(streamed, u"\u0001absent", u"a") == Lookup(indexed, u"\u0001absent", u"a")))
    std::abort();
  return 0;
}
