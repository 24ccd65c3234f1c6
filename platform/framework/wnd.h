#pragma once
// The application framework's window: an object in front of a window of
// the window system. Once attached as the window's procedure (subclassed),
// the object hears every message of the window through WindowProc, which
// hands the common ones to the virtual handlers below; a handler that does
// not take a message lets it go on with Default() to the procedure the
// window had before (the control's own, or the dialog manager's).
//
// The object and its window are tied by a process-wide map from handle to
// object, so a procedure always finds its object. When the window goes
// (WM_NCDESTROY) the object lets go of it and PostNcDestroy runs; when the
// object goes first, a window it created is destroyed with it and a window
// it only subclassed gets its old procedure back.

#include <cstdint>

#include "platform/framework/object.h"
#include "base/text.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"
#include "platform/windows/window_types.h"

namespace framework {

class CWnd : public CObject {
  VELM_DECLARE_DYNAMIC(CWnd)

 public:
  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  platform::Hwnd GetSafeHwnd() const { return hwnd_; }
  // The object attached to a window as its procedure, or null.
  static CWnd* FromHandlePermanent(platform::Hwnd hwnd);

  // Creates a window of a class and subclasses it.
  bool CreateEx(uint32_t exStyle, platform::WStringView className, platform::WStringView text, uint32_t style,
                const platform::Rect& rect, CWnd* parent, int id);
  // Makes this object the window's procedure; fails when the window does
  // not exist or another object already has it.
  bool SubclassWindow(platform::Hwnd hwnd);
  bool SubclassDlgItem(int id, CWnd* parent);
  // Gives the window its old procedure back and lets go of it.
  platform::Hwnd UnsubclassWindow();
  virtual bool DestroyWindow();

  // The object's window procedure.
  virtual platform::LResult WindowProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  // The message being handled, to the window's previous procedure.
  platform::LResult Default();
  platform::LResult DefWindowProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  // Called by message loops before a message is dispatched; true when the
  // object took it.
  virtual bool PreTranslateMessage(platform::Msg& msg);

  // Handlers; each does Default() unless a class says otherwise.
  virtual bool OnCommand(platform::WParam wParam, platform::LParam lParam);
  virtual void OnPaint();
  virtual void OnTimer(uintptr_t id);
  virtual void OnDestroy();
  virtual void OnSettingChange(uint32_t flags, const char16_t* section);
  virtual void OnVScroll(uint32_t code, uint32_t pos, platform::Hwnd scrollBar);
  virtual void OnChar(uint32_t ch, uint32_t repeat, uint32_t flags);
  virtual void OnSetFocus(platform::Hwnd previous);
  virtual void OnKillFocus(platform::Hwnd next);
  virtual void OnSize(uint32_t type, int width, int height);
  // After the window's last message; the object may delete itself here.
  virtual void PostNcDestroy();

  // The window system's calls on this window.
  platform::LResult SendMessage(uint32_t message, platform::WParam wParam = 0, platform::LParam lParam = 0) const;
  bool PostMessage(uint32_t message, platform::WParam wParam = 0, platform::LParam lParam = 0) const;
  bool ShowWindow(int command) const;
  bool EnableWindow(bool enable = true) const;
  bool IsWindowVisible() const;
  bool IsWindowEnabled() const;
  bool MoveWindow(const platform::Rect& rect, bool repaint = true) const;
  bool SetWindowPos(platform::Hwnd insertAfter, int x, int y, int width, int height, uint32_t flags) const;
  platform::Rect GetWindowRect() const;
  platform::Rect GetClientRect() const;
  void ClientToScreen(platform::Rect* rect) const;
  void ScreenToClient(platform::Rect* rect) const;
  void SetWindowText(platform::WStringView text) const;
  platform::WString GetWindowText() const;
  int GetWindowTextLength() const;
  platform::Hwnd GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  platform::Hwnd GetParent() const;
  uint32_t GetStyle() const;
  uint32_t GetExStyle() const;
  bool ModifyStyle(uint32_t remove, uint32_t add) const;
  platform::Hwnd SetFocus() const;
  void Invalidate(bool erase = true) const;
  bool UpdateWindow() const;
  uintptr_t SetTimer(uintptr_t id, uint32_t milliseconds) const;
  bool KillTimer(uintptr_t id) const;
  // The window's font (WM_SETFONT); the object keeps the font alive.
  void SetFont(std::shared_ptr<const platform::Font> font, bool redraw = true);

 protected:
  // Called by the framework's window procedure.
  friend platform::LResult FrameworkWindowProc(platform::Hwnd, uint32_t, platform::WParam, platform::LParam);
  // Whether this object created its window (then it also destroys it).
  void SetOwnsWindow(bool owns) { ownsWindow_ = owns; }

 private:
  void Forget();

  platform::Hwnd hwnd_;
  platform::WindowProcedure previous_ = nullptr;
  bool ownsWindow_ = false;
  std::shared_ptr<const platform::Font> font_;
};

// The window procedure of every subclassed window.
platform::LResult FrameworkWindowProc(platform::Hwnd hwnd, uint32_t message, platform::WParam wParam,
                                      platform::LParam lParam);

// Subclasses the next window the calling thread creates with this object,
// before any message reaches that window (creating dialogs uses it).
void HookWindowCreate(CWnd* wnd);

}  // namespace framework
