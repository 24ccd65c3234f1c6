#pragma once
// One drawable, touchable item of a skinned window, made from one section of
// a skin description. The kinds derive from this base; the surface (and
// the owning dialog through it) calls the operations below, each kind
// answering those it takes and keeping the base behaviour for the rest.
//
// Keys every element reads:
//   show     integer, 1: drawn and takes the pen; any other value hidden
//   text     text, offered to the owner (SendSkinText) right after reading
//   Param    text kept for the owner
//   Action   text, the section name by default: what a press fires
//   Trigger  "DOWN" fires when the pen goes down, anything else on release
//   Group    integer kept for the owner

#include <cstdint>
#include <memory>
#include <span>

#include "applet/skin/skin_dib.h"
#include "applet/skin/skin_load_context.h"
#include "applet/skin/skin_owner.h"
#include "applet/skin/skin_section_type.h"
#include "platform/drawing_types.h"
#include "base/text.h"

namespace applet {

class SkinElement {
 public:
  SkinElement(SkinSectionType type, platform::WString name);
  virtual ~SkinElement();
  SkinElement(const SkinElement&) = delete;
  SkinElement& operator=(const SkinElement&) = delete;

  // Reads the common keys and then the kind's own (LoadKind).
  void Load(SkinLoadContext& context);

  SkinSectionType Type() const { return type_; }
  int32_t Kind() const { return SkinKindCode(type_); }
  const platform::Rect& Rect() const { return rect_; }
  // Moves the element, its size kept (the owner stacks entries this way).
  void MoveTo(int x, int y);
  const platform::WString& Name() const { return name_; }
  int32_t Group() const { return group_; }
  const platform::WString& ImageFileName() const { return imageFileName_; }
  const platform::WString& Text() const { return text_; }
  const platform::WString& Param() const { return param_; }
  bool IsVisible() const { return visible_; }
  const platform::WString& Action() const { return action_; }
  bool FiresOnRelease() const { return firesOnRelease_; }
  SkinOwner* Owner() const { return owner_; }

  // The operations, in the order of the engine's table.
  virtual void Draw(SkinDib& window, const platform::Rect& clip);
  virtual void BlendOnto(SkinDib& picture);
  virtual bool HitTest(int x, int y) const;
  virtual void PenDown(uint32_t flags, int x, int y);
  virtual void PenUp(uint32_t flags, int x, int y);
  virtual void SecondaryPress(int x, int y);
  virtual void PenMove(uint32_t flags, int x, int y);
  virtual void Tick();
  virtual int AttachOwner(SkinOwner* owner);
  virtual int InsertCharacter(char16_t character);
  virtual void Backspace();
  virtual void SetPercent(int percent);
  virtual void SetState(int state);
  virtual void SetText(platform::WStringView text);
  virtual int SetRange(int minimum, int maximum);
  virtual void SetValue(int value);
  virtual int GetState() const;
  virtual int GetPercent() const;
  // Copies the text, terminated, into buffer; the base copies nothing.
  virtual int GetText(std::span<char16_t> buffer) const;
  virtual int GetValue() const;
  virtual void Start();
  virtual void Stop();
  virtual void ShowTooltip();
  virtual void SetEnabled(bool enabled);
  virtual void SetVisible(bool visible);
  virtual void FireAction();
  virtual void SecondaryNotice();

 protected:
  // The kind's own keys; the common ones are read.
  virtual void LoadKind(SkinLoadContext& context) = 0;
  // The window area the element paints: its rectangle.
  virtual platform::Rect DrawnArea() const { return rect_; }

  void SetRect(const platform::Rect& rect) { rect_ = rect; }
  // "File", "Size" and "Pos" of the picture kinds: remembers the file and
  // places the element at Pos with Size, which it returns.
  SkinPoint LoadFileSizeAndPos(SkinDescription& description);
  void SetImageFileName(platform::WString name) { imageFileName_ = std::move(name); }
  void ReplaceText(platform::WString text) { text_ = std::move(text); }
  void ReplaceAction(platform::WString action) { action_ = std::move(action); }
  void SetFiresOnRelease(bool onRelease) { firesOnRelease_ = onRelease; }

  // Whether this element holds the pen.
  bool HoldsCapture() const { return owner_ != nullptr && owner_->CapturedElement() == this; }
  void Capture();
  void ReleaseCapture();
  void StartTooltipDelay();
  void StopTooltipDelay();
  void HideTooltip();
  void RedrawSelf();

  // Composes the part of picture that lies under clip at the element's
  // rectangle (the picture's top-left corner at the rectangle's).
  void ComposeAt(SkinDib& window, const platform::Rect& clip, const SkinDib& picture) const;

 private:
  SkinSectionType type_;
  platform::Rect rect_;
  platform::WString name_;
  int32_t group_ = 0;
  platform::WString imageFileName_;
  SkinOwner* owner_ = nullptr;
  platform::WString text_;
  platform::WString param_;
  bool visible_ = true;
  platform::WString action_;
  bool firesOnRelease_ = true;
};

}  // namespace applet
