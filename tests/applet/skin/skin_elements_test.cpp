#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "applet/skin/skin_action.h"
#include "applet/skin/skin_button_element.h"
#include "applet/skin/skin_description.h"
#include "applet/skin/skin_image_element.h"
#include "applet/skin/skin_multistate_element.h"
#include "applet/skin/skin_scene.h"
#include "applet/skin/skin_shape_elements.h"
#include "applet/skin/skin_text_element.h"
#include "base/clock.h"
#include "tests/applet/skin/picture_fixtures.h"
#include "tests/applet/skin/recording_owner.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;
using Posted = std::vector<std::string>;

struct Colour {
  uint8_t r, g, b;
  bool operator==(const Colour&) const = default;
};

// A 24-bit picture of bands of 4 rows: red, green, blue from the top.
std::string StateBands() {
  skin_test::BmpSpec spec;
  spec.width = 4;
  spec.height = -12;
  spec.bitCount = 24;
  const std::vector<uint8_t> colours[] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};  // blue, green, red bytes
  for (int y = 0; y < 12; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < 4; ++x) row.insert(row.end(), colours[y / 4].begin(), colours[y / 4].end());
    spec.rows.push_back(row);
  }
  return skin_test::MakeBmp(spec);
}

// A 32-bit slider picture 20 wide: grey background rows 0-129, a red
// cursor in rows 130-139.
std::string SliderPicture() {
  skin_test::PngSpec spec;
  spec.width = 20;
  spec.height = 140;
  spec.colourType = PNG_COLOR_TYPE_RGBA;
  for (int y = 0; y < 140; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < 20; ++x) {
      const bool cursor = y >= 130;
      row.insert(row.end(), {static_cast<uint8_t>(cursor ? 255 : 128), static_cast<uint8_t>(cursor ? 0 : 128),
                             static_cast<uint8_t>(cursor ? 0 : 128), 255});
    }
    spec.rows.push_back(row);
  }
  return skin_test::MakePng(spec);
}

class SkinElementsTest : public ::testing::Test {
 protected:
  void SetUp() override { SkinDescription::ResetStickyColours(); }
  void TearDown() override { SkinDescription::ResetStickyColours(); }

  void Load(std::string_view description) {
    device_.WriteFile("Skins/states.bmp", StateBands());
    device_.WriteFile("Skins/slider.png", SliderPicture());
    device_.WriteFile("Skins/test.inf", description);
    owner_.scene = &scene_;
    ASSERT_EQ(scene_.Load(u"\\Skins\\", u"test.inf", &owner_), SkinDib::kOk);
  }
  SkinElement& Element(const char16_t* name) {
    SkinElement* e = scene_.FindElement(name);
    EXPECT_NE(e, nullptr) << platform::ToUtf8(name);
    return *e;
  }
  Colour Pixel(int x, int y) const {
    const uint8_t* p = scene_.WindowPicture().Row(y) + 3 * x;
    return {p[2], p[1], p[0]};
  }

  test_support::TempDevice device_;
  skin_test::RecordingOwner owner_;
  SkinScene scene_;
};

// A character action is written inside double quotes in a description,
// since the reader takes one pair of enclosing quotes off any value.
TEST(SkinActionTest, ActionsAreClassifiedWhenTheyFire) {
  struct Case {
    const char16_t* action;
    Posted posted;
  };
  const Case cases[] = {
      {u"'a'", {"character a"}},
      {u"'b'tail", {"character b"}},
      {u"12", {"command 12"}},
      {u"", {"command 0"}},
      {u"Word", {"text Word"}},
      {u"'a", {"text 'a"}},
      {u"-3", {"text -3"}},
  };
  for (const Case& c : cases) {
    skin_test::RecordingOwner owner;
    PostSkinAction(&owner, c.action);
    EXPECT_EQ(owner.posted, c.posted) << platform::ToUtf8(c.action);
  }
  PostSkinAction(nullptr, u"12");  // no owner, no notice
}

