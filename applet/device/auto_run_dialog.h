#pragma once
// A modal dialog that does its work once it has been painted for the first
// time and then closes itself: with OK when the work returned nonzero, with
// Cancel otherwise. The work runs once, however often the dialog is painted
// before it starts.

#include <cstdint>

#include "platform/framework/dialog.h"

namespace applet {

// The private message the first paint posts to start the work
// (WM_USER + 10).
inline constexpr uint32_t kAutoRunMessage = 1034;

class CAutoRunDialog : public framework::CDialog {
  VELM_DECLARE_DYNAMIC(CAutoRunDialog)

 public:
  using CDialog::CDialog;

  intptr_t DoModal() override;

 protected:
  // The dialog's work; nonzero ends it with OK. The base has none and
  // returns 1.
  virtual int Work();
  void OnPaint() override;
  platform::LResult WindowProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

 private:
  bool firstPaint_ = false;
};

}  // namespace applet
