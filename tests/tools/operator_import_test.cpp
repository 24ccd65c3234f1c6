// The operator import, judged through the applet's own reader: what the
// provider list says must come back from the written database, and what
// cannot must be told.

#include "tools/handheld/operator_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "applet/connections/operator_database.h"
#include "applet/device/sectioned_text_reader.h"
#include "tests/support/temp_device.h"
#include "tools/handheld/provider_list.h"

namespace handheld {
namespace {

using platform::WString;

constexpr char16_t kFolder[] = u"\\Data\\";
constexpr char16_t kPath[] = u"\\Data\\GPRSope.inf";
constexpr char16_t kPlaceholder[] = u"(Select your operator)";
constexpr char16_t kCustomOperator[] = u"Other operator";

ImportResult ImportFixture(const char* name, unsigned codePage = 1252) {
  ProviderList list;
  std::string why;
  EXPECT_TRUE(LoadProviderList(test_support::DataPath(std::string("providers/") + name), list, why)) << why;
  return ImportOperators(list, ImportSettings{CodePageText(codePage), kPlaceholder, kCustomOperator, name});
}

// A fixture imported into a device and opened with the applet's reader.
class ImportedFixture {
 public:
  explicit ImportedFixture(const char* name) : result(ImportFixture(name)) {
    device.WriteFile("Data/GPRSope.inf", result.fileText);
    EXPECT_TRUE(reader.Open(kPath));
  }

  std::optional<std::string> Value(const char* section, const char* key) {
    WString value;
    if (!reader.GetString(platform::FromUtf8(section), platform::FromUtf8(key), value, u"")) return std::nullopt;
    return platform::ToUtf8(value);
  }

  bool HasNote(NoteKind kind, const std::string& provider, const std::string& words) const {
    for (const ImportNote& note : result.notes)
      if (note.kind == kind && note.provider == provider && note.message.find(words) != std::string::npos)
        return true;
    return false;
  }

  std::string Notes() const {
    std::string text;
    for (const ImportNote& note : result.notes)
      text += std::to_string(static_cast<int>(note.kind)) + " " + note.provider + ": " + note.message + "\n";
    return text;
  }

  std::vector<std::string> SectionNames() {
    std::vector<WString> names;
    reader.ListSections(names);
    std::vector<std::string> out;
    for (const WString& n : names) out.push_back(platform::ToUtf8(n));
    return out;
  }

