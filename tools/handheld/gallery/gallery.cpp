// gallery: a device program that shows a page with every standard control,
// on the applet's orientation-aware dialog, so that a person or a script
// (handheld run DEV \Windows\gallery.exe --script FILE --shots DIR) can try
// the window system of an emulated device: the page turns with the screen,
// scrolls under the input panel in landscape, "Message..." asks a question
// in a message box, "Busy..." starts and stops the busy indicator, and the
// address fields move on by themselves when full. Its exit code is the
// page's result: 1 for OK, 2 for Cancel, 3 when the page cannot be shown.

#include <cstdio>
#include <cstring>
#include <memory>

#include "applet/device/dialog_helpers.h"
#include "applet/device/my_hour_glass.h"
#include "applet/device/octet_edit.h"
#include "applet/device/orientation_dialog.h"
#include "platform/controls/controls.h"
#include "platform/framework/controls.h"
#include "platform/resource_library.h"
#include "platform/windows/message_box.h"
#include "platform/windows/window_messages.h"

namespace {

constexpr char16_t kResourcePath[] = u"\\Windows\\gallery.res";
constexpr uint16_t kPortraitPage = 100;
constexpr uint16_t kLandscapePage = 101;
constexpr int kHeaderId = 1155;
constexpr int kNameId = 1031;
constexpr int kCountryId = 1046;
constexpr int kServersId = 1050;
constexpr int kProgressId = 1173;
constexpr int kMessageButton = 1300;
constexpr int kBusyButton = 1301;
constexpr int kFirstOctetId = 1034;
constexpr uint32_t kQuestionText = 100;
constexpr uint32_t kGalleryTitle = 101;
constexpr uint32_t kLoadingText = 65097;
constexpr int kCannotShow = 3;

class CGalleryPage : public applet::COrientationDialog {
 public:
  CGalleryPage() : COrientationDialog(kPortraitPage, kLandscapePage, nullptr) {
    for (size_t i = 0; i + 1 < std::size(octets_); ++i) octets_[i].SetNextField(&octets_[i + 1]);
  }

 protected:
  void DoDataExchange(framework::CDataExchange* dx) override {
    framework::DDX_Text(dx, kNameId, name_);
    framework::DDX_Control(dx, kCountryId, country_);
    framework::DDX_Control(dx, kServersId, servers_);
    framework::DDX_Control(dx, kProgressId, progress_);
    for (int i = 0; i < 4; ++i) framework::DDX_Control(dx, kFirstOctetId + i, octets_[i]);
  }

  bool OnInitDialog() override {
    COrientationDialog::OnInitDialog();
    for (const char16_t* country : {u"France", u"Germany", u"Netherlands", u"United Kingdom"})
      country_.AddString(country);
    country_.SetCurSel(0);
    for (const char16_t* server : {u"Primary DNS", u"Secondary DNS", u"WINS"}) servers_.AddString(server);
    for (auto& octet : octets_) octet.SetLimitText(3);
    progress_.SetRange(0, 10);
    progress_.SetPos(4);
    return true;
  }

  void OnPaint() override { applet::DrawDialogHeader(*this, kHeaderId); }

  bool OnCommand(platform::WParam wParam, platform::LParam lParam) override {
    const int id = platform::LoWord(wParam);
    if (platform::HiWord(wParam) == platform::BN_CLICKED && id == kMessageButton) {
      platform::MessageBox(GetSafeHwnd(), platform::LoadString(kQuestionText).value_or(u""),
                           platform::LoadString(kGalleryTitle).value_or(u""),
                           platform::MB_YESNO | platform::MB_ICONQUESTION);
      return true;
    }
    if (platform::HiWord(wParam) == platform::BN_CLICKED && id == kBusyButton) {
      if (applet::RunningBusyIndicator()) {
        applet::HideBusy(true);
      } else {
        applet::ShowBusy(kLoadingText, GetSafeHwnd());
      }
      return true;
    }
    return COrientationDialog::OnCommand(wParam, lParam);
  }

 private:
  platform::WString name_ = u"Internet";
  framework::CComboBox country_;
  framework::CListBox servers_;
  framework::CProgressCtrl progress_;
  applet::COctetEdit octets_[4];
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf(
        "gallery: shows a page with every standard control on an emulated handheld.\n"
        "Run it on a device: handheld run DEV '\\Windows\\gallery.exe' [--script FILE --shots DIR]\n"
        "Exit code: 1 OK, 2 Cancel, 3 the page cannot be shown.\n");
    return 0;
  }
  platform::ResourceLibrary resources;
  if (resources.Load(kResourcePath) != platform::kErrorSuccess) {
    std::fprintf(stderr, "gallery: cannot load %s\n", platform::ToUtf8(kResourcePath).c_str());
    return kCannotShow;
  }
  platform::ScopedResourceSource current(resources.Handle());
  int result = 0;
  {
    CGalleryPage page;
    result = static_cast<int>(page.DoModal());
  }
  // The indicator's thread, if one still runs, ends before the program.
  applet::StopBusyAndWait();
  return result < 0 ? kCannotShow : result;
}
