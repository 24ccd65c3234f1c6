#include "applet/device/sectioned_text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;

constexpr char16_t kPath[] = u"\\Windows\\reader.ini";
constexpr char16_t kDefault[] = u"<default>";

class SectionedTextReaderTest : public ::testing::Test {
 protected:
  // Writes the file and opens it.
  void Load(std::string_view bytes) {
    device_.WriteFile("Windows/reader.ini", bytes);
    ASSERT_TRUE(reader_.Open(kPath));
  }
  void LoadFixture() { Load(test_support::ReadDataFile("ini/reader.ini")); }

  WString Get(std::u16string_view section, std::u16string_view key) {
    WString out = u"<untouched>";
    reader_.GetString(section, key, out, kDefault);
    return out;
  }

  test_support::TempDevice device_;
  SectionedTextReader reader_;
};

struct Lookup {
  const char16_t* section;
  const char16_t* key;
  bool found;
  const char16_t* value;
};

// Lookups in tests/data/ini/reader.ini.
const Lookup kFixtureLookups[] = {
    {u"General", u"Name", true, u"plain"},
    {u"General", u"Spaced", true, u"value with blanks"},
    {u"General", u"Quoted", true, u"abc"},
    {u"General", u"Single", true, u"abc"},
    {u"General", u"HalfQuoted", true, u"\"abc"},
    {u"General", u"Mixed", true, u"\"abc'"},
    {u"General", u"OneQuote", true, u"\""},
    {u"General", u"EmptyQuotes", true, u""},
    {u"General", u"Equals", true, u"a=b=c"},
    {u"General", u"Empty", true, u""},
    // Keys ignore letter case; the first line with the key wins.
    {u"General", u"CASEKEY", true, u"first"},
    {u"General", u"casekey", true, u"first"},
    // An indented comment is a comment; a tab before ';' makes a key line.
    {u"General", u"; an indented comment", false, kDefault},
    {u"General", u";TabComment", true, u"tab before the semicolon"},
    // Only the first section of a name is consulted.
    {u"General", u"Later", false, kDefault},
    // Section names are compared exactly.
    {u"general", u"Name", true, u"lower-case twin"},
    {u"GENERAL", u"Name", false, kDefault},
    {u"Numbers", u"List", true, u"a , b,, c ,"},
    {u"Indented", u"Key", true, u"indented header"},
    // A line with '[' and no ']' ends the section before it, as a header
    // would, and starts none.
    {u"Indented", u"AfterBroken", false, kDefault},
    {u"Broken", u"AfterBroken", false, kDefault},
    // Lookups skip blanks only, so a header indented by a tab is a key line.
    {u"TabHeader", u"Key", false, kDefault},
    {u"X", u"K", true, u"single character section"},
    {u"", u"key before any section", false, kDefault},
    {u"Missing", u"Name", false, kDefault},
    {u"Numbers", u"Missing", false, kDefault},
};

void ExpectLookups(SectionedTextReader& reader, const std::string& when) {
  for (const auto& c : kFixtureLookups) {
    WString out = u"<untouched>";
    EXPECT_EQ(reader.GetString(c.section, c.key, out, kDefault), c.found)
        << when << ": [" << platform::ToUtf8(c.section) << "] " << platform::ToUtf8(c.key);
    EXPECT_EQ(out, c.value) << when << ": [" << platform::ToUtf8(c.section) << "] "
                            << platform::ToUtf8(c.key);
  }
}

TEST_F(SectionedTextReaderTest, LookupsFollowTheLineRules) {
  LoadFixture();
  ExpectLookups(reader_, "streamed from the start");
}

TEST_F(SectionedTextReaderTest, TheIndexListsHeadersAndLeavesLookupsAsTheyWere) {
  LoadFixture();
  std::vector<WString> names{u"kept"};
  EXPECT_EQ(reader_.ListSections(names), 7u);
  // The index accepts a header indented by a tab; a line without ']' is none.
  EXPECT_EQ(names, (std::vector<WString>{u"kept", u"General", u"Numbers", u"Indented",
                                         u"TabHeader", u"X", u"general", u"General"}));
  ExpectLookups(reader_, "through the index");
  // Lookups move the file position; a second round starts wherever the
  // first stopped.
  ExpectLookups(reader_, "through the index, second round");
  std::vector<WString> again;
  EXPECT_EQ(reader_.ListSections(again), 7u);
  EXPECT_EQ(again.size(), 7u);
}

