#include "applet/skin/skin_element.h"

#include <algorithm>

#include "applet/device/sectioned_text_reader.h"
#include "applet/skin/skin_action.h"

namespace applet {

using platform::WString;
using platform::WStringView;

SkinElement::SkinElement(SkinSectionType type, WString name) : type_(type), name_(std::move(name)) {}
SkinElement::~SkinElement() = default;

void SkinElement::Load(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  owner_ = context.Owner();
  visible_ = d.Int(name_, u"show", 1) == 1;
  text_ = d.Text(name_, u"text", u"");
  if (owner_ != nullptr) owner_->SendSkinText(text_);
  param_ = d.Text(name_, u"Param", u"");
  action_ = d.Text(name_, u"Action", name_);
  firesOnRelease_ = !SectionedTextReader::KeysEqual(d.Text(name_, u"Trigger", u"UP"), u"DOWN");
  group_ = d.Int(name_, u"Group", 0);
  LoadKind(context);
}

SkinPoint SkinElement::LoadFileSizeAndPos(SkinDescription& d) {
  imageFileName_ = d.Text(name_, u"File", u"");
  const SkinPoint size = d.Pair(name_, u"Size");
  const SkinPoint pos = d.Pair(name_, u"Pos");
  rect_ = {pos.x, pos.y, pos.x + size.x, pos.y + size.y};
  return size;
}

void SkinElement::MoveTo(int x, int y) { rect_ = platform::OffsetRect(rect_, x - rect_.left, y - rect_.top); }

void SkinElement::Draw(SkinDib&, const platform::Rect&) {}
void SkinElement::BlendOnto(SkinDib&) {}

bool SkinElement::HitTest(int x, int y) const { return rect_.Contains({x, y}); }

void SkinElement::PenDown(uint32_t, int, int) {
  Capture();
  if (firesOnRelease_)
    StartTooltipDelay();
  else
    FireAction();
}

void SkinElement::PenUp(uint32_t, int x, int y) {
  if (!HoldsCapture()) return;
  ReleaseCapture();
  StopTooltipDelay();
  HideTooltip();
  if (firesOnRelease_ && HitTest(x, y)) FireAction();
}

void SkinElement::SecondaryPress(int, int) {
  StopTooltipDelay();
  HideTooltip();
  SecondaryNotice();
}

void SkinElement::PenMove(uint32_t, int, int) {}
void SkinElement::Tick() {}

int SkinElement::AttachOwner(SkinOwner* owner) {
  owner_ = owner;
  return 1;
}

int SkinElement::InsertCharacter(char16_t) { return 1; }
void SkinElement::Backspace() {}
void SkinElement::SetPercent(int) {}
void SkinElement::SetState(int) {}
void SkinElement::SetText(WStringView text) { text_ = WString(text); }
int SkinElement::SetRange(int, int) { return 0; }
void SkinElement::SetValue(int) {}
int SkinElement::GetState() const { return 0; }
int SkinElement::GetPercent() const { return 0; }
int SkinElement::GetText(std::span<char16_t>) const { return 1; }
int SkinElement::GetValue() const { return 0; }
void SkinElement::Start() {}
void SkinElement::Stop() {}
void SkinElement::ShowTooltip() {}
void SkinElement::SetEnabled(bool) {}

void SkinElement::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  RedrawSelf();
}

void SkinElement::FireAction() { PostSkinAction(owner_, action_); }

void SkinElement::SecondaryNotice() {
  if (owner_ != nullptr) owner_->PostSecondaryNotice(&action_);
}

void SkinElement::Capture() {
  if (owner_ != nullptr) owner_->Capture(this);
}

void SkinElement::ReleaseCapture() {
  if (owner_ != nullptr) owner_->Release();
}

void SkinElement::StartTooltipDelay() {
  if (owner_ != nullptr) owner_->StartTooltipDelay(this, kTooltipDelayMs);
}

void SkinElement::StopTooltipDelay() {
  if (owner_ != nullptr) owner_->StopTooltipDelay();
}

void SkinElement::HideTooltip() {
  if (owner_ != nullptr) owner_->HideTooltip();
}

void SkinElement::RedrawSelf() {
  if (owner_ != nullptr) owner_->Redraw(DrawnArea());
}

void SkinElement::ComposeAt(SkinDib& window, const platform::Rect& clip, const SkinDib& picture) const {
  if (picture.IsEmpty()) return;
  const platform::Rect placed{rect_.left, rect_.top, rect_.left + picture.Width(), rect_.top + picture.Height()};
  const platform::Rect part = platform::IntersectRect(platform::IntersectRect(placed, clip), window.Bounds());
  if (part.IsEmpty()) return;
  window.Compose(part.left, part.top, part.Width(), part.Height(), picture, part.left - rect_.left,
                 part.top - rect_.top);
}

}  // namespace applet
