#pragma once
// The application framework's dialog: a CWnd made from a dialog template of
// the current resource source, run modally (DoModal) or modelessly
// (Create), with data exchange between the dialog's fields and its controls
// (DoDataExchange, UpdateData).
//
// A handheld shows its dialogs full screen: a captioned dialog is placed so
// that its client area covers the working area (its caption lies under the
// navigation bar, which shows the dialog's title), and follows the working
// area when the screen turns. SetFullScreen(false) keeps the template's
// size and place.

#include <cstdint>
#include <memory>

#include "platform/framework/data_exchange.h"
#include "platform/framework/wnd.h"
#include "platform/windows/dialog_template.h"

namespace framework {

class CDialog : public CWnd {
  VELM_DECLARE_DYNAMIC(CDialog)

 public:
  explicit CDialog(uint16_t templateId = 0, CWnd* parent = nullptr);
  ~CDialog() override;

  // Runs the dialog modally; the result of EndDialog, or -1 when the
  // dialog could not be made (no template, a control that could not be
  // created).
  virtual intptr_t DoModal();
  // Makes the dialog modeless; false when it could not be made.
  bool Create(uint16_t templateId, CWnd* parent = nullptr);

  // The dialog's initialisation: fills the controls from the fields
  // (UpdateData(false)); true gives the first control the focus.
  virtual bool OnInitDialog();
  // OK takes the fields from the controls and ends with IDOK, unless a
  // field refused its control's value; Cancel ends with IDCANCEL.
  virtual void OnOK();
  virtual void OnCancel();
  void EndDialog(int result);

  // Moves data between fields and controls; false when a field refused a
  // value (its control then has the focus).
  bool UpdateData(bool saveAndValidate = true);
  virtual void DoDataExchange(CDataExchange* dx);

  uint16_t TemplateId() const { return templateId_; }
  CWnd* ParentWindow() const { return parent_; }
  void SetFullScreen(bool fullScreen) { fullScreen_ = fullScreen; }
  bool IsFullScreen() const { return fullScreen_; }
  // Puts a full-screen dialog over the working area (again).
  void FitToWorkArea();

 protected:
  bool OnCommand(platform::WParam wParam, platform::LParam lParam) override;
  void OnSettingChange(uint32_t flags, const char16_t* section) override;
  // The template the dialog is made from; by default the resource
  // template of TemplateId().
  virtual std::optional<platform::DialogTemplate> LoadTemplate();
  void SetTemplateId(uint16_t templateId) { templateId_ = templateId; }

 private:
  static intptr_t DialogProcedure(platform::Hwnd hwnd, uint32_t message, platform::WParam wParam,
                                  platform::LParam lParam);

  uint16_t templateId_ = 0;
  CWnd* parent_ = nullptr;
  bool fullScreen_ = true;
};

}  // namespace framework
