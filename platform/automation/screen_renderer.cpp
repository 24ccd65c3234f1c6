#include "platform/automation/screen_renderer.h"

#include <algorithm>
#include <cstdio>

#include "base/clock.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/controls.h"
#include "platform/device_context.h"
#include "platform/png_writer.h"
#include "platform/windows/dialog.h"
#include "platform/windows/paint.h"
#include "platform/windows/screen.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/system_metrics.h"
#include "platform/windows/window.h"
#include "platform/windows/window_styles.h"

namespace platform {

namespace {

// The shell's colours.
constexpr ColorRef kDesktop = Rgb(255, 255, 255);
constexpr ColorRef kBarTop = Rgb(36, 88, 184);
constexpr ColorRef kBarBottom = Rgb(8, 40, 120);
constexpr ColorRef kBarText = Rgb(255, 255, 255);
constexpr ColorRef kMenuTop = Rgb(232, 238, 250);
constexpr ColorRef kMenuBottom = Rgb(190, 206, 238);
constexpr ColorRef kMenuLine = Rgb(120, 140, 190);
constexpr ColorRef kFrame = Rgb(0, 0, 0);
constexpr ColorRef kPanel = Rgb(222, 226, 236);
constexpr ColorRef kKey = Rgb(255, 255, 255);
constexpr ColorRef kKeyEdge = Rgb(110, 120, 150);

constexpr int kBarPadding = 6;
constexpr int kOkDiameter = 21;

std::shared_ptr<const Font> TahomaFont(int height, int weight) {
  LogFont logical;
  logical.height = height;
  logical.weight = weight;
  logical.faceName = u"Tahoma";
  return Font::Create(logical);
}

ColorRef Blend(ColorRef a, ColorRef b, int step, int steps) {
  auto mix = [&](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(x + (static_cast<int>(y) - x) * step / std::max(1, steps));
  };
  return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

// A top-to-bottom gradient, one colour a row.
void Gradient(DeviceContext& dc, const Rect& r, ColorRef top, ColorRef bottom) {
  for (int y = r.top; y < r.bottom; ++y)
    dc.FillRect({r.left, y, r.right, y + 1}, *Brush::CreateSolid(Blend(top, bottom, y - r.top, r.Height() - 1)));
}

void Text(DeviceContext& dc, WStringView text, Rect r, uint32_t format, ColorRef color) {
  dc.SetBkMode(kTransparent);
  dc.SetTextColor(color);
  dc.DrawText(text, r, format | kDtSingleLine | kDtVCenter | kDtNoPrefix);
}

void Line(DeviceContext& dc, const Rect& r, ColorRef color) { dc.FillRect(r, *Brush::CreateSolid(color)); }

// A window's frame: the caption band of a captioned window with its title,
// or a border line.
void DrawFrame(DeviceContext& dc, Hwnd hwnd) {
  Rect window;
  Rect client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  MapWindowRect(hwnd, kNoWindow, &client);
  const auto style = static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE));
  if (window == client) return;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    const Rect band{window.left, window.top, window.right, client.top};
    Gradient(dc, band, GetSysColor(COLOR_ACTIVECAPTION), kBarBottom);
    dc.SelectFont(TahomaFont(-12, kFwBold));
    Text(dc, GetWindowText(hwnd), {band.left + kBarPadding, band.top, band.right - kBarPadding, band.bottom},
         kDtLeft, GetSysColor(COLOR_CAPTIONTEXT));
  }
  dc.FrameRect({window.left, window.top, window.right, std::max(window.bottom, client.bottom)},
               *Brush::CreateSolid(kFrame));
}

void DrawClient(DeviceContext& dc, Hwnd hwnd) {
  const std::shared_ptr<DibSection> surface = CopyWindowSurface(hwnd);
  if (!surface) return;
  Rect client;
  GetClientRect(hwnd, &client);
  MapWindowRect(hwnd, kNoWindow, &client);
  DeviceContext source;
  source.SelectBitmap(surface);
  dc.BitBlt(client.left, client.top, surface->Width(), surface->Height(), source, 0, 0);
}

void DrawDroppedLists(DeviceContext& dc, Hwnd hwnd) {
  for (Hwnd child : GetChildWindows(hwnd)) {
    if (!IsWindowVisible(child)) continue;
    PaintDroppedList(child, dc);
    DrawDroppedLists(dc, child);
  }
}

// The input panel: a small keyboard of four rows.
void DrawInputPanel(DeviceContext& dc, const Rect& panel) {
  Line(dc, panel, kPanel);
  Line(dc, {panel.left, panel.top, panel.right, panel.top + 1}, kMenuLine);
  static const char16_t* const kRows[] = {u"1234567890", u"qwertyuiop", u"asdfghjkl", u"zxcvbnm"};
  dc.SelectFont(TahomaFont(-10, kFwNormal));
  const int rows = static_cast<int>(std::size(kRows));
  const int keyHeight = (panel.Height() - 2) / rows;
  const int keyWidth = panel.Width() / 10;
  const auto keyBrush = Brush::CreateSolid(kKey);
  const auto edgeBrush = Brush::CreateSolid(kKeyEdge);
  for (int row = 0; row < rows; ++row) {
    const WStringView keys = kRows[row];
    const int indent = (panel.Width() - static_cast<int>(keys.size()) * keyWidth) / 2;
    for (size_t k = 0; k < keys.size(); ++k) {
      const Rect key{panel.left + indent + static_cast<int>(k) * keyWidth + 1, panel.top + 2 + row * keyHeight,
                     panel.left + indent + static_cast<int>(k + 1) * keyWidth - 1,
                     panel.top + 2 + (row + 1) * keyHeight - 2};
      dc.FillRect(key, *keyBrush);
      dc.FrameRect(key, *edgeBrush);
      Text(dc, keys.substr(k, 1), key, kDtCenter, Rgb(0, 0, 0));
    }
  }
}

