#pragma once
// The painted shapes of a skin: solid rectangles, horizontal gradients in
// vertical bands, the dual gradient pattern, and lines. All draw through a
// device context onto a picture.

#include "applet/skin/skin_dib.h"
#include "applet/skin/skin_values.h"
#include "platform/drawing_types.h"

namespace applet {

// Fills the part of rect inside clip with one colour.
void FillSolidRect(SkinDib& target, const platform::Rect& rect, const platform::Rect& clip, SkinColour colour);

// Fills rect from the left colour to the right colour in n vertical bands,
// n the largest channel difference (at most the width, at least 1). Band i
// runs from left + i*w/n to left + (i+1)*w/n and has, per channel, left +
// i*delta/n (both truncated).
void PaintGradient(SkinDib& target, const platform::Rect& rect, SkinColour leftColour, SkinColour rightColour);

// Makes target a 24-bit picture of width x height painted with the dual
// gradient: two rows of the outer gradient, two of the inner, repeated from
// the top. kOk or kFailed.
int PaintDualGradient(SkinDib& target, int width, int height, SkinColour outerLeft, SkinColour outerRight,
                      SkinColour innerLeft, SkinColour innerRight);

// A solid line of the pen width from start to end, clipped to clip.
void DrawSkinLine(SkinDib& target, platform::Point start, platform::Point end, SkinColour colour, int width,
                  const platform::Rect& clip);

}  // namespace applet
