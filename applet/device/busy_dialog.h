#pragma once
// The wait window of the busy indicator (template 8312, no parent): a text
// over a progress bar that steps 1, 2, ..., 9, 0, 1, ... every 100 ms.

#include <cstdint>

#include "base/text.h"
#include "platform/framework/controls.h"
#include "platform/framework/dialog.h"

namespace applet {

inline constexpr uint16_t kBusyDialogTemplate = 8312;
inline constexpr int kBusyTextId = 1022;
inline constexpr int kBusyProgressId = 1173;
inline constexpr uintptr_t kBusyTimer = 1;
inline constexpr uint32_t kBusyTimerPeriodMs = 100;

class CBusyDialog : public framework::CDialog {
  VELM_DECLARE_DYNAMIC(CBusyDialog)

 public:
  // The text is string resource messageId (empty when it is absent).
  explicit CBusyDialog(uint32_t messageId);

  int Position() const { return progress_.GetPos(); }

 protected:
  void DoDataExchange(framework::CDataExchange* dx) override;
  bool OnInitDialog() override;
  void OnTimer(uintptr_t id) override;
  void OnDestroy() override;
  // A small window stays centred on the screen when it turns.
  void OnSettingChange(uint32_t flags, const char16_t* section) override;

 private:
  framework::CProgressCtrl progress_;
  intptr_t timerId_ = -1;
  platform::WString text_;
};

}  // namespace applet
