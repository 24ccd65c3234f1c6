#pragma once
// The actions an element fires, classified when they fire:
//   "'x'..."     more than two characters with a single quote first and
//                third: the character x (WM_SKINACTION, wParam 0)
//   digits only  a command (WM_COMMAND with the number); the empty action
//                is command 0
//   anything else a text action (WM_SKINACTION, wParam 1, the text)
// Buttons classify their list of actions by their own rule (see
// skin_button_element.h).

#include <cstdint>

#include "applet/skin/skin_owner.h"
#include "base/text.h"

namespace applet {

struct SkinAction {
  enum class Kind { Character, Command, Text };
  Kind kind = Kind::Command;
  char16_t character = 0;
  uint32_t command = 0;
};

SkinAction ClassifySkinAction(platform::WStringView action);

// Posts the action to the owner as its kind says; nothing without an owner.
void PostSkinAction(SkinOwner* owner, const platform::WString& action);

// The command number of a digits-only text (the platform's text-to-long;
// 0 for the empty text).
uint32_t SkinCommandNumber(platform::WStringView digits);

}  // namespace applet
