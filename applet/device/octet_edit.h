#pragma once
// An edit field for one number of a dotted address (0 to 255). When typing
// fills it to its text limit and a next field is set, the number is
// checked: above 255 it shows message 65101 and puts "0" in the field,
// selected; otherwise the focus moves on to the next field with its text
// selected.

#include "platform/framework/controls.h"

namespace applet {

// "Please enter a number from 0 to 255 ..." in the resource library.
inline constexpr uint32_t kOctetRangeMessage = 65101;
inline constexpr int kMaxOctet = 255;

class COctetEdit : public framework::CEdit {
  VELM_DECLARE_DYNAMIC(COctetEdit)

 public:
  void SetNextField(framework::CWnd* next) { next_ = next; }
  framework::CWnd* NextField() const { return next_; }

 protected:
  void OnChar(uint32_t ch, uint32_t repeat, uint32_t flags) override;

 private:
  framework::CWnd* next_ = nullptr;
};

}  // namespace applet
