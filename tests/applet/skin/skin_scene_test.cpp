#include "applet/skin/skin_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/skin/skin_text_element.h"
#include "platform/journal.h"
#include "tests/applet/skin/picture_fixtures.h"
#include "tests/applet/skin/recording_owner.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;

struct Colour {
  uint8_t r, g, b;
  bool operator==(const Colour&) const = default;
};

class RecordingDiagnostics : public SkinDiagnostics {
 public:
  void Note(platform::WStringView section, platform::WStringView key, platform::WStringView message) override {
    notes.push_back(platform::ToUtf8(section) + "/" + platform::ToUtf8(key) + ": " + platform::ToUtf8(message));
  }
  std::vector<std::string> notes;
};

class SkinSceneTest : public ::testing::Test {
 protected:
  void SetUp() override { SkinDescription::ResetStickyColours(); }

  int Load(std::string_view description, SkinDiagnostics* diagnostics = nullptr) {
    device_.WriteFile("Skins/test.inf", description);
    return scene_.Load(u"\\Skins\\", u"test.inf", &owner_, diagnostics);
  }
  Colour Pixel(int x, int y) const {
    const uint8_t* p = scene_.WindowPicture().Row(y) + 3 * x;
    return {p[2], p[1], p[0]};
  }

  test_support::TempDevice device_;
  skin_test::RecordingOwner owner_;
  SkinScene scene_;
};

TEST_F(SkinSceneTest, AMissingDescriptionGivesAnEmptyWhiteWindowOfTheDefaultSize) {
  EXPECT_EQ(scene_.Load(u"\\Skins\\", u"missing.inf", &owner_), SkinDib::kOk);
  EXPECT_TRUE(scene_.Elements().empty());
  EXPECT_EQ(scene_.WindowRect(), (platform::Rect{0, 0, 240, 268}));
  EXPECT_EQ(scene_.WindowPicture().BitCount(), 24);
  EXPECT_EQ(Pixel(239, 267), (Colour{255, 255, 255}));
  EXPECT_EQ(scene_.Folder(), u"\\Skins\\");
}

TEST_F(SkinSceneTest, SectionsMakeElementsAndFontsInFileOrderAndLaterOnesLieOnTop) {
  ASSERT_EQ(Load("[General]\nsize=40,30\n"
                 "[Under]\ntype=Rect\nRect=0,0,20,20\nColor=255,0,0\n"
                 "[Title Font]\ntype=Font\n"
                 "[Nothing]\ntype=Picture\nRect=0,0,40,30\n"
                 "[Untyped]\nRect=0,0,40,30\n"
                 "[Over]\ntype=Rect\nRect=10,10,30,30\nColor=0,0,255\n"
                 "[Hidden]\ntype=Rect\nRect=0,0,40,30\nshow=0\n"),
            SkinDib::kOk);
  EXPECT_EQ(scene_.WindowRect(), (platform::Rect{0, 0, 40, 30}));
  ASSERT_EQ(scene_.Elements().size(), 3u);
  EXPECT_EQ(scene_.Elements()[0]->Name(), u"Under");
  EXPECT_EQ(scene_.Elements()[1]->Name(), u"Over");
  ASSERT_EQ(scene_.Fonts().size(), 1u);
  EXPECT_EQ(&scene_.FindFont(u"Title Font"), scene_.Fonts()[0].get());
  EXPECT_EQ(&scene_.FindFont(u"title font"), &scene_.DefaultFont());  // names match exactly
  EXPECT_EQ(&scene_.FindFont(u""), &scene_.DefaultFont());

  EXPECT_EQ(Pixel(5, 5), (Colour{255, 0, 0}));
  EXPECT_EQ(Pixel(15, 15), (Colour{0, 0, 255}));
  EXPECT_EQ(Pixel(35, 5), (Colour{255, 255, 255}));
  // The pen goes to the topmost visible element.
  EXPECT_EQ(scene_.ElementAt(15, 15)->Name(), u"Over");
  EXPECT_EQ(scene_.ElementAt(5, 5)->Name(), u"Under");
  EXPECT_EQ(scene_.ElementAt(35, 5), nullptr);
  EXPECT_EQ(scene_.FindElement(u"Hidden")->Name(), u"Hidden");
  EXPECT_EQ(scene_.FindElement(u"Nothing"), nullptr);
}

