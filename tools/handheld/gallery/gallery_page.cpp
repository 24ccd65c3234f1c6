#include "tools/handheld/gallery/gallery_page.h"

#include "applet/device/dialog_helpers.h"
#include "applet/device/my_hour_glass.h"
#include "platform/controls/controls.h"
#include "platform/resource_library.h"
#include "platform/windows/message_box.h"
#include "platform/windows/window_messages.h"

namespace gallery {

namespace {

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

}  // namespace

CGalleryPage::CGalleryPage() : COrientationDialog(kPortraitPage, kLandscapePage, nullptr) {
  for (size_t i = 0; i + 1 < std::size(octets_); ++i) octets_[i].SetNextField(&octets_[i + 1]);
}

void CGalleryPage::DoDataExchange(framework::CDataExchange* dx) {
  framework::DDX_Text(dx, kNameId, name_);
  framework::DDX_Control(dx, kCountryId, country_);
  framework::DDX_Control(dx, kServersId, servers_);
  framework::DDX_Control(dx, kProgressId, progress_);
  for (int i = 0; i < 4; ++i) framework::DDX_Control(dx, kFirstOctetId + i, octets_[i]);
}

bool CGalleryPage::OnInitDialog() {
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

void CGalleryPage::OnPaint() { applet::DrawDialogHeader(*this, kHeaderId); }

bool CGalleryPage::OnCommand(platform::WParam wParam, platform::LParam lParam) {
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

}  // namespace gallery
