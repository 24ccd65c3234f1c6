#pragma once
// The applet's dialog base: a dialog given a portrait and a landscape
// template. It is made from the template that fits the screen, lays its
// controls out again from the other template when the screen turns, and in
// landscape with the input panel up adds a vertical scroll bar that moves
// all controls, so that fields under the panel can be reached.
//
// Portrait means the screen is not wider than it is high.
//
// Re-layout: a hidden copy of the dialog is made from the template of the
// orientation now (owned by this dialog's parent, with a dialog procedure
// that does nothing); every control of this dialog with a nonzero id takes
// the place, size, style and extended style of the control of the copy with
// the same id (the n-th of several that share an id, such as labels, takes
// the n-th one's), its place on the screen less the caption, menu and
// four border heights down and one border width across (where a dialog of
// the template lies on the handheld). A control whose place reaches beyond
// the copy's client area is hidden instead; a control without a counterpart
// stays where it is. Re-layout never shows or enables a control: it keeps
// each control's own visible and disabled state.
//
// The scroll bar: on every settings change the panel's state is read; when
// it moved, or the screen turned, the bar is needed exactly when scrolling
// is allowed (SetNoScroll), the panel is up, the screen is in landscape and
// the part of the screen left visible is lower than the client area. A
// needed bar stands at the right edge, on top of the controls, as high as
// the visible part, with the range 0 to the height hidden; a bar no longer
// needed first scrolls the controls back to the top. Scrolling moves every
// control but the bar up by the distance scrolled: a line is a tenth of the
// client height, a page all of it.

#include <cstdint>

#include "platform/framework/controls.h"
#include "platform/framework/dialog.h"

namespace applet {

// The screen is in portrait orientation (system metrics 0 and 1).
bool IsScreenPortrait();

class COrientationDialog : public framework::CDialog {
  VELM_DECLARE_DYNAMIC(COrientationDialog)

 public:
  COrientationDialog(uint16_t portraitTemplate, uint16_t landscapeTemplate, framework::CWnd* parent);

  // After the orientation changed: re-lays out, then OnLayoutChanged.
  virtual void OnOrientationChanged();
  // For derived dialogs to reload their skins or texts after a re-layout.
  virtual void OnLayoutChanged();
  void SetNoScroll(bool noScroll) { noScroll_ = noScroll; }

  bool IsScrollActive() const { return scrollActive_; }
  bool IsPanelUp() const { return panelUp_; }
  bool IsPortraitLayout() const { return isPortrait_; }
  int HeaderOffset() const { return headerOffset_; }
  const platform::Rect& VisibleArea() const { return visibleArea_; }
  const framework::CScrollBar& ScrollBar() const { return scrollBar_; }
  uint16_t PortraitTemplate() const { return portraitTemplate_; }
  uint16_t LandscapeTemplate() const { return landscapeTemplate_; }

 protected:
  bool OnInitDialog() override;
  platform::LResult WindowProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) override;
  void OnSettingChange(uint32_t flags, const char16_t* section) override;
  void OnVScroll(uint32_t code, uint32_t pos, platform::Hwnd scrollBar) override;
  void SetHeaderOffset(int offset) { headerOffset_ = offset; }
  // Lays the controls out from the template of the orientation now.
  void Relayout();

 private:
  void ScrollTo(int position);

  bool scrollActive_ = false;
  bool panelUp_ = false;
  int headerOffset_ = 0;
  bool noScroll_ = false;
  platform::Rect visibleArea_;
  framework::CScrollBar scrollBar_;
  bool isPortrait_;
  bool portraitAtCreation_;
  uint16_t portraitTemplate_;
  uint16_t landscapeTemplate_;
};

}  // namespace applet