TEST_F(SkinElementsTest, AHeldButtonRepeatsItsActionListEveryDelay) {
  Load("[Keys]\ntype=button\nFile=states.bmp\nSize=4,4\nPos=0,0\nAction=(a),(b),(c)\nTrigger=DOWN\n");
  SkinElement& keys = Element(u"Keys");
  keys.PenDown(0, 1, 1);
  // Held for 1.2 s: the delay runs out twice.
  EXPECT_TRUE(owner_.ExpireDelay());
  EXPECT_TRUE(owner_.ExpireDelay());
  keys.PenUp(0, 1, 1);
  EXPECT_EQ(owner_.posted, (Posted{"character a", "command 2028", "character b", "command 2028", "character c"}));
  EXPECT_FALSE(owner_.HasPendingDelay());
  EXPECT_EQ(keys.GetState(), SkinButtonElement::kUp);
}

TEST_F(SkinElementsTest, AButtonFiringOnReleaseFiresOnlyWhenReleasedOverIt) {
  Load("[Five]\ntype=button\nFile=states.bmp\nSize=4,4\nPos=2,2\nAction=5\nToolTip=Five\n");
  SkinElement& five = Element(u"Five");
  owner_.Tap(five, 3, 3);
  EXPECT_EQ(owner_.posted, Posted{"command 5"});

  owner_.posted.clear();
  five.PenDown(0, 3, 3);
  EXPECT_TRUE(owner_.HasPendingDelay());
  five.PenMove(0, 20, 20);
  EXPECT_FALSE(owner_.HasPendingDelay());
  EXPECT_EQ(five.GetState(), SkinButtonElement::kUp);
  five.PenUp(0, 20, 20);
  EXPECT_TRUE(owner_.posted.empty());

  // Held still, it shows its tooltip at its corner.
  five.PenDown(0, 3, 3);
  owner_.ExpireDelay();
  EXPECT_EQ(owner_.calls.back(), "tooltip Five at 2,2");
  five.PenUp(0, 3, 3);
  EXPECT_EQ(owner_.calls.back(), "hide");
}

TEST_F(SkinElementsTest, ButtonStatesShowTheirPicturesOrTheUpPicture) {
  Load(
      "[Whole]\ntype=button\nFile=states.bmp\nSize=4,4\nPos=0,0\nUp=0,0\nDown=0,4\nDisabled=0,8\n"
      "[Partial]\ntype=button\nFile=states.bmp\nSize=4,4\nPos=10,0\nUp=0,4\nDown=0,10\n");
  EXPECT_EQ(Pixel(1, 1), (Colour{255, 0, 0}));
  Element(u"Whole").PenDown(0, 1, 1);
  EXPECT_EQ(Pixel(1, 1), (Colour{0, 255, 0}));
  Element(u"Whole").PenUp(0, 1, 1);
  Element(u"Whole").SetEnabled(false);
  EXPECT_EQ(Pixel(1, 1), (Colour{0, 0, 255}));
  Element(u"Whole").PenDown(0, 1, 1);  // a disabled button takes no press
  EXPECT_EQ(Element(u"Whole").GetState(), SkinButtonElement::kDisabled);

  // The down picture would reach past the file's bottom: the up picture shows.
  Element(u"Partial").PenDown(0, 11, 1);
  EXPECT_EQ(Element(u"Partial").GetState(), SkinButtonElement::kDown);
  EXPECT_EQ(Pixel(11, 1), (Colour{0, 255, 0}));
}

TEST_F(SkinElementsTest, ASwitchTogglesWithEachTapAndKeepsItsStateWhenDraggedOff) {
  Load("[Wifi]\ntype=switch\nFile=states.bmp\nSize=4,4\nDown=0,4\nAction=Wifi toggled\nTrigger=DOWN\n");
  SkinElement& wifi = Element(u"Wifi");
  owner_.Tap(wifi, 1, 1);
  EXPECT_EQ(wifi.GetState(), 1);
  owner_.Tap(wifi, 1, 1);
  EXPECT_EQ(wifi.GetState(), 0);
  EXPECT_EQ(owner_.posted, (Posted{"text Wifi toggled", "text Wifi toggled"}));

  owner_.Tap(wifi, 1, 1);
  wifi.PenDown(0, 1, 1);
  wifi.PenMove(0, 30, 30);
  wifi.PenUp(0, 30, 30);
  EXPECT_EQ(wifi.GetState(), 1);
  EXPECT_EQ(owner_.posted.size(), 3u);
  wifi.SetState(0);
  EXPECT_EQ(Pixel(1, 1), (Colour{255, 0, 0}));
}