TEST_F(SkinSceneTest, RedrawingAPartDrawsOnlyThere) {
  ASSERT_EQ(Load("[General]\nsize=20,10\n[Bar]\ntype=Rect\nRect=0,0,20,10\nColor=0,255,0\n"), SkinDib::kOk);
  std::fill(scene_.WindowPicture().Row(0), scene_.WindowPicture().Row(0) + 60, uint8_t{0});
  const platform::Rect part{5, 0, 8, 1};
  EXPECT_EQ(scene_.Redraw(&part), part);
  EXPECT_EQ(Pixel(5, 0), (Colour{0, 255, 0}));
  EXPECT_EQ(Pixel(8, 0), (Colour{0, 0, 0}));
  const platform::Rect outside{30, 0, 40, 5};
  EXPECT_TRUE(scene_.Redraw(&outside).IsEmpty());
}

TEST_F(SkinSceneTest, EachPictureFileIsReadOnceWhileADescriptionLoads) {
  skin_test::BmpSpec spec{2, 2, 24, 0, {}, 0, 0, {std::vector<uint8_t>(8, 0), std::vector<uint8_t>(8, 0)}};
  device_.WriteFile("Skins/shared.bmp", skin_test::MakeBmp(spec));
  ASSERT_EQ(Load("[A]\ntype=image\nFile=shared.bmp\nWindow=0,0,2,2\n"
                 "[B]\ntype=image\nFile=shared.bmp\nWindow=0,0,1,1\n"
                 "[C]\ntype=button\nFile=missing.gif\nSize=1,1\n"
                 "[D]\ntype=button\nFile=missing.gif\nSize=1,1\n"),
            SkinDib::kOk);
  EXPECT_EQ(scene_.PictureReads(), 2u);
}

TEST_F(SkinSceneTest, AFontNamedBeforeItsSectionIsTheDefaultFont) {
  RecordingDiagnostics diagnostics;
  ASSERT_EQ(Load("[Early]\ntype=text\nWindow=0,0,50,20\nfont=Late\n"
                 "[Late]\ntype=Font\n"
                 "[After]\ntype=text\nWindow=0,0,50,20\nfont=Late\n",
                 &diagnostics),
            SkinDib::kOk);
  const auto* early = static_cast<const SkinTextElement*>(scene_.FindElement(u"Early"));
  const auto* after = static_cast<const SkinTextElement*>(scene_.FindElement(u"After"));
  EXPECT_EQ(early->StandardFont(), &scene_.DefaultFont());
  EXPECT_EQ(after->StandardFont(), &scene_.FindFont(u"Late"));
  EXPECT_EQ(diagnostics.notes,
            std::vector<std::string>{
                "Early/font: no font Late is declared above this section; the default font is used"});
}

TEST_F(SkinSceneTest, AWindowPictureThatCannotBeMadeFailsTheLoad) {
  EXPECT_EQ(Load("[General]\nsize=100000,10\n"), SkinDib::kFailed);
  EXPECT_NE(device_.Device().Journal().Lines().back().find("cx=100000,cy=10,bitCount=24"), std::string::npos);
}

TEST_F(SkinSceneTest, ALoadReplacesEverythingOfThePreviousOne) {
  ASSERT_EQ(Load("[A]\ntype=Rect\nRect=0,0,5,5\n[F]\ntype=Font\n"), SkinDib::kOk);
  ASSERT_EQ(Load("[B]\ntype=Rect\nRect=0,0,5,5\n"), SkinDib::kOk);
  ASSERT_EQ(scene_.Elements().size(), 1u);
  EXPECT_EQ(scene_.Elements()[0]->Name(), u"B");
  EXPECT_TRUE(scene_.Fonts().empty());
  // The surface adds its tooltip on top and takes it off again.
  auto tooltip = std::make_unique<SkinTooltipElement>(u"tip");
  tooltip->Make({0, 0, 30, 12}, scene_.DefaultFont(), u"Hi", 0);
  SkinElement* added = tooltip.get();
  scene_.AddElement(std::move(tooltip));
  scene_.Redraw();
  EXPECT_EQ(Pixel(0, 0), (Colour{0, 0, 0}));       // the frame
  EXPECT_EQ(Pixel(29, 5), (Colour{0, 0, 0}));
  EXPECT_EQ(Pixel(1, 11 - 1), (Colour{255, 255, 255}));
  EXPECT_NE(scene_.RemoveElement(added), nullptr);
  EXPECT_EQ(scene_.Elements().size(), 1u);
}

}  // namespace
}  // namespace applet
