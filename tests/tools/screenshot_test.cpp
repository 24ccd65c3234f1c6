// The screen as the handheld shows it, compared with stored pictures: the
// gallery's page in portrait with a message box over it, and in landscape
// with the input panel up. A picture that differs is written next to the
// test's build folder for a look; when the look changed on purpose, the
// stored pictures are made again with
//
//   VELM_UPDATE_SCREENSHOTS=1 build/asan/tests/tools/screenshot_tests
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>

#include "platform/automation/automation.h"
#include "platform/automation/screen_renderer.h"
#include "platform/png_writer.h"
#include "platform/windows/message_box.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_messages.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"
#include "tools/handheld/gallery/gallery_page.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
namespace automation = platform::automation;
using window_test::StepsPerson;
using Steps = std::vector<std::function<void()>>;

// The RGB pixels of a PNG file, row after row; empty when it cannot be read.
std::vector<uint8_t> ReadPng(const fs::path& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

// Compares the screen with the stored picture, or stores it when asked to.
void ExpectScreen(const std::string& name) {
  ASSERT_TRUE(automation::Settle());
  const auto screen = RenderScreen();
  ASSERT_NE(screen, nullptr);
  const fs::path stored = fs::path(VELM_TEST_DATA_DIR) / "screens" / (name + ".png");
  if (std::getenv("VELM_UPDATE_SCREENSHOTS") != nullptr) {
    std::string why;
    ASSERT_TRUE(WritePng(*screen, stored, PngAlpha::Opaque, &why)) << why;
    return;
  }
  int width = 0, height = 0;
  const std::vector<uint8_t> expected = ReadPng(stored, &width, &height);
  ASSERT_FALSE(expected.empty()) << "no stored picture " << stored;
  const fs::path actual = fs::path(VELM_BINARY_DIR) / "tests" / (name + ".actual.png");
  bool same = width == screen->Width() && height == screen->Height();
  int differing = 0;
  for (int y = 0; same && y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &expected[(static_cast<size_t>(y) * width + x) * 3];
      if (screen->PixelColor(x, y) != Rgb(p[0], p[1], p[2])) ++differing;
    }
  }
  if (same && differing == 0) return;
  WritePng(*screen, actual, PngAlpha::Opaque);
  ADD_FAILURE() << name << ": " << differing << " pixels differ from " << stored << "; the screen is in " << actual
                << " (VELM_UPDATE_SCREENSHOTS=1 stores it when the look changed on purpose)";
}

class ScreenshotTest : public window_test::WindowTest {
 protected:
  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};
};

TEST_F(ScreenshotTest, TheGalleryPageAndAMessageBoxLookAsStored) {
  gallery::CGalleryPage page;
  Steps steps = {
      [&] {
        automation::Click(page.GetDlgItem(1031));
        automation::TypeText(u" Office");
        automation::Click(page.GetDlgItem(1062));
        automation::Click(page.GetDlgItem(1068));
      },
      [] { automation::Click(automation::FindControl(1300)); },
      [] {
        ExpectScreen("gallery_message_box");
        automation::Answer(IDNO);
      },
      [] {
        ExpectScreen("gallery_portrait");
        automation::Rotate(Orientation::Landscape);
        automation::RaisePanel(true);
      },
      [] {
        ExpectScreen("gallery_landscape_panel");
        automation::PressCancel();
      },
  };
  ScopedPerson person(std::make_shared<StepsPerson>(steps));
  EXPECT_EQ(page.DoModal(), IDCANCEL);
}

}  // namespace
