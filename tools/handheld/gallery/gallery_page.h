#pragma once
// The gallery's page: a page with every standard control on the applet's
// orientation-aware dialog (templates 100 and 101 of gallery.rc), its page
// header drawn in the house style. "Message..." asks a question in a
// message box, "Busy..." starts the busy indicator and, pressed again,
// stops it; the four address fields move on by themselves when full.

#include "applet/device/octet_edit.h"
#include "applet/device/orientation_dialog.h"
#include "platform/framework/controls.h"

namespace gallery {

inline constexpr char16_t kResourcePath[] = u"\\Windows\\gallery.res";
inline constexpr uint16_t kPortraitPage = 100;
inline constexpr uint16_t kLandscapePage = 101;

class CGalleryPage : public applet::COrientationDialog {
 public:
  CGalleryPage();

 protected:
  void DoDataExchange(framework::CDataExchange* dx) override;
  bool OnInitDialog() override;
  void OnPaint() override;
  bool OnCommand(platform::WParam wParam, platform::LParam lParam) override;

 private:
  platform::WString name_ = u"Internet";
  framework::CComboBox country_;
  framework::CListBox servers_;
  framework::CProgressCtrl progress_;
  applet::COctetEdit octets_[4];
};

}  // namespace gallery