TEST_F(SectionedTextReaderTest, LineEndsAndWhiteSpace) {
  struct Case {
    const char* name;
    std::string bytes;
    const char16_t* key;
    const char16_t* value;
  } cases[] = {
      {"LF", "[S]\n\n\nA=1\n", u"A", u"1"},
      {"CR LF", "[S]\r\n\r\n\r\nA=1\r\n", u"A", u"1"},
      {"CR LF, no end", "[S]\r\nA = 1 \r", u"A", u"1"},
      {"end-of-file mark", "[S]\nA=\x1a 1 \x1a\x1a\n", u"A", u"1"},
      {"tab and vertical tab", "[S]\n\tA\t=\v1\f\n", u"A", u"1"},
      {"header with blanks inside", "[ \tS\t ] comment\nA=1\n", u"A", u"1"},
      {"header after a tab", "\t[S]\nA=1\n[S]\nA=2\n", u"A", u"2"},
      {"CR alone is no line end", "[S]\rA=1\nA=2\n", u"A", u"2"},
      {"zero byte ends the line", std::string("[S]\nA=1\0tail\n", 13), u"A", u"1"},
  };
  for (const auto& c : cases) {
    Load(c.bytes);
    EXPECT_EQ(Get(u"S", c.key), c.value) << c.name;
  }
}

TEST_F(SectionedTextReaderTest, ABrokenHeaderEndsTheSectionAboveIt) {
  struct Case {
    const char* name;
    const char* bytes;
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
  } cases[] = {
      {"keys above the broken header", "[A]\nAPN=a\n[B\nPassword=x\n", u"A", u"APN", u"a"},
      {"keys below it are not A's", "[A]\nAPN=a\n[B\nPassword=x\n", u"A", u"Password", kDefault},
      {"nor a section of its own", "[A]\nAPN=a\n[B\nPassword=x\n", u"B", u"Password", kDefault},
      {"indented by blanks", "[A]\n   [B = x\nPassword=x\n", u"A", u"Password", kDefault},
      {"before the wanted section", "[B\nPassword=x\n[A]\nPassword=y\n", u"A", u"Password", u"y"},
      {"the next header reads on", "[A]\n[B\n[C]\nPassword=z\n", u"C", u"Password", u"z"},
  };
  for (const auto& c : cases) {
    Load(c.bytes);
    EXPECT_EQ(Get(c.section, c.key), c.value) << c.name << ", streamed";
    std::vector<WString> names;
    reader_.ListSections(names);
    EXPECT_EQ(Get(c.section, c.key), c.value) << c.name << ", through the index";
  }
}

TEST_F(SectionedTextReaderTest, LongLinesAreCutEvery2047Characters) {
  const size_t max = SectionedTextReader::kMaxLineLength;
  std::string bytes = "[S]\n";
  // One physical line: a key line of exactly 2047 characters, then a key
  // line that only exists because the reader cuts there.
  std::string first = "A=" + std::string(max - 2, 'x');
  bytes += first + "B=cut here\n";
  // A value of 2047 characters followed by CR LF keeps nothing of the CR.
  bytes += "C=" + std::string(max - 2, 'y') + "\r\n";
  bytes += "D=end\n";
  // A header far beyond the first buffer: the index must note where it
  // starts across refills, or an indexed lookup begins past its header and
  // finds nothing.
  bytes += "[T]\nE=after the long lines";
  Load(bytes);
  auto expectValues = [&](const char* when) {
    EXPECT_EQ(Get(u"S", u"A"), WString(max - 2, u'x')) << when;
    EXPECT_EQ(Get(u"S", u"B"), u"cut here") << when;
    EXPECT_EQ(Get(u"S", u"C"), WString(max - 2, u'y')) << when;
    EXPECT_EQ(Get(u"S", u"D"), u"end") << when;
    EXPECT_EQ(Get(u"T", u"E"), u"after the long lines") << when;
    EXPECT_EQ(Get(u"T", u"D"), kDefault) << when;
  };
  expectValues("streamed from the start");
  std::vector<WString> names;
  ASSERT_EQ(reader_.ListSections(names), 2u);
  expectValues("through the index");
}

