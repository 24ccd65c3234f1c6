// The import of the real provider list that scripts/bootstrap installs
// (Debian's mobile-broadband-provider-info): a SIM card of any network the
// list names finds the provider that the list names first for it, the
// settings of well-known operators come out as the list has them, and the
// integrator's check finds nothing that the import could have avoided.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "applet/connections/operator_database.h"
#include "applet/shell/operator_dialog_lists.h"
#include "platform/resource_library.h"
#include "tests/support/applet_resources.h"
#include "tests/support/temp_device.h"
#include "tools/handheld/operator_check.h"
#include "tools/handheld/operator_import.h"
#include "tools/handheld/provider_list.h"

namespace handheld {
namespace {

using platform::WString;

constexpr char16_t kWorking[] = u"\\Yvra File Store\\GPRS Settings\\";
constexpr char16_t kInstalled[] = u"\\Yvra ROM\\GPRS Settings\\";

WString ResourceText(uint32_t number) {
  return platform::LoadString(platform::CurrentResourceSource(), number).value_or(WString());
}

// A provider as the test reads the list, apart from the import.
struct ListedProvider {
  std::string region;  // upper case
  std::string name;
  size_t line;
  std::vector<std::string> codes;
  pugi::xml_node node;
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsFiveDigits(const std::string& code) {
  return code.size() == 5 && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class WorldOperators : public ::testing::Test {
 protected:
  void SetUp() override {
    ProviderList list;
    std::string why;
    ASSERT_TRUE(LoadProviderList(kDefaultProviderFile, list, why))
        << why << " (scripts/bootstrap installs mobile-broadband-provider-info)";
    result_ = ImportOperators(list, ImportSettings{CodePageText(1252), ResourceText(applet::kPlaceholderOperatorString),
                                                   ResourceText(applet::OperatorDatabase::kCustomOperatorString),
                                                   kDefaultProviderFile});
    device_.WriteFile("Yvra File Store/GPRS Settings/GPRSope.inf", result_.fileText);
    test_support::InstallSampleFiles(device_, "Yvra ROM/GPRS Settings", {"OPE.inf"});
    ReadList();
    ASSERT_TRUE(db_.Open(kWorking, u""));
  }

  void ReadList() {
    std::ifstream in(kDefaultProviderFile, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_TRUE(xml_.load_buffer(text.data(), text.size()));
    auto lineOf = [&](ptrdiff_t offset) {
      return static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n')) + 1;
    };
    for (pugi::xml_node country : xml_.child("serviceproviders").children("country"))
      for (pugi::xml_node provider : country.children("provider")) {
        ListedProvider& p = providers_.emplace_back();
        p.region = Upper(country.attribute("code").value());
        p.name = provider.child_value("name");
        p.line = lineOf(provider.offset_debug());
        p.node = provider;
        for (pugi::xml_node id : provider.child("gsm").children("network-id"))
          p.codes.push_back(std::string(id.attribute("mcc").value()) + id.attribute("mnc").value());
      }
  }

  // The section written for a provider with its GPRS settings, if any.
  std::optional<WString> GprsSectionOf(const ListedProvider& p) const {
    for (const WrittenSection& s : result_.sections)
      if (s.gsm && s.line == p.line && s.region == p.region) return s.name;
    return std::nullopt;
  }

  const ListedProvider* Find(const char* region, const char* name) const {
    for (const ListedProvider& p : providers_)
      if (p.region == region && p.name == name) return &p;
    return nullptr;
  }

  test_support::TempDevice device_;
  test_support::InstalledResources resources_{device_};
  ImportResult result_;
  pugi::xml_document xml_;
  std::vector<ListedProvider> providers_;
  applet::OperatorDatabase db_;
};

TEST_F(WorldOperators, EveryFiveDigitNetworkFindsTheFirstProviderThatListsIt) {
  // The first provider of the list, among those written with GPRS, that
  // lists each code.
  std::map<std::string, WString> expected;
  for (const ListedProvider& p : providers_) {
    const std::optional<WString> section = GprsSectionOf(p);
    if (!section) continue;
    for (const std::string& code : p.codes)
      if (IsFiveDigits(code)) expected.try_emplace(code, *section);
  }
  ASSERT_GT(expected.size(), 400u);
  for (const auto& [code, section] : expected) {
    EXPECT_EQ(db_.FindByHomeNetwork(platform::FromUtf8(code + "0123456789")), section) << code;
  }
  // What is not written is accounted for: every provider has a section or
  // a note that it was skipped.
  for (const ListedProvider& p : providers_) {
    const bool written = std::any_of(result_.sections.begin(), result_.sections.end(),
                                     [&](const WrittenSection& s) { return s.line == p.line; });
    const bool skipped = std::any_of(result_.notes.begin(), result_.notes.end(), [&](const ImportNote& n) {
      return n.kind == NoteKind::Skipped && n.line == p.line;
    });
    EXPECT_TRUE(written != skipped) << p.region << " " << p.name;
  }
}

// The text of an element below an access point, or empty.
std::string Text(const pugi::xml_node& apn, const char* name) { return apn.child_value(name); }

// The first access point of a use; none gives the internet.
pugi::xml_node FirstAccessPoint(const pugi::xml_node& provider, const char* use) {
  for (pugi::xml_node apn : provider.child("gsm").children("apn")) {
    const std::string type = apn.child("usage").attribute("type").value();
    if (type == use || (type.empty() && std::string(use) == "internet")) return apn;
  }
  return pugi::xml_node();
}

TEST_F(WorldOperators, WellKnownOperatorsComeOutAsTheListHasThem) {
  const std::pair<const char*, const char*> operators[] = {
      {"FR", "Orange"}, {"DE", "Vodafone"}, {"GB", "O2"}, {"IT", "TIM"}, {"AU", "Telstra"}, {"JP", "NTT docomo"},
  };
  size_t checked = 0;
  for (const auto& [region, name] : operators) {
    const ListedProvider* p = Find(region, name);
    if (p == nullptr) continue;  // a later package may drop it
    const std::optional<WString> section = GprsSectionOf(*p);
    ASSERT_TRUE(section) << region << " " << name;
    const pugi::xml_node internet = FirstAccessPoint(p->node, "internet");
    ASSERT_TRUE(internet) << name;

    applet::CRASparam record;
    record.operatorName = *section;
    record.bearer = applet::BearerType::Gprs;
    db_.FillRecord(nullptr, record);
    EXPECT_EQ(platform::ToUtf8(record.apn), internet.attribute("value").value()) << name;
    EXPECT_EQ(platform::ToUtf8(record.userName), Text(internet, "username")) << name;
    EXPECT_EQ(platform::ToUtf8(record.password), Text(internet, "password")) << name;

    db_.SelectOperator(*section);
    if (const pugi::xml_node mms = FirstAccessPoint(p->node, "mms"); mms && !Text(mms, "mmsc").empty()) {
      EXPECT_TRUE(db_.MmsOnly()) << name;
      WString text;
      db_.MmsCenter(text);
      EXPECT_EQ(platform::ToUtf8(text), Text(mms, "mmsc")) << name;
      db_.MmsApn(false, text);
      EXPECT_EQ(platform::ToUtf8(text), mms.attribute("value").value()) << name;
    }
    // The network codes it lists are those a SIM card finds it by.
    const std::vector<WString> numbers = db_.HomeNetworkNumbers(*section);
    EXPECT_FALSE(numbers.empty()) << name;
    for (const WString& number : numbers)
      EXPECT_EQ(db_.FindByHomeNetwork(number), *section) << name << " " << platform::ToUtf8(number);
    ++checked;
  }
  EXPECT_GE(checked, 4u);
}

TEST_F(WorldOperators, TheCheckFindsNothingTheImportCouldHaveAvoided) {
  // What remains is what the list or the applet decides: the list has no
  // SMS centres; CDMA is no kind the dialog lists; a provider whose codes
  // have six digits or belong to an earlier provider has none a SIM card
  // finds; and the applet's country table files Canada and Brazil under
  // codes that are not their public ones.
  const char* const unavoidable[] = {
      "the operator has no SMS centre: no section of",
      "the operator offers only 1XRTT; the operator dialog lists only operators with GPRS or CSD",
      "the operator has no HomeNetworkNumber; no SIM card finds it",
      "CountryProvider=107: the applet lists the operator under Canada",
      "CountryProvider=351: the applet lists the operator under Brazil",
  };
  const std::vector<Finding> findings = CheckOperatorFiles(kWorking, kInstalled);
  EXPECT_FALSE(findings.empty());
  for (const Finding& f : findings) {
    const bool allowed = std::any_of(std::begin(unavoidable), std::end(unavoidable),
                                     [&](const char* words) { return f.message.find(words) != std::string::npos; });
    EXPECT_TRUE(allowed) << FormatFinding(f);
  }
}

}  // namespace
}  // namespace handheld
