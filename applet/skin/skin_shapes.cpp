#include "applet/skin/skin_shapes.h"

#include <algorithm>
#include <cstdlib>

#include "platform/brush.h"
#include "platform/device_context.h"
#include "platform/pen.h"

namespace applet {

namespace {

// The rows of the dual gradient's pattern.
constexpr int kDualPatternRows = 4;

std::unique_ptr<platform::DeviceContext> ContextOn(SkinDib& target) {
  auto dc = std::make_unique<platform::DeviceContext>();
  dc->SelectBitmap(target.Bitmap());
  return dc;
}

int ChannelDelta(SkinColour left, SkinColour right, int shift) {
  return static_cast<int>((right >> shift) & 0xFF) - static_cast<int>((left >> shift) & 0xFF);
}

}  // namespace

void FillSolidRect(SkinDib& target, const platform::Rect& rect, const platform::Rect& clip, SkinColour colour) {
  if (target.IsEmpty()) return;
  const platform::Rect part = platform::IntersectRect(rect, clip);
  if (part.IsEmpty()) return;
  ContextOn(target)->FillRect(part, *platform::Brush::CreateSolid(colour));
}

void PaintGradient(SkinDib& target, const platform::Rect& rect, SkinColour leftColour, SkinColour rightColour) {
  if (target.IsEmpty() || rect.IsEmpty()) return;
  auto dc = ContextOn(target);
  const int deltas[3] = {ChannelDelta(leftColour, rightColour, 0), ChannelDelta(leftColour, rightColour, 8),
                         ChannelDelta(leftColour, rightColour, 16)};
  const int width = rect.Width();
  int bands = std::max({std::abs(deltas[0]), std::abs(deltas[1]), std::abs(deltas[2])});
  if (width < bands) bands = width;
  if (bands == 0) bands = 1;
  const bool hasPalette = (dc->GetDeviceCaps(platform::kRasterCaps) & platform::kRcPalette) != 0;
  if (!hasPalette && bands > 1 && dc->GetDeviceCaps(platform::kBitsPixel) * dc->GetDeviceCaps(platform::kPlanes) < 8)
    bands = 1;

  const int left[3] = {SkinRed(leftColour), SkinGreen(leftColour), SkinBlue(leftColour)};
  for (int i = 0; i < bands; ++i) {
    const int from = rect.left + static_cast<int>(static_cast<double>(i) * width / bands);
    const int to = i + 1 == bands ? rect.right : rect.left + static_cast<int>(static_cast<double>(i + 1) * width / bands);
    uint8_t channel[3];
    for (int c = 0; c < 3; ++c)
      channel[c] = static_cast<uint8_t>(left[c] + static_cast<int>(static_cast<double>(i) * deltas[c] / bands));
    dc->FillRect({from, rect.top, to, rect.bottom},
                 *platform::Brush::CreateSolid(SkinRgb(channel[0], channel[1], channel[2])));
  }
}

int PaintDualGradient(SkinDib& target, int width, int height, SkinColour outerLeft, SkinColour outerRight,
                      SkinColour innerLeft, SkinColour innerRight) {
  SkinDib pattern;
  if (pattern.Create(width, kDualPatternRows, 24) != SkinDib::kOk) return SkinDib::kFailed;
  PaintGradient(pattern, {0, 0, width, 2}, outerLeft, outerRight);
  PaintGradient(pattern, {0, 2, width, kDualPatternRows}, innerLeft, innerRight);
  if (pattern.TileToSize(width, height) != SkinDib::kOk) return SkinDib::kFailed;
  target = std::move(pattern);
  return SkinDib::kOk;
}

void DrawSkinLine(SkinDib& target, platform::Point start, platform::Point end, SkinColour colour, int width,
                  const platform::Rect& clip) {
  if (target.IsEmpty()) return;
  auto dc = ContextOn(target);
  dc->SetClipRect(clip);
  dc->SelectPen(platform::Pen::Create(platform::kPsSolid, width, colour));
  dc->MoveTo(start);
  dc->LineTo(end);
}

}  // namespace applet
