#pragma once
// A skin owner for the element tests: it records what the elements ask of
// their window, holds the capture and the pending tooltip delay, and redraws
// the scene's window picture when asked, as the surface will.

#include <functional>
#include <string>
#include <vector>

#include "applet/skin/skin_element.h"
#include "applet/skin/skin_owner.h"
#include "applet/skin/skin_scene.h"

namespace skin_test {

class RecordingOwner : public applet::SkinOwner {
 public:
  // Notices posted to the window, in order: "command 5", "character a",
  // "text Name", "secondary Name".
  std::vector<std::string> posted;
  // Everything else: "capture Name", "release", "delay Name 500", "stop",
  // "tooltip text at x,y", "hide", "redraw l,t,r,b".
  std::vector<std::string> calls;
  // Rewrites texts offered through the text hook, when set.
  std::function<void(platform::WString&)> rewriteText;
  applet::SkinScene* scene = nullptr;

  void SendSkinText(platform::WString& text) override {
    if (rewriteText) rewriteText(text);
  }
  void PostCharacter(char16_t c) override { posted.push_back("character " + platform::ToUtf8(platform::WString(1, c))); }
  void PostTextAction(const platform::WString* action) override { posted.push_back("text " + platform::ToUtf8(*action)); }
  void PostSecondaryNotice(const platform::WString* action) override {
    posted.push_back("secondary " + platform::ToUtf8(*action));
  }
  void PostCommand(uint32_t command) override { posted.push_back("command " + std::to_string(command)); }

  void Capture(applet::SkinElement* element) override {
    captured = element;
    calls.push_back("capture " + platform::ToUtf8(element->Name()));
  }
  void Release() override {
    captured = nullptr;
    calls.push_back("release");
  }
  applet::SkinElement* CapturedElement() const override { return captured; }

  void StartTooltipDelay(applet::SkinElement* element, uint32_t ms) override {
    delayed = element;
    calls.push_back("delay " + platform::ToUtf8(element->Name()) + " " + std::to_string(ms));
  }
  void StopTooltipDelay() override {
    if (delayed == nullptr) return;
    delayed = nullptr;
    calls.push_back("stop");
  }
  void ShowTooltip(platform::WStringView text, int x, int y) override {
    calls.push_back("tooltip " + platform::ToUtf8(text) + " at " + std::to_string(x) + "," + std::to_string(y));
  }
  void HideTooltip() override { calls.push_back("hide"); }
  void Redraw(const platform::Rect& r) override {
    calls.push_back("redraw " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                    "," + std::to_string(r.bottom));
    if (scene != nullptr) scene->Redraw(&r);
  }

  // The pending delay runs out, as the tooltip timer would make it.
  bool ExpireDelay() {
    applet::SkinElement* element = delayed;
    if (element == nullptr) return false;
    delayed = nullptr;
    element->ShowTooltip();
    return true;
  }
  bool HasPendingDelay() const { return delayed != nullptr; }
  // Taps: pen down, then pen up at the same place, through the capture as
  // the surface routes them.
  void Tap(applet::SkinElement& element, int x, int y) {
    element.PenDown(0, x, y);
    (captured != nullptr ? *captured : element).PenUp(0, x, y);
  }

 private:
  applet::SkinElement* captured = nullptr;
  applet::SkinElement* delayed = nullptr;
};

}  // namespace skin_test