// A multistate section with 120 states of one picture.
std::string ManyStates() {
  std::string section = "[Many]\ntype=multistate\nFile=states.bmp\nSize=1,1\nPos=100,100\n";
  for (int i = 1; i <= 120; ++i) section += "state" + std::to_string(i) + "=0,0\n";
  return section;
}

TEST_F(SkinElementsTest, MultistateStatesFollowThePercentAndPostTheirCommand) {
  Load(std::string(
      "[Signal]\ntype=multistate\nFile=states.bmp\nSize=4,2\nPos=0,0\nAction=77\n"
      "state1=0,0\nstate2=0,2\nstate3=0,4\nstate4=0,6\nstate5=0,8\n"
      "[Gappy]\ntype=multistate\nFile=states.bmp\nSize=4,4\nstate1=0,0\nstate3=0,4\n"
      "[Outside]\ntype=multistate\nFile=states.bmp\nSize=4,4\nstate1=0,10\nstate2=0,4\n") +
       ManyStates());
  SkinElement& signal = Element(u"Signal");
  signal.SetPercent(60);  // step 25: (60 + 12) / 25 = 2
  EXPECT_EQ(signal.GetState(), 2);
  EXPECT_EQ(signal.GetPercent(), 60);
  EXPECT_EQ(Pixel(0, 0), (Colour{0, 255, 0}));  // rows 4-5 of the picture
  signal.SetState(9);
  EXPECT_EQ(signal.GetState(), 2);
  signal.SetState(-1);
  EXPECT_EQ(signal.GetState(), 2);

  signal.PenDown(0, 1, 1);
  signal.PenUp(0, 50, 50);  // wherever the pen is lifted
  signal.SetEnabled(false);
  owner_.Tap(signal, 1, 1);
  EXPECT_EQ(owner_.posted, Posted{"command 77"});

  EXPECT_EQ(static_cast<SkinMultistateElement&>(Element(u"Gappy")).StateCount(), 1u);
  EXPECT_EQ(static_cast<SkinMultistateElement&>(Element(u"Many")).StateCount(), 120u);
  Element(u"Many").SetPercent(50);  // more states than percent steps
  EXPECT_EQ(Element(u"Many").GetState(), 50);
  EXPECT_EQ(static_cast<SkinMultistateElement&>(Element(u"Outside")).StateCount(), 1u);
}

TEST_F(SkinElementsTest, ASliderMapsThePensHeightToItsValue) {
  Load(
      "[Volume]\ntype=slider\nFile=slider.png\nbackground=0,0,20,130\npos=0,0\nSize=20,10\nCursor=0,130\n"
      "start=0,10\nEnd=0,110\nAction=42\n");
  auto& volume = static_cast<SkinSliderElement&>(Element(u"Volume"));
  EXPECT_EQ(volume.GetValue(), 0);
  EXPECT_EQ(Pixel(5, 12), (Colour{255, 0, 0}));  // the cursor at the start
  EXPECT_EQ(Pixel(5, 5), (Colour{128, 128, 128}));

  // Taken by the cursor's top edge and dragged down 50 pixels: the step is
  // one pixel, half a step nothing, and (60 - 10) * 100 / 100 = 50.
  volume.PenDown(0, 5, 10);
  volume.PenMove(0, 5, 60);
  EXPECT_EQ(volume.GetValue(), 50);
  EXPECT_EQ(Pixel(5, 62), (Colour{255, 0, 0}));
  EXPECT_EQ(Pixel(5, 12), (Colour{128, 128, 128}));
  volume.PenMove(0, 5, 500);
  EXPECT_EQ(volume.GetValue(), 100);
  volume.PenUp(0, 5, 500);
  EXPECT_EQ(owner_.posted, Posted{"command 42"});
  volume.Tick();
  EXPECT_EQ(owner_.posted.size(), 1u);

  volume.SetPercent(25);
  EXPECT_EQ(volume.GetValue(), 25);
  volume.Tick();  // a value set without a drag is posted on the next tick
  EXPECT_EQ(owner_.posted.size(), 2u);
  EXPECT_EQ(volume.SetRange(10, 20), 1);
  EXPECT_EQ(volume.GetValue(), 10);
  volume.SetValue(99);
  EXPECT_EQ(volume.GetValue(), 20);
  EXPECT_EQ(volume.GetPercent(), 100);
  EXPECT_EQ(volume.SetRange(7, 7), 0);  // a range without width is refused
  EXPECT_EQ(volume.GetValue(), 20);
  volume.SetEnabled(false);
  volume.PenDown(0, 5, 100);
  EXPECT_EQ(owner_.CapturedElement(), nullptr);
}

