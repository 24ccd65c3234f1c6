#include "applet/skin/skin_multistate_element.h"

#include <algorithm>

#include "applet/skin/skin_button_element.h"
#include "applet/skin/skin_message.h"

namespace applet {

using platform::WString;

namespace {

// A picture of 32 bits from one of fewer, opaque.
bool MakeOpaque32(SkinDib& picture) {
  if (picture.IsEmpty() || picture.BitCount() == 32) return true;
  if (picture.Convert(32) != SkinDib::kOk) return false;
  picture.SetAlpha(255);
  return true;
}

}  // namespace

void SkinMultistateElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  const SkinPoint size = LoadFileSizeAndPos(d);
  toolTip_ = d.Text(Name(), u"ToolTip", u"");
  command_ = static_cast<uint32_t>(d.Int(Name(), u"Action", 0));

  const SkinImageFile* image = context.Image(ImageFileName(), Name());
  for (int i = 1;; ++i) {
    const WString key = platform::Format(u"state%i", {static_cast<long long>(i)});
    bool present = false;
    const SkinPoint offset = d.Pair(Name(), key, &present);
    if (!present) break;
    SkinDib picture;
    CutStatePicture(context, Name(), key, image, offset, size, picture);
    if (!picture.IsEmpty()) states_.push_back(std::move(picture));
  }
}

const SkinDib* SkinMultistateElement::ShownPicture() const {
  if (states_.empty()) return nullptr;
  if (state_ >= 0 && static_cast<size_t>(state_) < states_.size()) return &states_[static_cast<size_t>(state_)];
  return &states_.front();
}

void SkinMultistateElement::Draw(SkinDib& window, const platform::Rect& clip) {
  const SkinDib* picture = ShownPicture();
  if (IsVisible() && picture != nullptr) ComposeAt(window, clip, *picture);
}

void SkinMultistateElement::PenDown(uint32_t, int, int) {
  Capture();
  StartTooltipDelay();
}

void SkinMultistateElement::PenUp(uint32_t, int, int) {
  if (!HoldsCapture()) return;
  if (enabled_ && Owner() != nullptr) Owner()->PostCommand(command_);
  ReleaseCapture();
  StopTooltipDelay();
  HideTooltip();
}

void SkinMultistateElement::SetPercent(int percent) {
  percent_ = percent;
  const int n = static_cast<int>(states_.size());
  if (n > 1) {
    // More than 101 states would make the step 0: one percent a state then.
    const int step = std::max(1, 100 / (n - 1));
    state_ = (percent + step / 2) / step;
  }
  RedrawSelf();
}

void SkinMultistateElement::SetState(int state) {
  if (state < 0 || static_cast<size_t>(state) >= states_.size() || state == state_) return;
  state_ = state;
  RedrawSelf();
}

void SkinMultistateElement::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  RedrawSelf();
}

void SkinMultistateElement::ShowTooltip() {
  StopTooltipDelay();
  if (Owner() != nullptr) Owner()->ShowTooltip(toolTip_, Rect().left, Rect().top);
}

void SkinSliderElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  SetImageFileName(d.Text(Name(), u"File", u""));
  const platform::Rect background = d.Rect(Name(), u"background");
  const SkinPoint pos = d.Pair(Name(), u"pos");
  SetRect({pos.x, pos.y, pos.x + background.Width(), pos.y + background.Height()});
  const SkinPoint size = d.Pair(Name(), u"Size");
  const SkinPoint cursor = d.Pair(Name(), u"Cursor");
  const SkinPoint disabledCursor = d.Pair(Name(), u"CursorDisabled");
  const SkinPoint start = d.Pair(Name(), u"start");
  const SkinPoint end = d.Pair(Name(), u"End");
  start_ = {start.x, start.y};
  end_ = {end.x, end.y};
  toolTip_ = d.Text(Name(), u"ToolTip", u"");
  command_ = static_cast<uint32_t>(d.Int(Name(), u"Action", 0));
  if (start_.y == end_.y) d.Note(Name(), u"End", u"start and End at the same height: the slider cannot be dragged");

  // The composition picture is made even without a file: a slider without
  // a usable background or cursor size tells the user it could not be made.
  if (composition_.Create(background.Width(), background.Height(), 32) != SkinDib::kOk) return;
  const SkinImageFile* image = context.Image(ImageFileName(), Name());
  if (image == nullptr) return;
  if (!background_.CreateCut(*image, background.left, background.top, background.Width(), background.Height()))
    d.Note(Name(), u"background", u"the background lies outside the picture file");
  CutStatePicture(context, Name(), u"Cursor", image, cursor, size, cursor_);
  CutStatePicture(context, Name(), u"CursorDisabled", image, disabledCursor, size, disabledCursor_);
  if (image->BitCount() != 32) {
    d.Note(Name(), u"File", u"the slider's picture file has no alpha; its pictures are drawn opaque");
    MakeOpaque32(background_);
    MakeOpaque32(cursor_);
    MakeOpaque32(disabledCursor_);
  }
  Recompose();
}

