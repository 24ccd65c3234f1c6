#pragma once
// The painted elements: "Rect" (a filled rectangle), "GradientRect" and
// "DualGradientRect" (gradient rectangles whose halves fire their own
// actions) and "Line".
//
//   Rect              Color (128, 128, 128), Rect
//   GradientRect      LeftColor (0, 53, 196), RightColor (73, 125, 191),
//                     Rect, LeftAction and RightAction (the Action)
//   DualGradientRect  as GradientRect, and IntLeftColor (0, 53, 196),
//                     IntRightColor (73, 125, 191), IntLeftAction and
//                     IntRightAction (the Action) for the inner gradient,
//                     which takes rows 2 and 3 of every 4 from the top
//   Line              Start, End (0, 0), Color (black), Width (1)

#include "applet/skin/skin_element.h"
#include "applet/skin/skin_values.h"

namespace applet {

class SkinRectElement final : public SkinElement {
 public:
  static constexpr SkinColour kDefaultColour = SkinRgb(128, 128, 128);

  explicit SkinRectElement(platform::WString name) : SkinElement(SkinSectionType::Rect, std::move(name)) {}
  SkinColour Colour() const { return colour_; }
  void Draw(SkinDib& window, const platform::Rect& clip) override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  SkinColour colour_ = kDefaultColour;
};

class SkinGradientRectElement : public SkinElement {
 public:
  static constexpr SkinColour kDefaultLeftColour = SkinRgb(0, 53, 196);
  static constexpr SkinColour kDefaultRightColour = SkinRgb(73, 125, 191);

  explicit SkinGradientRectElement(platform::WString name, SkinSectionType type = SkinSectionType::GradientRect)
      : SkinElement(type, std::move(name)) {}

  void Draw(SkinDib& window, const platform::Rect& clip) override;
  void PenDown(uint32_t flags, int x, int y) override;
  void PenUp(uint32_t flags, int x, int y) override;
  void SecondaryPress(int x, int y) override;

  // The action a press at (x, y) fires: left or right of the middle.
  virtual const platform::WString& ActionAt(int x, int y) const;
  void FireAt(int x, int y);

 protected:
  void LoadKind(SkinLoadContext& context) override;
  // Paints the picture of the rectangle's size; false when it cannot be made.
  virtual bool Paint(SkinDib& picture) const;
  bool IsLeftHalf(int x) const;

  SkinColour leftColour_ = kDefaultLeftColour;
  SkinColour rightColour_ = kDefaultRightColour;
  platform::WString leftAction_;
  platform::WString rightAction_;

 private:
  SkinDib picture_;
  bool painted_ = false;
};

class SkinDualGradientRectElement final : public SkinGradientRectElement {
 public:
  explicit SkinDualGradientRectElement(platform::WString name)
      : SkinGradientRectElement(std::move(name), SkinSectionType::DualGradientRect) {}

  const platform::WString& ActionAt(int x, int y) const override;

 protected:
  void LoadKind(SkinLoadContext& context) override;
  bool Paint(SkinDib& picture) const override;

 private:
  SkinColour innerLeftColour_ = kDefaultLeftColour;
  SkinColour innerRightColour_ = kDefaultRightColour;
  platform::WString innerLeftAction_;
  platform::WString innerRightAction_;
};

class SkinLineElement final : public SkinElement {
 public:
  explicit SkinLineElement(platform::WString name) : SkinElement(SkinSectionType::Line, std::move(name)) {}

  void Draw(SkinDib& window, const platform::Rect& clip) override;
  // Within the box of the two end points widened by one pixel every way.
  bool HitTest(int x, int y) const override;

 protected:
  void LoadKind(SkinLoadContext& context) override;
  // The box of the end points, widened by the pen.
  platform::Rect DrawnArea() const override;

 private:
  SkinColour colour_ = 0;
  int width_ = 1;
};

}  // namespace applet