TEST_F(SkinElementsTest, TextTakesTheBigFontOnlyWhenTheTextFitsWithIt) {
  Load(
      "[StandardFont]\ntype=Font\nfont size=8\n"
      "[Huge]\ntype=Font\nfont size=40\n"
      "[Low]\ntype=text\nWindow=0,0,200,20\nBigFont=Huge\ntext=Hello\nTextColor=0,0,255\n"
      "[Tall]\ntype=text\nWindow=0,30,200,130\nBigFont=Huge\ntext=Hello\n");
  auto& low = static_cast<SkinTextElement&>(Element(u"Low"));
  auto& tall = static_cast<SkinTextElement&>(Element(u"Tall"));
  const SkinFont& standard = scene_.FindFont(u"StandardFont");
  const SkinFont& huge = scene_.FindFont(u"Huge");
  EXPECT_EQ(low.Extent(), standard.Measure(u"Hello"));
  EXPECT_EQ(tall.Extent(), huge.Measure(u"Hello"));
  // The text colour sticks to the later section.
  EXPECT_EQ(tall.CurrentColour(), SkinRgb(0, 0, 255));

  // Hits count only on the drawn text.
  EXPECT_TRUE(low.HitTest(1, 1));
  EXPECT_FALSE(low.HitTest(low.Extent().width + 1, 1));
  char16_t buffer[6];
  EXPECT_EQ(low.GetText(buffer), 1);
  EXPECT_EQ(WString(buffer), u"Hello");
  char16_t small[5];
  EXPECT_EQ(low.GetText(small), 0);

  owner_.calls.clear();
  low.SetText(u"Hello");
  EXPECT_TRUE(owner_.calls.empty());  // the same text: nothing to do
  low.SetText(u"Hi");
  EXPECT_EQ(owner_.calls, std::vector<std::string>{"redraw 0,0,200,20"});
  low.SetEnabled(false);
  EXPECT_EQ(low.CurrentColour(), SkinRgb(128, 128, 128));
}

TEST_F(SkinElementsTest, AnEditBoxIgnoresWhatNoLongerFitsButStillRedraws) {
  Load("[Pin]\ntype=edit\nWindow=0,0,30,14\nstyle=4\n");
  auto& pin = static_cast<SkinEditElement&>(Element(u"Pin"));
  EXPECT_EQ(pin.Style(), 4);
  size_t redraws = 0;
  for (int i = 0; i < 20; ++i) {
    pin.InsertCharacter(u'8');
    ++redraws;
  }
  const WString full = pin.Text();
  EXPECT_GT(full.size(), 1u);
  EXPECT_LT(full.size(), 20u);
  EXPECT_EQ(pin.Caret(), full.size());
  EXPECT_EQ(std::count_if(owner_.calls.begin(), owner_.calls.end(),
                          [](const std::string& c) { return c.starts_with("redraw"); }),
            static_cast<long>(redraws));
  pin.Backspace();
  EXPECT_EQ(pin.Text(), full.substr(0, full.size() - 1));
}

