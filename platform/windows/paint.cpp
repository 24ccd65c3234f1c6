#include "platform/windows/paint.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "platform/windows/messages.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform {

using window_system::WindowManager;
using window_system::WindowRecord;
using window_system::WindowSurface;

namespace window_system {

namespace {

Rect UnionRect(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

bool Overlap(const Rect& a, const Rect& b) { return !IntersectRect(a, b).IsEmpty(); }

}  // namespace

void InvalidateLocked(WindowManager& m, WindowRecord& window, const Rect* client, bool erase) {
  if (!m.IsShown(window)) return;
  const Rect whole = ClientRectOf(window);
  const Rect area = client == nullptr ? whole : IntersectRect(*client, whole);
  if (area.IsEmpty() && !(client == nullptr && window.parent)) return;
  window.invalid = UnionRect(window.invalid, area);
  // A child whose client area is empty still has a frame to draw.
  if (window.invalid.IsEmpty()) window.invalid = {0, 0, 1, 1};
  window.erase = window.erase || erase;
  for (Hwnd h : window.children) {
    WindowRecord* child = m.Find(h);
    if (child != nullptr && Overlap(child->rect, area)) InvalidateLocked(m, *child, nullptr, erase);
  }
  if (window.parent) {
    // Higher siblings that overlap paint again after this window.
    const FrameInsets f = FrameOf(window.style, window.exStyle, true);
    const Rect inParent = OffsetRect(area, window.rect.left + f.left, window.rect.top + f.top);
    for (Hwnd h : m.SiblingsOf(window)) {
      if (h == window.handle) break;
      WindowRecord* above = m.Find(h);
      if (above != nullptr && Overlap(above->rect, inParent)) InvalidateLocked(m, *above, nullptr, erase);
    }
  }
  m.NotifyAll();
}

void InvalidateParentAreaLocked(WindowManager& m, WindowRecord& child, const Rect& inParent) {
  if (WindowRecord* parent = m.Find(child.parent)) InvalidateLocked(m, *parent, &inParent, true);
}

void BringToTopLocked(WindowManager& m, WindowRecord& window) {
  if (window.parent) return;
  std::erase(m.topLevel, window.handle);
  auto at = m.topLevel.begin();
  if ((window.exStyle & WS_EX_TOPMOST) == 0) {
    while (at != m.topLevel.end()) {
      WindowRecord* r = m.Find(*at);
      if (r == nullptr || (r->exStyle & WS_EX_TOPMOST) == 0) break;
      ++at;
    }
  }
  m.topLevel.insert(at, window.handle);
  std::vector<WindowRecord*> owned;
  for (auto& [handle, other] : m.windows)
    if (other->owner == window.handle && other.get() != &window) owned.push_back(other.get());
  for (WindowRecord* r : owned) BringToTopLocked(m, *r);
}

}  // namespace window_system

namespace {

// A top-level window's surface, made (white) or remade when its client
// area changed size. Under the lock.
std::shared_ptr<WindowSurface> SurfaceLocked(WindowRecord& top) {
  const Rect client = window_system::ClientRectOf(top);
  if (top.surface && top.surface->bitmap && top.surface->bitmap->Width() == client.Width() &&
      top.surface->bitmap->Height() == client.Height())
    return top.surface;
  auto surface = std::make_shared<WindowSurface>();
  if (!client.IsEmpty()) {
    surface->bitmap = DibSection::Create(client.Width(), client.Height(), 24);
    if (surface->bitmap) std::memset(surface->bitmap->Bits(), 0xFF, surface->bitmap->ImageSize());
  }
  top.surface = surface;
  return surface;
}

// What of a window's client area (or, with frame, its whole window) lies
// within every ancestor's client area, in surface pixels.
Rect VisibleInSurface(WindowManager& m, const WindowRecord& window, bool frame) {
  const WindowRecord* top = m.TopLevelOf(const_cast<WindowRecord*>(&window));
  const Rect topClient = m.ClientOnScreen(*top);
  Rect area = frame && window.parent ? m.WindowOnScreen(window) : m.ClientOnScreen(window);
  for (const WindowRecord* a = m.Find(window.parent); a != nullptr; a = m.Find(a->parent))
    area = IntersectRect(area, m.ClientOnScreen(*a));
  area = IntersectRect(area, topClient);
  return OffsetRect(area, -topClient.left, -topClient.top);
}

struct DcSetup {
  std::shared_ptr<WindowSurface> surface;
  Point origin;
  Rect clip;
  Rect frame;  // a child's window rectangle in surface pixels, when it has a border
  Rect frameClip;
};

bool SetUp(Hwnd hwnd, DcSetup& out) {
  WindowManager& m = WindowManager::Get();
  WindowRecord* r = m.Find(hwnd);
  if (r == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  WindowRecord* top = m.TopLevelOf(r);
  out.surface = SurfaceLocked(*top);
  out.origin = m.ClientOriginInSurface(*r);
  out.clip = VisibleInSurface(m, *r, false);
  const window_system::FrameInsets f = window_system::FrameOf(r->style, r->exStyle, true);
  if (r->parent && (f.left | f.top | f.right | f.bottom) != 0) {
    const Rect topClient = m.ClientOnScreen(*top);
    out.frame = OffsetRect(m.WindowOnScreen(*r), -topClient.left, -topClient.top);
    out.frameClip = VisibleInSurface(m, *r, true);
  }
  return true;
}

}  // namespace

WindowDc::WindowDc(std::shared_ptr<WindowSurface> surface, Hwnd hwnd)
    : surface_(std::move(surface)), lock_(surface_->mutex), hwnd_(hwnd) {
  dc_.SelectBitmap(surface_->bitmap);
}

WindowDc::~WindowDc() = default;

std::unique_ptr<WindowDc> GetDC(Hwnd hwnd) {
  DcSetup setup;
  {
    WindowManager& m = WindowManager::Get();
    std::lock_guard lock(m.mutex);
    if (!SetUp(hwnd, setup)) return nullptr;
  }
  auto dc = std::make_unique<WindowDc>(setup.surface, hwnd);
  dc->Dc().SetViewportOrigin(setup.origin);
  dc->Dc().SetClipRect(setup.clip);
  return dc;
}

DeviceContext* BeginPaint(Hwnd hwnd, PaintStruct* ps) {
  if (ps == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return nullptr;
  }
  DcSetup setup;
  Rect paint;
  bool erase = false;
  {
    WindowManager& m = WindowManager::Get();
    std::lock_guard lock(m.mutex);
    if (!SetUp(hwnd, setup)) return nullptr;
    WindowRecord* r = m.Find(hwnd);
    paint = IntersectRect(r->invalid, window_system::ClientRectOf(*r));
    erase = r->erase;
    r->invalid = {};
    r->erase = false;
  }
  ps->dc = std::make_unique<WindowDc>(setup.surface, hwnd);
  DeviceContext& dc = ps->dc->Dc();
  if (!setup.frame.IsEmpty()) {
    // A child's border is drawn with its client area.
    dc.SetClipRect(setup.frameClip);
    dc.FrameRect(setup.frame, *Brush::CreateSolid(GetSysColor(COLOR_WINDOWFRAME)));
  }
  dc.SetViewportOrigin(setup.origin);
  dc.SetClipRect(IntersectRect(setup.clip, OffsetRect(paint, setup.origin.x, setup.origin.y)));
  ps->paint = paint;
  ps->erase = erase && SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WParam>(&dc), 0) == 0;
  return &dc;
}

bool EndPaint(Hwnd, PaintStruct* ps) {
  if (ps == nullptr) return false;
  ps->dc.reset();
  return true;
}

bool InvalidateRect(Hwnd hwnd, const Rect* rect, bool erase) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = m.Find(hwnd);
  if (r == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  window_system::InvalidateLocked(m, *r, rect, erase);
  return true;
}

bool ValidateRect(Hwnd hwnd, const Rect* rect) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = m.Find(hwnd);
  if (r == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  // The invalid area is one rectangle: validating a part that covers it
  // makes the window valid, a smaller part leaves it as it is.
  if (rect == nullptr || IntersectRect(r->invalid, *rect) == r->invalid) {
    r->invalid = {};
    r->erase = false;
  }
  return true;
}

bool GetUpdateRect(Hwnd hwnd, Rect* rect) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = m.Find(hwnd);
  if (r == nullptr) return false;
  if (rect != nullptr) *rect = r->invalid;
  return !r->invalid.IsEmpty();
}