  test_support::TempDevice device;
  ImportResult result;
  applet::SectionedTextReader reader;
};

struct ValueCase {
  const char* section;
  const char* key;
  const char* expected;  // null: the key is left out
};

TEST(OperatorImport, ValuesComeBackFromTheAppletsReaderAsTheListHasThem) {
  ImportedFixture f("values.xml");
  const ValueCase cases[] = {
      {"Full", "CountryProvider", "44"},
      {"Full", "Network", "GPRS,WAPGPRS"},
      {"Full", "HomeNetworkNumber", "23410"},
      // The APN with white space is trimmed as the applet would; the one
      // with a comma, another login, or a login outside the code page is out.
      {"Full", "APN", "internet,spaced"},
      {"Full", "Username", "web"},
      {"Full", "Password", "\"web\""},  // quotes that belong to the value stay
      {"Full", "GPRS Auth", "CHAP"},
      {"Full", "DNS1", "10.0.0.1"},  // the IPv6 server is out, the fourth one too
      {"Full", "DNS2", "10.0.0.2"},
      {"Full", "WAPGPRS APN", "wap.full"},
      {"Full", "WAPGPRS Username", "wap"},
      {"Full", "WAPGPRS Auth", nullptr},
      {"Full", "MMSonly", "1"},
      {"Full", "MMS APN", "mms.full"},
      {"Full", "MMS Center", "http://mms.full/"},
      {"Full", "MMS WapGw", "10.1.1.1"},
      {"Full", "MMS WapGwPort", "9201"},
      {"Full", "MMS Username", "mms"},
      {"Full", "MMS Password", "'"},
      {"Proxy By Name", "APN", "net"},  // an access point without a use serves the internet
      {"Proxy By Name", "MMS Center", "http://mms.name/"},
      {"Proxy By Name", "MMS WapGw", nullptr},
      {"Proxy By Name", "MMS WapGwPort", nullptr},
      {"Proxy Without Port", "MMS WapGw", "10.2.2.2"},
      {"Proxy Without Port", "MMS WapGwPort", nullptr},
      {"Dual", "Network", "GPRS,1XRTT"},
      {"Dual", "APN", "dual.gsm"},
      {"Dual", "1XRTT Username", "cdma"},
      {"Dual", "1XRTT Password", " "},
      {"Dual", "1XRTT DNS1", "10.9.9.9"},
      {"Only CDMA", "Network", "1XRTT"},
      {"Only CDMA", "1XRTT Username", "c"},
      {"CDMA Fallback", "Network", "1XRTT"},
      {"CDMA Fallback", "MMSonly", nullptr},
  };
  for (const ValueCase& c : cases) {
    const std::optional<std::string> got = f.Value(c.section, c.key);
    if (c.expected == nullptr)
      EXPECT_FALSE(got) << c.section << " " << c.key << " = " << got.value_or("");
    else
      EXPECT_EQ(got.value_or("(absent)"), c.expected) << c.section << " " << c.key;
  }
  EXPECT_EQ(f.SectionNames(),
            (std::vector<std::string>{"Full", "Proxy By Name", "Proxy Without Port", "Dual", "Only CDMA",
                                      "CDMA Fallback"}));
}

struct NoteCase {
  NoteKind kind;
  const char* provider;
  const char* words;
};

TEST(OperatorImport, TellsWhatItLeavesOutOrChanges) {
  ImportedFixture f("values.xml");
  const NoteCase cases[] = {
      {NoteKind::Warning, "Full", "APN \" spaced \" (line 12) has white space, which the applet cuts off; written as \"spaced\""},
      {NoteKind::Warning, "Full", "APN \"a,b\" (line 13) has a ',', where the applet cuts the list; left out"},
      {NoteKind::Warning, "Full", "APN \"other\" (line 14) needs another login than \"internet\""},
      {NoteKind::Warning, "Full", "its Username has characters that code page 1252 lacks; the access point is left out"},
      {NoteKind::Warning, "Full", "name server \"2001:db8::1\" is no dotted IPv4 address"},
      {NoteKind::Warning, "Full", "name server \"10.0.0.3\" is left out; the applet keeps two"},
      {NoteKind::Warning, "Proxy By Name", "MMS proxy \"proxy.name:8080\" has no dotted IPv4 address"},
      {NoteKind::Warning, "Proxy By Name", "the MMS access point has no username; the applet uses the internet one, \"user\""},
      {NoteKind::Warning, "Proxy Without Port", "MMS proxy \"10.2.2.2\" names no port; the applet uses 9201"},
      {NoteKind::Skipped, "Only MMS", "no usable internet access point"},
      {NoteKind::Skipped, "Only Commas", "no usable internet access point"},
      {NoteKind::Warning, "Only Commas", "APN \"x,y\""},
      {NoteKind::Warning, "CDMA Fallback", "only its CDMA settings are written"},
  };
  for (const NoteCase& c : cases) EXPECT_TRUE(f.HasNote(c.kind, c.provider, c.words)) << c.words << "\n" << f.Notes();
  // Nothing is silent: every value that is not written has a note.
  EXPECT_EQ(f.result.notes.size(), std::size(cases)) << f.Notes();
}

TEST(OperatorImport, NamesAreSectionsOfTheirOwnThatTheDialogLists) {
  ImportedFixture f("names.xml");
  const std::vector<std::string> france = {
      "Orange Business",
      "orange (France)",   // "Orange Business" would hide "orange"
      "Mobile (Pro)",      // brackets would end the header
      "Twice",
      "Twice (2)",         // the same name in the same country
      "Unknown (France)",  // the applet never lists "Unknown"
      "(Select (France)",  // the dialog's first entry begins with "(Select"
      "Bouygues Télécom",  // the code page has these letters
  };
  std::vector<std::string> all = france;
  all.push_back("Twice (Germany)");  // the same name in another country
  all.push_back("ayransl");           // Persian, in Latin letters
  EXPECT_EQ(f.SectionNames(), all);

  // The dialog lists every French operator after its first entry.
  applet::OperatorDatabase db;
  ASSERT_TRUE(db.Open(kFolder, u""));
  db.SetListTexts(u"(No country)", kPlaceholder);
  WString country;
  int32_t code = 0;
  ASSERT_TRUE(db.CountryOf(u"Twice", country, code));
  EXPECT_EQ(code, 33);
  std::vector<std::string> listed;
  for (const WString& name : db.ListOperators(country, applet::OperatorDatabase::kAllKinds))
    listed.push_back(platform::ToUtf8(name));
  std::vector<std::string> expected{platform::ToUtf8(kPlaceholder)};
  expected.insert(expected.end(), france.begin(), france.end());
  EXPECT_EQ(listed, expected);

  EXPECT_TRUE(f.HasNote(NoteKind::Renamed, "orange", "hide it behind \"Orange Business\"")) << f.Notes();
  EXPECT_TRUE(f.HasNote(NoteKind::Renamed, "Mobile  [Pro]", "written as parentheses")) << f.Notes();
  EXPECT_TRUE(f.HasNote(NoteKind::Renamed, "Twice", "a section before it is named \"Twice\"")) << f.Notes();
  EXPECT_TRUE(f.HasNote(NoteKind::Transliterated, "ایرانسل", "\"ayransl\"")) << f.Notes();
  // The original name stays in a comment, in escapes the code page holds.
  EXPECT_NE(f.result.fileText.find("[ayransl]\r\n; original name: \\u0627\\u06CC\\u0631\\u0627\\u0646\\u0633\\u0644 (Iran)"),
            std::string::npos)
      << f.result.fileText;
}

TEST(OperatorImport, NamesFollowTheDevicesCodePage) {
  // Cyrillic has no accented Latin letters: the French name goes to ASCII.
  const ImportResult result = ImportFixture("names.xml", 1251);
  std::vector<std::string> names;
  for (const WrittenSection& s : result.sections) names.push_back(platform::ToUtf8(s.name));
  EXPECT_NE(std::find(names.begin(), names.end(), "Bouygues Telecom"), names.end());
}

TEST(OperatorImport, SimCardsFindTheFirstWrittenProviderOfTheirNetwork) {
  ImportedFixture f("networks.xml");
  applet::OperatorDatabase db;
  ASSERT_TRUE(db.Open(kFolder, u""));
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"310260123456789", u"Host"},  // the skipped provider before it claims nothing
      {u"31016", u"Host"},
      {u"31017", u"Virtual"},
      {u"310410123456789", u""},      // six digits: the applet compares five
  };
  for (const auto& [imsi, section] : cases)
    EXPECT_EQ(platform::ToUtf8(db.FindByHomeNetwork(imsi)), platform::ToUtf8(section)) << platform::ToUtf8(imsi);
  EXPECT_EQ(f.Value("Host", "HomeNetworkNumber"), "31026,31016");
  EXPECT_EQ(f.Value("Virtual", "HomeNetworkNumber"), "31017");
  EXPECT_FALSE(f.Value("Virtual Only", "HomeNetworkNumber"));
  for (const char* comment : {"; six-digit network codes, which no SIM card finds (the applet compares five digits): 310410",
                              "; network codes that [Host] lists before this section: 31016"})
    EXPECT_NE(f.result.fileText.find(comment), std::string::npos) << comment;
  EXPECT_TRUE(f.HasNote(NoteKind::SixDigitCode, "Host", "310410"));
  EXPECT_TRUE(f.HasNote(NoteKind::ClaimedCode, "Virtual Only", "31026 (listed by \"Host\")"));
  EXPECT_TRUE(f.HasNote(NoteKind::Warning, "Host", "mcc=\"31\" mnc=\"0\""));
}

