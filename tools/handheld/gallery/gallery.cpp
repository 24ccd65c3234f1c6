// gallery: a device program that shows a page with every standard control,
// on the applet's orientation-aware dialog, so that a person or a script
// (handheld run DEV \Windows\gallery.exe --script FILE --shots DIR) can try
// the window system of an emulated device: the page turns with the screen,
// scrolls under the input panel in landscape, "Message..." asks a question
// in a message box, "Busy..." starts and stops the busy indicator, and the
// address fields move on by themselves when full. Its exit code is the
// page's result: 1 for OK, 2 for Cancel, 3 when the page cannot be shown.
// With "/ask" it first asks whether to show the page at all: a message box
// to try the answer queue of a device without a screen.

#include <cstdio>
#include <cstring>

#include "applet/device/my_hour_glass.h"
#include "platform/resource_library.h"
#include "platform/windows/message_box.h"
#include "platform/windows/window_messages.h"
#include "tools/handheld/gallery/gallery_page.h"

namespace {

constexpr int kCannotShow = 3;
constexpr uint32_t kShowPageText = 102;
constexpr uint32_t kGalleryTitle = 101;

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf(
        "gallery: shows a page with every standard control on an emulated handheld.\n"
        "Run it on a device: handheld run DEV '\\Windows\\gallery.exe' [--script FILE --shots DIR] [-- /ask]\n"
        "/ask asks first, in a message box, whether to show the page: No ends at once.\n"
        "Exit code: 1 OK, 2 Cancel (or No), 3 the page cannot be shown.\n");
    return 0;
  }
  platform::ResourceLibrary resources;
  if (resources.Load(gallery::kResourcePath) != platform::kErrorSuccess) {
    std::fprintf(stderr, "gallery: cannot load %s\n", platform::ToUtf8(gallery::kResourcePath).c_str());
    return kCannotShow;
  }
  platform::ScopedResourceSource current(resources.Handle());
  const bool ask = argc > 1 && std::strcmp(argv[1], "/ask") == 0;
  if (ask && platform::MessageBox(platform::kNoWindow, platform::LoadString(kShowPageText).value_or(u""),
                                  platform::LoadString(kGalleryTitle).value_or(u""),
                                  platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
    return platform::IDCANCEL;
  int result = 0;
  {
    gallery::CGalleryPage page;
    result = static_cast<int>(page.DoModal());
  }
  // The indicator's thread, if one still runs, ends before the program.
  applet::StopBusyAndWait();
  return result < 0 ? kCannotShow : result;
}