TEST_F(SkinElementsTest, ALinkFiresOnlyWhenReleasedWhilePressed) {
  Load("[More]\ntype=link\nWindow=0,0,100,20\ntext=More\nTextColor=0,0,0\nTextColorDown=255,0,0\nAction=\"'m'\"\n");
  auto& more = static_cast<SkinLinkElement&>(Element(u"More"));
  more.PenDown(0, 1, 1);
  EXPECT_EQ(more.GetState(), SkinLinkElement::kPressed);
  EXPECT_EQ(more.CurrentColour(), SkinRgb(255, 0, 0));
  more.PenMove(0, 150, 50);
  EXPECT_EQ(more.GetState(), SkinLinkElement::kNormal);
  EXPECT_EQ(more.CurrentColour(), SkinRgb(0, 0, 0));
  more.PenUp(0, 150, 50);
  EXPECT_TRUE(owner_.posted.empty());
  owner_.Tap(more, 1, 1);
  EXPECT_EQ(owner_.posted, Posted{"character m"});
  more.SetEnabled(false);
  more.PenDown(0, 1, 1);
  EXPECT_EQ(more.GetState(), SkinLinkElement::kDisabled);
}

TEST_F(SkinElementsTest, AChronoShowsTheTimeSinceItsStart) {
  platform::ManualClock clock;
  platform::ScopedClock scoped(clock);
  Load("[Call]\ntype=chrono\nWindow=0,0,100,20\n");
  SkinElement& call = Element(u"Call");
  call.Tick();
  EXPECT_EQ(call.Text(), u"");
  call.Start();
  EXPECT_EQ(call.Text(), u"00:00:00");
  clock.Advance(3661 * 1000);
  call.Tick();
  EXPECT_EQ(call.Text(), u"01:01:01");
  clock.Advance(1000);
  call.Stop();
  EXPECT_EQ(call.Text(), u"01:01:02");
  clock.Advance(5000);
  call.Tick();
  EXPECT_EQ(call.Text(), u"01:01:02");
}

TEST_F(SkinElementsTest, AMultiLineShowsItsTwoPartsAndWhatIsTyped) {
  Load("[Note]\ntype=MultiLine\nWindow=0,0,200,60\nstyle=1\n");
  auto& note = static_cast<SkinMultiLineElement&>(Element(u"Note"));
  EXPECT_EQ(note.Format(), 1u);
  note.SetTextPart(u"first", 1);
  note.SetTextPart(u"second", 2);
  EXPECT_EQ(note.Text(), u"first\nsecond");
  EXPECT_EQ(note.Format(), 1u | text_format::kWordBreak);
  note.InsertCharacter(u'o');
  note.InsertCharacter(u'k');
  EXPECT_EQ(note.Text(), u"ok");
  EXPECT_EQ(note.Format(), 1u);
  note.Backspace();
  char16_t buffer[8];
  EXPECT_EQ(note.GetText(buffer), 1);
  EXPECT_EQ(WString(buffer), u"o");
  note.SetText(u"plain");
  EXPECT_EQ(note.Text(), u"plain");
}

TEST_F(SkinElementsTest, GradientHalvesAndDualGradientRowsFireTheirOwnActions) {
  Load(
      "[Bar]\ntype=GradientRect\nRect=0,0,100,10\nLeftAction=Back\n"
      "[Dual]\ntype=DualGradientRect\nRect=0,20,100,40\nAction=7\nIntRightAction=Inner right\nTrigger=DOWN\n");
  SkinElement& bar = Element(u"Bar");
  owner_.Tap(bar, 10, 5);
  owner_.Tap(bar, 50, 5);  // the middle belongs to the right half
  bar.SecondaryPress(10, 5);
  EXPECT_EQ(owner_.posted, (Posted{"text Back", "text Bar", "secondary Back"}));

  owner_.posted.clear();
  SkinElement& dual = Element(u"Dual");
  for (int y : {20, 21, 22, 23, 24}) {
    dual.PenDown(0, 90, y);
    dual.PenUp(0, 90, y);
  }
  dual.PenDown(0, 10, 22);
  dual.PenUp(0, 10, 22);
  // Outer rows post the element's action as text too.
  EXPECT_EQ(owner_.posted, (Posted{"text 7", "text 7", "text Inner right", "text Inner right", "text 7", "text 7"}));
  EXPECT_EQ(Pixel(0, 20), (Colour{0, 53, 196}));
}

