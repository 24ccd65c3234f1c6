#pragma once
// The skin engine's two messages to the user: a picture that cannot be
// created and a failed composition of the slider. They are the only texts of
// the engine that do not come from the resource library.
//
// Until the window system gives the platform its message boxes, a message is
// written to the device's journal as a box the user dismisses, the way a
// device without a screen reports message boxes.

#include "base/text.h"

namespace applet {

// "Erreur à la création du DIB\n cx=%i,cy=%i,bitCount=%i"
platform::WString PictureCreationMessage(int width, int height, int bitCount);
// "Erreur AlphaBlend %i"
platform::WString AlphaBlendMessage(int code);

void ShowSkinMessage(platform::WStringView text);

}  // namespace applet
