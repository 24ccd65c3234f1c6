#include "applet/skin/skin_image_element.h"

namespace applet {

void SkinImageElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  SetImageFileName(d.Text(Name(), u"File", u""));
  const platform::Rect window = d.Rect(Name(), u"Window");
  const SkinPoint pos = d.Pair(Name(), u"pos");
  SetRect({pos.x, pos.y, pos.x + window.Width(), pos.y + window.Height()});

  const SkinImageFile* image = context.Image(ImageFileName(), Name());
  if (image == nullptr) return;
  const platform::Rect piece = platform::IntersectRect(window, image->Bounds());
  if (piece.IsEmpty()) {
    d.Note(Name(), u"Window", u"the piece lies outside the picture");
    return;
  }
  picture_.CreateCut(*image, piece.left, piece.top, piece.Width(), piece.Height());
  if (piece == window) return;
  d.Note(Name(), u"Window", u"the piece reaches outside the picture and is repeated to fill it");
  if (picture_.BitCount() < 24) picture_.Convert(24);
  picture_.TileToSize(window.Width(), window.Height());
}

void SkinImageElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (IsVisible()) ComposeAt(window, clip, picture_);
}

}  // namespace applet