TEST_F(SectionedTextReaderTest, IndexedLookupsInAnyOrderAcrossManyBuffers) {
  // Sections over many buffers, looked up forwards, backwards and by
  // strides, and again: each lookup starts at its own header wherever the
  // last one left the file.
  constexpr int kSections = 300;
  std::string bytes;
  for (int i = 0; i < kSections; ++i)
    bytes += "[Section " + std::to_string(i) + "]\r\n; padding of a comment line\r\nKey = v" +
             std::to_string(i) + "\r\n\r\n";
  ASSERT_GT(bytes.size(), 4 * SectionedTextReader::kBufferSize);
  Load(bytes);
  std::vector<WString> names;
  ASSERT_EQ(reader_.ListSections(names), static_cast<size_t>(kSections));
  std::vector<int> order;
  for (int i = 0; i < kSections; ++i) order.push_back(i);
  for (int i = kSections - 1; i >= 0; --i) order.push_back(i);
  for (int i = 0; i < kSections; ++i) order.push_back(i * 7 % kSections);
  for (int i : order) {
    const WString section = platform::FromUtf8("Section " + std::to_string(i));
    EXPECT_EQ(Get(section, u"KEY"), platform::FromUtf8("v" + std::to_string(i))) << i;
    EXPECT_EQ(Get(section, u"Other"), kDefault) << i;
  }
}

TEST_F(SectionedTextReaderTest, IndexedLookupsFindTheFirstOfNamesThatDifferInLetterCase) {
  // The index finds the first section whose name equals the wanted one
  // ignoring letter case; the lookup then reads on to the header of that
  // exact name. Starting at a later one would miss an earlier exact name.
  struct Case {
    unsigned codePage;
    std::string bytes;
    std::vector<std::pair<const char16_t*, const char16_t*>> lookups;  // section, value of K
  } cases[] = {
      {1252,
       "[Orange]\nK=1\n[ORANGE]\nK=2\n[Stra\xdf" "e]\nK=3\n[STRASSE]\nK=4\n[strasse]\nK=5\n",
       {{u"Orange", u"1"}, {u"ORANGE", u"2"}, {u"orange", kDefault}, {u"Stra\u00dfe", u"3"},
        {u"STRASSE", u"4"}, {u"strasse", u"5"}, {u"STRA\u00dfE", kDefault}}},
      // Greek names fold to Greek: they are searched apart from ASCII ones.
      {1253,
       "[\xd9mega]\nK=1\n[\xd9MEGA]\nK=2\n[\xf9mega]\nK=3\n[omega]\nK=4\n",
       {{u"\u03a9mega", u"1"}, {u"\u03a9MEGA", u"2"}, {u"\u03c9mega", u"3"}, {u"omega", u"4"},
        {u"\u03c9MEGA", kDefault}}},
  };
  for (const Case& c : cases) {
    platform::DeviceConfig config;
    config.ansiCodePage = c.codePage;
    device_.SetConfig(config);
    Load(c.bytes);
    for (const bool indexed : {false, true}) {
      if (indexed) {
        std::vector<WString> names;
        reader_.ListSections(names);
      }
      // Twice, in both orders, as the databases ask for one section many
      // times in a row.
      for (int round = 0; round < 2; ++round)
        for (const auto& [section, value] : c.lookups) {
          EXPECT_EQ(Get(section, u"K"), value) << platform::ToUtf8(section) << (indexed ? " indexed" : "");
          EXPECT_EQ(Get(section, u"k"), value) << platform::ToUtf8(section) << (indexed ? " indexed" : "");
        }
    }
  }
}