bool UpdateWindow(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  for (;;) {
    Hwnd next;
    {
      std::lock_guard lock(m.mutex);
      WindowRecord* r = m.Find(hwnd);
      if (r == nullptr) return false;
      if (r->thread != m.CurrentThreadShared()) return true;
      // The first invalid window of the subtree, parents first.
      std::vector<WindowRecord*> stack{r};
      while (!stack.empty() && !next) {
        WindowRecord* w = stack.back();
        stack.pop_back();
        if ((w->style & WS_VISIBLE) == 0) continue;
        if (!w->invalid.IsEmpty()) {
          next = w->handle;
          break;
        }
        for (Hwnd child : w->children)
          if (WindowRecord* c = m.Find(child)) stack.push_back(c);
      }
      if (!next || !m.IsShown(*m.Find(next))) return true;
    }
    DispatchMessage(Msg{next, WM_PAINT});
  }
}

std::shared_ptr<DibSection> CopyWindowSurface(Hwnd topLevel) {
  std::shared_ptr<WindowSurface> surface;
  {
    WindowManager& m = WindowManager::Get();
    std::lock_guard lock(m.mutex);
    WindowRecord* r = m.Find(topLevel);
    if (r == nullptr || r->parent) return nullptr;
    surface = SurfaceLocked(*r);
  }
  std::lock_guard lock(surface->mutex);
  if (!surface->bitmap) return nullptr;
  auto copy = DibSection::Create(surface->bitmap->Width(), surface->bitmap->Height(), 24);
  if (copy) std::memcpy(copy->Bits(), surface->bitmap->Bits(), copy->ImageSize());
  return copy;
}

}  // namespace platform
