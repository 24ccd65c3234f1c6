#include "applet/skin/skin_description.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/skin/skin_section_type.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;

// Remembers every remark of a load as "section/key: message".
class RecordingDiagnostics : public SkinDiagnostics {
 public:
  void Note(platform::WStringView section, platform::WStringView key,
            platform::WStringView message) override {
    notes.push_back(WString(section) + u"/" + WString(key) + u": " + WString(message));
  }
  std::vector<WString> notes;
};

class SkinDescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override { SkinDescription::ResetStickyColours(); }
  void TearDown() override { SkinDescription::ResetStickyColours(); }

  SkinDescription& Load(std::string_view text, SkinDescription& d) {
    device_.WriteFile("Skins/test.inf", text);
    EXPECT_TRUE(d.Open(u"\\Skins\\", u"test.inf"));
    d.SetDiagnostics(&diagnostics_);
    return d;
  }

  test_support::TempDevice device_;
  RecordingDiagnostics diagnostics_;
  SkinDescription description_;
};

TEST(SkinValuesTest, PairsAndRectanglesTakeSignedTokensBetweenCommasAndBlanks) {
  struct Case {
    const char16_t* text;
    bool ok;
    SkinRect rect;
  };
  const Case cases[] = {
      {u"1, 2, 3, 4", true, {1, 2, 3, 4}},
      {u"  5,,  7xyz ,-9", true, {5, 7, -9, 0}},
      {u"-3", true, {-3, 0, 0, 0}},
      {u"a,b,c,d", true, {0, 0, 0, 0}},
      {u"", false, {}},
  };
  for (const Case& c : cases) {
    SkinRect rect{9, 9, 9, 9};
    EXPECT_EQ(ParseSkinRect(c.text, rect), c.ok) << platform::ToUtf8(c.text);
    EXPECT_EQ(rect, c.rect) << platform::ToUtf8(c.text);
    SkinPoint point{9, 9};
    EXPECT_EQ(ParseSkinPair(c.text, point), c.ok);
    EXPECT_EQ(point, (SkinPoint{c.rect.left, c.rect.top}));
  }
  // 99 characters are a value, 100 count as absent.
  WString longest = u"1, 2" + WString(95, u' ');
  SkinPoint point;
  EXPECT_TRUE(ParseSkinPair(longest, point));
  EXPECT_EQ(point, (SkinPoint{1, 2}));
  EXPECT_FALSE(ParseSkinPair(longest + u" ", point));
  EXPECT_EQ(point, SkinPoint{});
}

TEST(SkinValuesTest, ColoursKeepTheLowEightBitsOfEachChannel) {
  struct Case {
    const char16_t* text;
    SkinColour colour;
  };
  const Case cases[] = {
      {u"255", SkinRgb(255, 0, 0)},
      {u"256, 1, 1", SkinRgb(0, 1, 1)},
      {u"10 20 30", SkinRgb(10, 20, 30)},
      {u"-1,0,0", SkinRgb(255, 0, 0)},
  };
  for (const Case& c : cases) {
    SkinColour colour = 0x123456;
    EXPECT_TRUE(ParseSkinColour(c.text, colour));
    EXPECT_EQ(colour, c.colour) << platform::ToUtf8(c.text);
  }
  SkinColour untouched = 0x123456;
  EXPECT_FALSE(ParseSkinColour(u"", untouched));
  EXPECT_EQ(untouched, 0x123456u);
}

