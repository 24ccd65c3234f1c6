#pragma once
// What the elements of a skin need from the window they live in: notices to
// the owner window, the pen capture, the tooltip and its delay, and redrawing
// a part of the window. The skin surface implements it for a real window;
// tests use a recording owner and the skin tool one that only draws.
//
// The notices and the window messages they stand for:
//   SendSkinText        WM_SKINTEXT (1040), sent: the owner may rewrite text
//   PostCharacter       WM_SKINACTION (1038), wParam 0, lParam the character
//   PostTextAction      WM_SKINACTION, wParam 1, lParam the action text
//   PostSecondaryNotice WM_SKINACTION, wParam 3, lParam the action text
//   PostCommand         WM_COMMAND (273), wParam the number, lParam 0
// Posted notices are queued; the texts they carry belong to the element and
// stay valid while it lives.

#include <cstdint>

#include "platform/drawing_types.h"
#include "base/text.h"

namespace applet {

class SkinElement;

inline constexpr uint32_t kWmCommand = 273;
inline constexpr uint32_t kWmSkinAction = 1038;
inline constexpr uint32_t kWmSkinTooltip = 1039;
inline constexpr uint32_t kWmSkinText = 1040;

// The command posted between two character actions of one held button.
inline constexpr uint32_t kCommandBetweenCharacters = 2028;
// The delay before a held element shows its tooltip (or repeats its
// actions).
inline constexpr uint32_t kTooltipDelayMs = 500;

class SkinOwner {
 public:
  virtual ~SkinOwner() = default;

  virtual void SendSkinText(platform::WString& text) = 0;
  virtual void PostCharacter(char16_t character) = 0;
  virtual void PostTextAction(const platform::WString* action) = 0;
  virtual void PostSecondaryNotice(const platform::WString* action) = 0;
  virtual void PostCommand(uint32_t command) = 0;

  // The element receives all pen input until Release.
  virtual void Capture(SkinElement* element) = 0;
  virtual void Release() = 0;
  virtual SkinElement* CapturedElement() const = 0;

  // After the delay the element's ShowTooltip is called, unless stopped.
  virtual void StartTooltipDelay(SkinElement* element, uint32_t milliseconds) = 0;
  virtual void StopTooltipDelay() = 0;
  virtual void ShowTooltip(platform::WStringView text, int x, int y) = 0;
  virtual void HideTooltip() = 0;

  // Redraws the part of the window picture inside rect (every element draws
  // its part again) and has the window repainted there.
  virtual void Redraw(const platform::Rect& rect) = 0;
};

}  // namespace applet
