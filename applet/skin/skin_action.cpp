#include "applet/skin/skin_action.h"

#include <algorithm>

namespace applet {

uint32_t SkinCommandNumber(platform::WStringView digits) {
  return static_cast<uint32_t>(platform::TextToLong(digits));
}

SkinAction ClassifySkinAction(platform::WStringView action) {
  SkinAction a;
  if (action.size() > 2 && action[0] == u'\'' && action[2] == u'\'') {
    a.kind = SkinAction::Kind::Character;
    a.character = action[1];
  } else if (std::all_of(action.begin(), action.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
    a.kind = SkinAction::Kind::Command;
    a.command = SkinCommandNumber(action);
  } else {
    a.kind = SkinAction::Kind::Text;
  }
  return a;
}

void PostSkinAction(SkinOwner* owner, const platform::WString& action) {
  if (owner == nullptr) return;
  const SkinAction a = ClassifySkinAction(action);
  switch (a.kind) {
    case SkinAction::Kind::Character:
      owner->PostCharacter(a.character);
      break;
    case SkinAction::Kind::Command:
      owner->PostCommand(a.command);
      break;
    case SkinAction::Kind::Text:
      owner->PostTextAction(&action);
      break;
  }
}

}  // namespace applet
