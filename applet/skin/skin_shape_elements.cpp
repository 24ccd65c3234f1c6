#include "applet/skin/skin_shape_elements.h"

#include <algorithm>

#include "applet/skin/skin_shapes.h"

namespace applet {

using platform::WString;

void SkinRectElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  colour_ = d.Colour(Name(), u"Color", kDefaultColour);
  SetRect(d.Rect(Name(), u"Rect"));
}

void SkinRectElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (IsVisible()) FillSolidRect(window, Rect(), clip, colour_);
}

void SkinGradientRectElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  leftColour_ = d.Colour(Name(), u"LeftColor", kDefaultLeftColour);
  rightColour_ = d.Colour(Name(), u"RightColor", kDefaultRightColour);
  SetRect(d.Rect(Name(), u"Rect"));
  leftAction_ = d.Text(Name(), u"LeftAction", Action());
  rightAction_ = d.Text(Name(), u"RightAction", Action());
}

bool SkinGradientRectElement::Paint(SkinDib& picture) const {
  if (picture.Create(Rect().Width(), Rect().Height(), 24) != SkinDib::kOk) return false;
  PaintGradient(picture, picture.Bounds(), leftColour_, rightColour_);
  return true;
}

void SkinGradientRectElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (!IsVisible() || Rect().IsEmpty()) return;
  if (!painted_) {
    painted_ = true;
    Paint(picture_);
  }
  ComposeAt(window, clip, picture_);
}

bool SkinGradientRectElement::IsLeftHalf(int x) const { return x < Rect().left + Rect().Width() / 2; }

const WString& SkinGradientRectElement::ActionAt(int x, int) const {
  return IsLeftHalf(x) ? leftAction_ : rightAction_;
}

void SkinGradientRectElement::FireAt(int x, int y) {
  if (Owner() != nullptr) Owner()->PostTextAction(&ActionAt(x, y));
}

void SkinGradientRectElement::PenDown(uint32_t, int x, int y) {
  Capture();
  if (FiresOnRelease())
    StartTooltipDelay();
  else
    FireAt(x, y);
}

void SkinGradientRectElement::PenUp(uint32_t, int x, int y) {
  if (!HoldsCapture()) return;
  ReleaseCapture();
  StopTooltipDelay();
  HideTooltip();
  if (FiresOnRelease() && HitTest(x, y)) FireAt(x, y);
}

void SkinGradientRectElement::SecondaryPress(int x, int y) {
  StopTooltipDelay();
  HideTooltip();
  if (Owner() != nullptr) Owner()->PostSecondaryNotice(&ActionAt(x, y));
}

void SkinDualGradientRectElement::LoadKind(SkinLoadContext& context) {
  SkinGradientRectElement::LoadKind(context);
  SkinDescription& d = context.Description();
  innerLeftColour_ = d.Colour(Name(), u"IntLeftColor", kDefaultLeftColour);
  innerRightColour_ = d.Colour(Name(), u"IntRightColor", kDefaultRightColour);
  innerLeftAction_ = d.Text(Name(), u"IntLeftAction", Action());
  innerRightAction_ = d.Text(Name(), u"IntRightAction", Action());
}

bool SkinDualGradientRectElement::Paint(SkinDib& picture) const {
  return PaintDualGradient(picture, Rect().Width(), Rect().Height(), leftColour_, rightColour_, innerLeftColour_,
                           innerRightColour_) == SkinDib::kOk;
}

const WString& SkinDualGradientRectElement::ActionAt(int x, int y) const {
  const int row = ((y - Rect().top) % 4 + 4) % 4;
  if (row > 1) return IsLeftHalf(x) ? innerLeftAction_ : innerRightAction_;
  return IsLeftHalf(x) ? leftAction_ : rightAction_;
}

void SkinLineElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  const SkinPoint start = d.Pair(Name(), u"Start");
  const SkinPoint end = d.Pair(Name(), u"End");
  colour_ = d.Colour(Name(), u"Color", 0);
  width_ = d.Int(Name(), u"Width", 1);
  SetRect({start.x, start.y, end.x, end.y});
}

void SkinLineElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (!IsVisible()) return;
  DrawSkinLine(window, {Rect().left, Rect().top}, {Rect().right, Rect().bottom}, colour_, width_, clip);
}

bool SkinLineElement::HitTest(int x, int y) const {
  const platform::Rect& r = Rect();
  return x >= std::min(r.left, r.right) - 1 && x <= std::max(r.left, r.right) + 1 &&
         y >= std::min(r.top, r.bottom) - 1 && y <= std::max(r.top, r.bottom) + 1;
}

platform::Rect SkinLineElement::DrawnArea() const {
  const platform::Rect& r = Rect();
  const int margin = std::max(width_, 1);
  return {std::min(r.left, r.right) - margin, std::min(r.top, r.bottom) - margin,
          std::max(r.left, r.right) + margin + 1, std::max(r.top, r.bottom) + margin + 1};
}

}  // namespace applet