TEST_F(SkinElementsTest, LinesAreHitWithinAPixelOfTheirBox) {
  Load("[Rule]\ntype=Line\nStart=10,5\nEnd=30,5\nColor=255,0,0\nWidth=1\n");
  SkinElement& rule = Element(u"Rule");
  EXPECT_TRUE(rule.HitTest(9, 4));
  EXPECT_TRUE(rule.HitTest(31, 6));
  EXPECT_FALSE(rule.HitTest(32, 5));
  EXPECT_FALSE(rule.HitTest(20, 7));
  EXPECT_EQ(Pixel(20, 5), (Colour{255, 0, 0}));
  rule.SetVisible(false);
  EXPECT_EQ(owner_.calls.back(), "redraw 9,4,32,7");
}

TEST_F(SkinElementsTest, TheOwnerMayRewriteEveryTextAsItIsRead) {
  owner_.rewriteText = [](WString& text) {
    if (text == u"#title") text = u"Settings";
  };
  Load("[Title]\ntype=text\nWindow=0,0,100,20\ntext=#title\n[Other]\ntype=Rect\ntext=kept\n");
  EXPECT_EQ(Element(u"Title").Text(), u"Settings");
  EXPECT_EQ(Element(u"Other").Text(), u"kept");
}

TEST_F(SkinElementsTest, AnImageWindowReachingOutsideItsPictureIsRepeated) {
  Load(
      "[Stripe]\ntype=image\nFile=states.bmp\nWindow=0,6,4,18\npos=0,0\n"
      "[Inside]\ntype=image\nFile=states.bmp\nWindow=0,8,4,12\npos=10,0\n"
      "[Away]\ntype=image\nFile=states.bmp\nWindow=10,10,20,20\npos=20,0\n");
  const auto& stripe = static_cast<SkinImageElement&>(Element(u"Stripe"));
  EXPECT_EQ(stripe.Rect(), (platform::Rect{0, 0, 4, 12}));
  EXPECT_EQ(stripe.Picture().BitCount(), 24);
  EXPECT_EQ(stripe.Picture().Height(), 12);
  // Rows 6-11 of the file (green, green, blue x 4), then again.
  const Colour expected[] = {{0, 255, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255},
                             {0, 255, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int y = 0; y < 9; ++y) EXPECT_EQ(Pixel(1, y), expected[y]) << y;
  EXPECT_EQ(static_cast<SkinImageElement&>(Element(u"Inside")).Picture().Height(), 4);
  EXPECT_TRUE(static_cast<SkinImageElement&>(Element(u"Away")).Picture().IsEmpty());
  EXPECT_EQ(Pixel(21, 1), (Colour{255, 255, 255}));
}

TEST_F(SkinElementsTest, CommonKeysAndTheBasePress) {
  Load(
      "[Hidden]\ntype=Rect\nRect=0,0,10,10\nshow=0   \nColor=255,0,0\n"
      "[Shown]\ntype=Rect\nRect=20,0,30,10\nshow=-1\nParam=p\nGroup=3\nAction=9\nTrigger=down\n");
  EXPECT_FALSE(Element(u"Hidden").IsVisible());
  EXPECT_EQ(Pixel(5, 5), (Colour{255, 255, 255}));
  SkinElement& shown = Element(u"Shown");
  EXPECT_TRUE(shown.IsVisible());
  EXPECT_EQ(shown.Param(), u"p");
  EXPECT_EQ(shown.Group(), 3);
  EXPECT_FALSE(shown.FiresOnRelease());
  EXPECT_EQ(Pixel(25, 5), (Colour{128, 128, 128}));
  owner_.Tap(shown, 25, 5);
  EXPECT_EQ(owner_.posted, Posted{"command 9"});
  EXPECT_EQ(owner_.calls, (std::vector<std::string>{"capture Shown", "release", "hide"}));
}

}  // namespace
}  // namespace applet
