#pragma once
// "image": a piece of a picture file shown at a place in the window.
//
//   File     the picture file
//   Window   the piece of the picture to show (a rectangle of the picture)
//   pos      where the piece's top-left corner goes in the window
//
// The piece is Window cut to the picture's bounds; when the cut is smaller
// than Window it is made 24 bits (unless it has 32) and repeated across and
// down to Window's size.

#include "applet/skin/skin_element.h"

namespace applet {

class SkinImageElement final : public SkinElement {
 public:
  explicit SkinImageElement(platform::WString name) : SkinElement(SkinSectionType::Image, std::move(name)) {}

  const SkinDib& Picture() const { return picture_; }
  void Draw(SkinDib& window, const platform::Rect& clip) override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  SkinDib picture_;
};

}  // namespace applet