TEST(SkinValuesTest, TextFormatsOrTheUpperCaseNamesBetweenAnySeparators) {
  struct Case {
    const char16_t* text;
    uint32_t flags;
  };
  const Case cases[] = {
      {u"CENTER|VCENTER+SINGLELINE", 0x25},
      {u"center|vcenter+singleline", 0},
      {u"RIGHT & BOTTOM,,WORDBREAK", 0x1A},
      {u"LEFT TOP NOPREFIX EXTERNALLEADING", 0xA00},
      {u"CENTER|BOGUS", 0x01},
      {u"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseTextFormat(c.text), c.flags) << platform::ToUtf8(c.text);

  std::vector<WString> unknown;
  ParseTextFormat(u"CENTER|Bogus|right", &unknown);
  EXPECT_EQ(unknown, (std::vector<WString>{u"Bogus", u"right"}));
  // 255 characters are read, 256 are not.
  WString format = u"CENTER" + WString(249, u'|');
  EXPECT_EQ(ParseTextFormat(format), 0x01u);
  EXPECT_EQ(ParseTextFormat(format + u"|"), 0u);
}

TEST(SkinSectionTypeTest, TypeNamesGiveTheirKindCodes) {
  struct Case {
    const char16_t* name;
    SkinSectionType type;
    int32_t kind;
  };
  const Case cases[] = {
      {u"image", SkinSectionType::Image, 9},
      {u"button", SkinSectionType::Button, 1},
      {u"switch", SkinSectionType::Switch, 17},
      {u"multistate", SkinSectionType::Multistate, 13},
      {u"slider", SkinSectionType::Slider, 16},
      {u"text", SkinSectionType::Text, 18},
      {u"link", SkinSectionType::Link, 11},
      {u"chrono", SkinSectionType::Chrono, 2},
      {u"edit", SkinSectionType::Edit, 3},
      {u"MultiLine", SkinSectionType::MultiLine, 10},
      {u"Line", SkinSectionType::Line, 10},
      {u"Rect", SkinSectionType::Rect, 14},
      {u"GradientRect", SkinSectionType::GradientRect, 7},
      {u"DualGradientRect", SkinSectionType::DualGradientRect, 20},
      {u"FontGDI", SkinSectionType::FontGdi, 0},
      {u"Font", SkinSectionType::FontGdi, 0},
      {u"FontBitmap", SkinSectionType::FontBitmap, 0},
      // Type names compare as keys do: letter case does not matter.
      {u"BUTTON", SkinSectionType::Button, 1},
      {u"multiline", SkinSectionType::MultiLine, 10},
      {u"", SkinSectionType::None, 0},
      {u"picture", SkinSectionType::None, 0},
  };
  for (const Case& c : cases) {
    const SkinSectionType type = ParseSkinSectionType(c.name);
    EXPECT_EQ(type, c.type) << platform::ToUtf8(c.name);
    EXPECT_EQ(SkinKindCode(type), c.kind) << platform::ToUtf8(c.name);
  }
}

TEST(SkinPathTest, APathSplitsAtItsLastBackslash) {
  WString folder, file;
  EXPECT_TRUE(SplitSkinPath(u"\\Yvra ROM\\Skins\\VELMconfig.inf", folder, file));
  EXPECT_EQ(folder, u"\\Yvra ROM\\Skins\\");
  EXPECT_EQ(file, u"VELMconfig.inf");
  EXPECT_TRUE(SplitSkinPath(u"\\a.inf", folder, file));
  EXPECT_EQ(folder, u"\\");
  EXPECT_FALSE(SplitSkinPath(u"VELMconfig.inf", folder, file));
  EXPECT_FALSE(SplitSkinPath(u"\\Skins\\", folder, file));
}

TEST_F(SkinDescriptionTest, WindowSizeNeedsTwoNonZeroNumbers) {
  struct Case {
    const char* text;
    SkinPoint size;
  };
  const Case cases[] = {
      {"[General]\nsize=320, 240\n", {320, 240}},
      {"[General]\nsize=0, 300\n", {240, 268}},
      {"[General]\nsize=\n", {240, 268}},
      {"[Other]\nsize=320,240\n", {240, 268}},
  };
  for (const Case& c : cases) {
    SkinDescription d;
    EXPECT_EQ(Load(c.text, d).WindowSize(), c.size) << c.text;
  }
}

TEST_F(SkinDescriptionTest, IntegersTakeOnlyDigitsAndReportTheRest) {
  Load(
      "[S]\n"
      "minus=-1\n"
      "letter=1x\n"
      "blanks=0   \n"
      "plain=42\n",
      description_);
  EXPECT_EQ(description_.Int(u"S", u"minus", 1), 1);
  EXPECT_EQ(description_.Int(u"S", u"letter", 1), 1);
  EXPECT_EQ(description_.Int(u"S", u"blanks", 1), 0);
  EXPECT_EQ(description_.Int(u"S", u"plain", 1), 42);
  EXPECT_EQ(description_.Int(u"S", u"absent", 7), 7);
  EXPECT_EQ(diagnostics_.notes, (std::vector<WString>{u"S/minus: not a whole number of digits 0-9",
                                                      u"S/letter: not a whole number of digits 0-9"}));
}

TEST_F(SkinDescriptionTest, PairsAndColoursFallBackToTheirDefaults) {
  Load(
      "[S]\n"
      "pos=\n"
      "Color=\n"
      "Format=CENTER|middle\n",
      description_);
  bool present = true;
  EXPECT_EQ(description_.Pair(u"S", u"pos", &present), SkinPoint{});
  EXPECT_FALSE(present);
  description_.Rect(u"S", u"absent", &present);
  EXPECT_FALSE(present);
  EXPECT_EQ(description_.Colour(u"S", u"Color", SkinRgb(1, 2, 3)), SkinRgb(1, 2, 3));
  EXPECT_EQ(description_.TextFormat(u"S", u"Format"), 1u);
  EXPECT_EQ(diagnostics_.notes,
            (std::vector<WString>{u"S/pos: empty or too long for a pair", u"S/Color: empty colour",
                                  u"S/Format: unknown text-format name middle"}));
}

TEST_F(SkinDescriptionTest, TextColoursStickToLaterSectionsAndLaterDescriptions) {
  Load(
      "[A]\n"
      "[B]\n"
      "TextColor=10,20,30\n"
      "TextColorDown=1,1,1\n"
      "[C]\n",
      description_);
  EXPECT_EQ(description_.StickyColour(u"A", u"TextColor"), 0u);
  EXPECT_EQ(description_.StickyColour(u"B", u"TextColor"), SkinRgb(10, 20, 30));
  EXPECT_EQ(description_.StickyColour(u"C", u"TextColor"), SkinRgb(10, 20, 30));
  EXPECT_EQ(description_.StickyColour(u"A", u"TextColorDown"), 0u);
  EXPECT_EQ(description_.StickyColour(u"B", u"TextColorDown"), SkinRgb(1, 1, 1));

  SkinDescription later;
  Load("[D]\n", later);
  EXPECT_EQ(later.StickyColour(u"D", u"TextColor"), SkinRgb(10, 20, 30));
  EXPECT_EQ(later.StickyColour(u"D", u"TextColorDown"), SkinRgb(1, 1, 1));
}

TEST_F(SkinDescriptionTest, PictureFilesComeFromTheFolderUnlessTheyNameAPath) {
  Load("[General]\n", description_);
  EXPECT_EQ(description_.PicturePath(u"up.gif"), u"\\Skins\\up.gif");
  EXPECT_EQ(description_.PicturePath(u"\\Windows\\up.gif"), u"\\Windows\\up.gif");
  EXPECT_EQ(description_.Sections(), std::vector<WString>{u"General"});
}

TEST_F(SkinDescriptionTest, AMissingFileHasNoSectionsAndTheDefaultSize) {
  SkinDescription d;
  EXPECT_FALSE(d.Open(u"\\Skins\\", u"missing.inf"));
  EXPECT_TRUE(d.Sections().empty());
  EXPECT_EQ(d.WindowSize(), SkinDescription::kDefaultSize);
  EXPECT_EQ(d.Folder(), u"\\Skins\\");
}

}  // namespace
}  // namespace applet