// Positions and values are worked out in 64 bits: a range set by the owner
// may be as wide as an int.
platform::Point SkinSliderElement::CursorPosition() const {
  const int64_t range = int64_t{maximum_} - minimum_;
  if (range == 0) return start_;
  const int64_t along = int64_t{value_} - minimum_;
  return {static_cast<int>(start_.x + (int64_t{end_.x} - start_.x) * along / range),
          static_cast<int>(start_.y + (int64_t{end_.y} - start_.y) * along / range)};
}

void SkinSliderElement::Recompose() {
  if (composition_.IsEmpty()) return;
  if (!background_.IsEmpty()) composition_.CopyBlock(background_, 0, 0);
  const SkinDib& cursor = enabled_ || disabledCursor_.IsEmpty() ? cursor_ : disabledCursor_;
  if (cursor.IsEmpty()) return;
  const platform::Point at = CursorPosition();
  const int result = composition_.Compose(at.x, at.y, cursor.Width(), cursor.Height(), cursor, 0, 0);
  if (result != SkinDib::kOk) ShowSkinMessage(AlphaBlendMessage(result));
}

void SkinSliderElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (IsVisible()) ComposeAt(window, clip, composition_);
}

void SkinSliderElement::PenDown(uint32_t, int x, int y) {
  if (!enabled_) return;
  Capture();
  StartTooltipDelay();
  const platform::Point at = CursorPosition();
  const int left = Rect().left + at.x;
  const int top = Rect().top + at.y;
  if (x >= left && x <= left + cursor_.Width() && y >= top && y <= top + cursor_.Height()) grabOffset_ = y - top;
}

void SkinSliderElement::ValueFromPen(int y) {
  const int64_t travel = int64_t{end_.y} - start_.y;
  const int64_t range = int64_t{maximum_} - minimum_;
  if (travel == 0 || range == 0) return;
  int64_t offset = int64_t{y} - Rect().top - grabOffset_;
  offset += (travel / range) / 2;
  const int value = static_cast<int>(std::clamp<int64_t>(minimum_ + (offset - start_.y) * range / travel,
                                                         std::min(minimum_, maximum_), std::max(minimum_, maximum_)));
  if (value == value_) return;
  value_ = value;
  Recompose();
  RedrawSelf();
}

void SkinSliderElement::PenMove(uint32_t, int, int y) {
  if (HoldsCapture()) ValueFromPen(y);
}

void SkinSliderElement::PenUp(uint32_t, int, int y) {
  if (!HoldsCapture()) return;
  ValueFromPen(y);
  ReleaseCapture();
  StopTooltipDelay();
  HideTooltip();
  if (Owner() != nullptr) Owner()->PostCommand(command_);
  committed_ = value_;
}

void SkinSliderElement::Tick() {
  if (value_ == committed_) return;
  if (Owner() != nullptr) Owner()->PostCommand(command_);
  committed_ = value_;
}

void SkinSliderElement::SetPercent(int percent) {
  value_ = static_cast<int>(minimum_ + (int64_t{maximum_} - minimum_) * std::clamp(percent, 0, 100) / 100);
  Recompose();
  RedrawSelf();
}

int SkinSliderElement::GetPercent() const {
  const int64_t range = int64_t{maximum_} - minimum_;
  return range == 0 ? 0 : static_cast<int>((int64_t{value_} - minimum_) * 100 / range);
}

int SkinSliderElement::SetRange(int minimum, int maximum) {
  if (minimum == maximum) return 0;
  minimum_ = minimum;
  maximum_ = maximum;
  value_ = committed_ = minimum;
  Recompose();
  RedrawSelf();
  return 1;
}

void SkinSliderElement::SetValue(int value) {
  value_ = committed_ = std::clamp(value, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
  Recompose();
  RedrawSelf();
}

void SkinSliderElement::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Recompose();
  RedrawSelf();
}

void SkinSliderElement::ShowTooltip() {
  StopTooltipDelay();
  if (Owner() != nullptr) Owner()->ShowTooltip(toolTip_, Rect().left, Rect().top);
}

}  // namespace applet