TEST(OperatorImport, CountriesGetTheCodeTheAppletsTableGivesThem) {
  ImportedFixture f("countries.xml");
  const std::pair<const char*, int32_t> cases[] = {
      {"F", 33},
      {"C", 107},   // the table files Canada under 107
      {"B", 351},   // and Brazil under 351
      {"P", -1},    // Portugal's 351 would list it under Brazil
      {"I", -1},    // Ireland has no row
      {"N", 31},    // a row without a locale, found by its name
  };
  for (const auto& [section, code] : cases)
    EXPECT_EQ(f.reader.GetInt(platform::FromUtf8(section), u"CountryProvider", -1), code) << section;
  EXPECT_NE(f.result.fileText.find("; Portugal (public telephone code 351) has no row in the applet's country table"),
            std::string::npos);
  size_t noCountry = 0;
  for (const ImportNote& note : f.result.notes) noCountry += note.kind == NoteKind::NoCountry ? 1 : 0;
  EXPECT_EQ(noCountry, 2u) << f.Notes();
  bool canada = false;
  for (const ImportNote& note : f.result.notes)
    canada |= note.kind == NoteKind::CountryCode && note.region == "CA" &&
              note.message.find("filed under 107") != std::string::npos &&
              note.message.find("public telephone code 1)") != std::string::npos;
  EXPECT_TRUE(canada) << f.Notes();
}

TEST(ProviderList, RefusesWhatIsNoProviderList) {
  test_support::TempDevice device;
  const auto wrongRoot = device.HostPath("wrong.xml");
  device.WriteFile("wrong.xml", "<?xml version=\"1.0\"?><providers format=\"2.0\"/>");
  const auto wrongFormat = device.HostPath("format.xml");
  device.WriteFile("format.xml", "<?xml version=\"1.0\"?>\n<serviceproviders format=\"1.0\"/>");
  const std::pair<std::filesystem::path, std::string> cases[] = {
      {test_support::DataPath("providers/malformed.xml"), "malformed.xml:5: "},
      {wrongRoot, "no <serviceproviders> element"},
      {wrongFormat, "format.xml:2: format \"1.0\", expected 2.0"},
      {device.HostPath("missing.xml"), "missing.xml: "},
  };
  for (const auto& [path, words] : cases) {
    ProviderList list;
    std::string why;
    EXPECT_FALSE(LoadProviderList(path, list, why));
    EXPECT_NE(why.find(words), std::string::npos) << why;
  }
}

}  // namespace
}  // namespace handheld