TEST_F(SectionedTextReaderTest, ForEachEntryReportsLinesAsLookupsReadThem) {
  const size_t max = SectionedTextReader::kMaxLineLength;
  using Kind = SectionedTextReader::EntryKind;
  Load("; comment\r\n"
       "K0=before any header\r\n"
       "\r\n"
       "  [ S ] trailing\r\n"
       "A = 'quoted' \r\n"
       "\t[Tabbed]\r\n"
       "no equals sign\r\n"
       "A=" + std::string(max - 2, 'x') + "B=cut\n"
       "[broken\r\n"
       "C=read by no lookup\n"
       "[T]\n"
       "C=end");
  struct Seen {
    size_t line;
    Kind kind;
    WString section, key, value;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  reader_.ForEachEntry([&](const SectionedTextReader::Entry& e) {
    seen.push_back({e.lineNumber, e.kind, e.section, e.key,
                    e.value.size() > 100 ? u"<long>" : e.value});
  });
  const std::vector<Seen> expected{
      {2, Kind::Key, u"", u"K0", u"before any header"},
      {4, Kind::Header, u"S", u"", u""},
      {5, Kind::Key, u"S", u"A", u"quoted"},
      // Lookups read the tabbed header as a line of [S]; only the index
      // takes it for a header.
      {6, Kind::IndexOnlyHeader, u"Tabbed", u"", u""},
      {7, Kind::Key, u"S", u"", u""},
      {8, Kind::Key, u"S", u"A", u"<long>"},
      {8, Kind::Key, u"S", u"B", u"cut"},  // the rest of the over-long line
      {9, Kind::UnclosedHeader, u"S", u"", u""},
      {10, Kind::Key, u"", u"C", u"read by no lookup"},
      {11, Kind::Header, u"T", u"", u""},
      {12, Kind::Key, u"T", u"C", u"end"},
  };
  EXPECT_EQ(seen, expected);
}

TEST_F(SectionedTextReaderTest, EightBitTextUsesTheDevicesCodePage) {
  // 0xC0 is À in code page 1252 and А (Cyrillic) in 1251; 0xA7 is § in both.
  const std::string bytes = "[Op\xc0]\nName=\xc0 la carte\nList=1\xa7 2 \xa7\xa7" "3\n";
  Load(bytes);
  EXPECT_EQ(Get(u"Op\u00c0", u"Name"), u"\u00c0 la carte");
  std::vector<WString> pieces;
  EXPECT_EQ(reader_.GetList(u"Op\u00c0", u"List", u'\u00a7', pieces), 3u);
  EXPECT_EQ(pieces, (std::vector<WString>{u"1", u"2", u"3"}));

  platform::DeviceConfig config;
  config.ansiCodePage = 1251;
  device_.SetConfig(config);
  Load(bytes);
  EXPECT_EQ(Get(u"Op\u0410", u"Name"), u"\u0410 la carte");
}

TEST_F(SectionedTextReaderTest, GetIntTakesDigitsOnly) {
  LoadFixture();
  struct Case {
    const char16_t* key;
    int32_t expected;
  } cases[] = {
      {u"Twelve", 12}, {u"Leading", 12}, {u"Negative", -1}, {u"Suffix", -1},
      {u"Trailing", 7}, {u"Plus", -1},   {u"Inner", -1},    {u"List", -1},
      {u"Missing", -1}, {u"Huge", INT32_MAX},
  };
  for (const auto& c : cases)
    EXPECT_EQ(reader_.GetInt(u"Numbers", c.key, -1), c.expected) << platform::ToUtf8(c.key);
}

TEST_F(SectionedTextReaderTest, GetListTrimsAndDropsEmptyPieces) {
  LoadFixture();
  std::vector<WString> pieces{u"old"};
  EXPECT_EQ(reader_.GetList(u"Numbers", u"List", u',', pieces), 3u);
  EXPECT_EQ(pieces, (std::vector<WString>{u"a", u"b", u"c"}));
  EXPECT_EQ(reader_.GetList(u"Numbers", u"Twelve", u';', pieces), 1u);
  EXPECT_EQ(pieces, (std::vector<WString>{u"12"}));
  EXPECT_EQ(reader_.GetList(u"Numbers", u"Missing", u',', pieces), 0u);
  EXPECT_TRUE(pieces.empty());
}

TEST_F(SectionedTextReaderTest, GetRectReadsFourTokens) {
  std::string bytes = "[S]\nFull=1, 2,3 4\nShort=5\nSigns=-1,,+2  x9\nEmpty=\nOverflow=1,2,3,4,5\n";
  // Values of 99 and 100 characters; blanks around the value do not count.
  bytes += "Long99=  1" + std::string(92, ' ') + ",2,3,4  \n";
  bytes += "Long100=1" + std::string(93, ' ') + ",2,3,4\n";
  Load(bytes);
  struct Case {
    const char16_t* key;
    bool ok;
    SectionedTextReader::Rect rect;
  } cases[] = {
      {u"Full", true, {1, 2, 3, 4}},  {u"Short", true, {5, 0, 0, 0}},
      {u"Signs", true, {-1, 2, 0, 0}}, {u"Empty", false, {}},
      {u"Missing", false, {}},         {u"Overflow", true, {1, 2, 3, 4}},
      {u"Long99", true, {1, 2, 3, 4}}, {u"Long100", false, {}},
  };
  for (const auto& c : cases) {
    SectionedTextReader::Rect rect{9, 9, 9, 9};
    EXPECT_EQ(reader_.GetRect(u"S", c.key, rect), c.ok) << platform::ToUtf8(c.key);
    EXPECT_EQ(rect, c.rect) << platform::ToUtf8(c.key);
  }
}

TEST(SectionedTextReaderParseRgb, TokensAreCutToEightBits) {
  struct Case {
    const char16_t* text;
    bool ok;
    uint32_t colour;
  } cases[] = {
      {u"255,128,1", true, 0x0180FF}, {u"1, 2 ,,3", true, 0x030201},
      {u"256,0,0", true, 0x000000},   {u"-1", true, 0x0000FF},
      {u"10 20", true, 0x00140A},     {u"1,2,3,4", true, 0x030201},
      {u" ", true, 0},                {u"", false, 0xDEAD},
  };
  for (const auto& c : cases) {
    SectionedTextReader::Colour colour = 0xDEAD;
    EXPECT_EQ(SectionedTextReader::ParseRgb(c.text, colour), c.ok) << platform::ToUtf8(c.text);
    EXPECT_EQ(colour, c.colour) << platform::ToUtf8(c.text);
  }
}

TEST_F(SectionedTextReaderTest, GetStringIntoCopiesOnlyWhatFits) {
  Load("[S]\nFive=12345\n");
  struct Case {
    const char16_t* key;
    const char16_t* defaultValue;
    size_t capacity;
    bool result;
    const char16_t* buffer;  // what the buffer holds after the call
  } cases[] = {
      {u"Five", u"d", 6, true, u"12345"},
      // A value that does not fit counts as absent: the default goes in.
      {u"Five", u"d", 5, false, u"d"},
      {u"Missing", u"dflt", 5, false, u"dflt"},
      // Neither fits: the buffer is untouched.
      {u"Missing", u"dflt", 4, false, u"####"},
      {u"Five", u"dflt", 4, false, u"####"},
  };
  for (const auto& c : cases) {
    // Guard characters after the capacity must survive.
    std::u16string buffer(c.capacity + 2, u'#');
    EXPECT_EQ(reader_.GetStringInto(u"S", c.key, c.defaultValue,
                                    std::span<char16_t>(buffer.data(), c.capacity)),
              c.result)
        << platform::ToUtf8(c.key) << " " << c.capacity;
    const size_t end = buffer.find(u'\0');
    EXPECT_EQ(buffer.substr(0, end == std::u16string::npos ? c.capacity : end), c.buffer);
    EXPECT_EQ(buffer.substr(c.capacity), u"##");
  }
}

TEST_F(SectionedTextReaderTest, AMissingFileFailsEveryLookup) {
  EXPECT_FALSE(reader_.Open(u"\\Windows\\absent.ini"));
  EXPECT_FALSE(reader_.IsOpen());
  WString out = u"kept";
  EXPECT_FALSE(reader_.GetString(u"S", u"K", out, u"default"));
  EXPECT_EQ(out, u"kept");
  EXPECT_EQ(reader_.GetInt(u"S", u"K", 42), 42);
  std::vector<WString> names;
  EXPECT_EQ(reader_.ListSections(names), 0u);
  char16_t buffer[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_FALSE(reader_.GetStringInto(u"S", u"K", u"d", buffer));
  EXPECT_EQ(buffer[0], u'#');
  SectionedTextReader::Rect rect{1, 1, 1, 1};
  EXPECT_FALSE(reader_.GetRect(u"S", u"K", rect));
  EXPECT_EQ(rect, SectionedTextReader::Rect{});
}

TEST_F(SectionedTextReaderTest, ReopeningForgetsTheIndexAndOthersMayWrite) {
  LoadFixture();
  std::vector<WString> names;
  ASSERT_EQ(reader_.ListSections(names), 7u);
  // The reader shares the file with writers.
  platform::File writer;
  ASSERT_EQ(writer.Open(kPath, platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                        platform::CreationDisposition::OpenExisting),
            platform::kErrorSuccess);
  writer.Close();

  device_.WriteFile("Windows/other.ini", "[Only]\nK=v\n");
  ASSERT_TRUE(reader_.Open(u"\\Windows\\OTHER.INI"));
  EXPECT_EQ(reader_.Path(), u"\\Windows\\OTHER.INI");
  names.clear();
  EXPECT_EQ(reader_.ListSections(names), 1u);
  EXPECT_EQ(Get(u"Only", u"k"), u"v");
  reader_.Close();
  EXPECT_FALSE(reader_.IsOpen());
  EXPECT_EQ(Get(u"Only", u"K"), u"<untouched>");
}

TEST(SectionedTextReaderKeys, KeysEqualIgnoresLetterCaseOnly) {
  EXPECT_TRUE(SectionedTextReader::KeysEqual(u"Trigger", u"TRIGGER"));
  EXPECT_TRUE(SectionedTextReader::KeysEqual(u".bmp", u".BMP"));
  EXPECT_TRUE(SectionedTextReader::KeysEqual(u"\u00e9t\u00e9", u"\u00c9T\u00c9"));
  EXPECT_FALSE(SectionedTextReader::KeysEqual(u"Key", u"Key "));
  EXPECT_FALSE(SectionedTextReader::KeysEqual(u"Key", u"Kez"));
}

}  // namespace
}  // namespace applet
