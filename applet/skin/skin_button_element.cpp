#include "applet/skin/skin_button_element.h"

#include <algorithm>

#include "applet/device/sectioned_text_reader.h"
#include "applet/skin/skin_action.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

constexpr WStringView kStateKeys[] = {u"Up", u"Down", u"Disabled"};

bool IsDigits(WStringView text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

void CutStatePicture(SkinLoadContext& context, WStringView section, WStringView key, const SkinImageFile* image,
                     SkinPoint offset, SkinPoint size, SkinDib& out) {
  if (image == nullptr || size.x == 0 || size.y == 0) return;
  if (!out.CreateCut(*image, offset.x, offset.y, size.x, size.y))
    context.Description().Note(section, key, u"the state picture lies outside the picture file");
}

void SkinButtonElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  const SkinPoint size = LoadFileSizeAndPos(d);
  toolTip_ = d.Text(Name(), u"ToolTip", u"");
  actions_ = SectionedTextReader::SplitList(Action(), u',');
  if (actions_.empty()) actions_.emplace_back();  // the empty action: command 0

  const SkinImageFile* image = context.Image(ImageFileName(), Name());
  for (int state = kUp; state <= kDisabled; ++state)
    CutStatePicture(context, Name(), kStateKeys[state], image, d.Pair(Name(), kStateKeys[state]), size,
                    pictures_[state]);
}

const SkinDib& SkinButtonElement::PictureFor(int state) const {
  if (state >= kUp && state <= kDisabled && !pictures_[state].IsEmpty()) return pictures_[state];
  return pictures_[kUp];
}

void SkinButtonElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (IsVisible()) ComposeAt(window, clip, PictureFor(state_));
}

void SkinButtonElement::SetButtonState(int state) {
  if (state == state_) return;
  state_ = state;
  RedrawSelf();
}

void SkinButtonElement::PenDown(uint32_t, int x, int y) {
  if (state_ == kDisabled) return;
  Capture();
  SetButtonState(kDown);
  nextAction_ = 0;
  lastFired_ = Fired::None;
  pressPoint_ = {x, y};
  if (FiresOnRelease())
    StartTooltipDelay();
  else
    FireAction();
}

void SkinButtonElement::PenMove(uint32_t, int x, int y) {
  if (!HoldsCapture()) return;
  if (HitTest(x, y)) {
    const bool wasDown = state_ == kDown;
    SetButtonState(kDown);
    if (!FiresOnRelease() && !wasDown) FireAction();
  } else {
    SetButtonState(kUp);
    StopTooltipDelay();
  }
}

void SkinButtonElement::PenUp(uint32_t, int x, int y) {
  if (!HoldsCapture()) return;
  SetButtonState(kUp);
  ReleaseCapture();
  if (FiresOnRelease() && HitTest(x, y)) FireAction();
  StopTooltipDelay();
  HideTooltip();
}

void SkinButtonElement::FireAction() {
  SkinOwner* owner = Owner();
  if (owner == nullptr) return;
  if (lastFired_ == Fired::Character) owner->PostCommand(kCommandBetweenCharacters);
  const WString& action = actions_[nextAction_];
  if (action.size() == 3 && action[0] == u'(' && action[2] == u')') {
    owner->PostCharacter(action[1]);
    lastFired_ = Fired::Character;
    StartTooltipDelay();
  } else if (!IsDigits(action)) {
    owner->PostTextAction(&action);
    lastFired_ = Fired::Text;
  } else {
    owner->PostCommand(SkinCommandNumber(action));
    lastFired_ = Fired::Command;
    StartTooltipDelay();
  }
  nextAction_ = (nextAction_ + 1) % actions_.size();
}

void SkinButtonElement::ShowTooltip() {
  StopTooltipDelay();
  if (FiresOnRelease()) {
    if (Owner() != nullptr) Owner()->ShowTooltip(toolTip_, Rect().left, Rect().top);
  } else {
    FireAction();
  }
}

void SkinButtonElement::SetEnabled(bool enabled) {
  if (enabled) {
    state_ = kUp;
  } else {
    if (state_ == kDown) PenUp(0, 0, 0);
    state_ = kDisabled;
  }
  RedrawSelf();
}

void SkinSwitchElement::LoadKind(SkinLoadContext& context) {
  SkinButtonElement::LoadKind(context);
  SetFiresOnRelease(true);
}

void SkinSwitchElement::PenDown(uint32_t flags, int x, int y) {
  stateAtPress_ = GetState();
  SkinButtonElement::PenDown(flags, x, y);
}

void SkinSwitchElement::PenUp(uint32_t, int x, int y) {
  if (!HoldsCapture()) return;
  ReleaseCapture();
  if (HitTest(x, y)) {
    SetButtonState(stateAtPress_ != kDown ? kDown : kUp);
    FireAction();
  } else {
    // Dragged off: the switch keeps the state it had.
    SetButtonState(stateAtPress_);
  }
  StopTooltipDelay();
  HideTooltip();
}

void SkinSwitchElement::SetState(int state) { SetButtonState(state); }

}  // namespace applet
