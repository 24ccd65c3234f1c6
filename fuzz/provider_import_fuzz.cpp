// Feeds arbitrary bytes to the provider list reader and, when they are a
// provider list, to the operator import. No input may crash or leak, and
// the database written must read back as written: the applet's reader lists
// exactly the sections the import wrote, in order, each with its "Network".

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "applet/device/sectioned_text_reader.h"
#include "fuzz/fuzz_device.h"
#include "tools/handheld/operator_import.h"
#include "tools/handheld/provider_list.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& device = fuzz_support::FuzzDevice::Get();
  handheld::ProviderList list;
  std::string why;
  if (!handheld::ParseProviderList(std::string_view(reinterpret_cast<const char*>(data), size), "input", list,
                                   why)) {
    Require(!why.empty());
    return 0;
  }
  const handheld::ImportResult result = handheld::ImportOperators(
      list, handheld::ImportSettings{handheld::CodePageText(1252), u"(Select your operator)", u"Other operator",
                                     "input"});
  device.WriteFile("GPRSope.inf", result.fileText);

  applet::SectionedTextReader reader;
  Require(reader.Open(u"\\GPRSope.inf"));
  std::vector<platform::WString> names;
  reader.ListSections(names);
  Require(names.size() == result.sections.size());
  for (size_t i = 0; i < names.size(); ++i) {
    Require(names[i] == result.sections[i].name);
    platform::WString network;
    Require(reader.GetString(names[i], u"Network", network, u"") && !network.empty());
  }
  return 0;
}