void DrawNavigationBar(DeviceContext& dc, const ScreenSize& screen, Hwnd front) {
  const Rect bar{0, 0, screen.width, kNavigationBarHeight};
  Gradient(dc, bar, kBarTop, kBarBottom);
  dc.SelectFont(TahomaFont(-12, kFwBold));
  const int startWidth = 34;
  Text(dc, u"Start", {kBarPadding, 0, kBarPadding + startWidth, bar.bottom}, kDtLeft, kBarText);
  int right = bar.right - kBarPadding;
  const bool dialog = front && IsDialogWindow(front) &&
                      (static_cast<uint32_t>(GetWindowLong(front, GWL_STYLE)) & WS_CAPTION) == WS_CAPTION;
  if (dialog) {
    // The "ok" that closes a full-screen dialog.
    const int top = (bar.Height() - kOkDiameter) / 2;
    const Rect ok{right - kOkDiameter, top, right, top + kOkDiameter};
    dc.SelectPen(Pen::Create(kPsSolid, 1, kBarText));
    dc.SelectBrush(Brush::CreateSolid(kBarBottom));
    dc.Ellipse(ok);
    dc.SelectFont(TahomaFont(-11, kFwBold));
    Text(dc, u"ok", ok, kDtCenter, kBarText);
    right = ok.left - kBarPadding;
  }
  const SystemTime now = GetLocalTime();
  char clock[16];
  std::snprintf(clock, sizeof clock, "%u:%02u", now.hour, now.minute);
  dc.SelectFont(TahomaFont(-11, kFwNormal));
  Size clockSize;
  const WString clockText = FromUtf8(clock);
  dc.GetTextExtentPoint(clockText, &clockSize);
  Text(dc, clockText, {right - clockSize.cx, 0, right, bar.bottom}, kDtRight, kBarText);
  right -= clockSize.cx + kBarPadding;
  if (front) {
    dc.SelectFont(TahomaFont(-12, kFwBold));
    Text(dc, GetWindowText(front), {kBarPadding + startWidth + kBarPadding, 0, right, bar.bottom}, kDtLeft, kBarText);
  }
}

void DrawMenuBar(DeviceContext& dc, const ScreenSize& screen, bool panelUp) {
  const Rect bar{0, screen.height - kMenuBarHeight, screen.width, screen.height};
  Gradient(dc, bar, kMenuTop, kMenuBottom);
  Line(dc, {bar.left, bar.top, bar.right, bar.top + 1}, kMenuLine);
  // The input panel button: a small keyboard, framed when the panel is up.
  const int cx = screen.width / 2;
  const Rect button{cx - 14, bar.top + 4, cx + 14, bar.bottom - 4};
  if (panelUp) {
    Line(dc, button, kMenuBottom);
    dc.FrameRect(button, *Brush::CreateSolid(kMenuLine));
  }
  const Rect keyboard{cx - 9, bar.top + 8, cx + 9, bar.top + 18};
  dc.FrameRect(keyboard, *Brush::CreateSolid(Rgb(0, 0, 0)));
  for (int row = 0; row < 2; ++row)
    for (int x = keyboard.left + 2; x < keyboard.right - 2; x += 3)
      Line(dc, {x, keyboard.top + 2 + row * 3, x + 2, keyboard.top + 4 + row * 3}, Rgb(0, 0, 0));
}

}  // namespace

std::shared_ptr<DibSection> RenderScreen() {
  const ScreenSize screen = GetScreenSize();
  auto bitmap = DibSection::Create(screen.width, screen.height, 24);
  if (!bitmap) return nullptr;
  DeviceContext dc;
  dc.SelectBitmap(bitmap);
  dc.FillRect(bitmap->Bounds(), *Brush::CreateSolid(kDesktop));
  std::vector<Hwnd> windows = GetTopLevelWindows();
  std::erase_if(windows, [](Hwnd h) { return !IsWindowVisible(h); });
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    DrawFrame(dc, *it);
    DrawClient(dc, *it);
  }
  for (Hwnd h : windows) DrawDroppedLists(dc, h);
  const SipInfo sip = SipGetInfo();
  const bool panelUp = (sip.flags & SIPF_ON) != 0;
  if (panelUp) DrawInputPanel(dc, sip.sipRect);
  // The bar shows the title of the topmost captioned window: a small
  // window without a caption (a wait window) leaves it to the one below.
  Hwnd titled;
  for (Hwnd h : windows) {
    if ((static_cast<uint32_t>(GetWindowLong(h, GWL_STYLE)) & WS_CAPTION) == WS_CAPTION) {
      titled = h;
      break;
    }
  }
  DrawNavigationBar(dc, screen, titled);
  DrawMenuBar(dc, screen, panelUp);
  return bitmap;
}

bool SaveScreenshot(const std::filesystem::path& path, std::string* why) {
  const auto bitmap = RenderScreen();
  if (!bitmap) {
    if (why != nullptr) *why = "no bitmap of the screen's size can be made";
    return false;
  }
  return WritePng(*bitmap, path, PngAlpha::Opaque, why);
}

}  // namespace platform
