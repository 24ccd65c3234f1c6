#include "tools/skin/skin_render.h"

#include <cstring>

#include "applet/skin/error_diffusion.h"
#include "applet/skin/skin_owner.h"
#include "applet/skin/skin_scene.h"

namespace skin_tool {

namespace {

// A window without a screen: it keeps the capture and redraws the picture,
// and lets notices, timers and tooltips go.
class DrawingOwner : public applet::SkinOwner {
 public:
  explicit DrawingOwner(applet::SkinScene& scene) : scene_(scene) {}

  void SendSkinText(platform::WString&) override {}
  void PostCharacter(char16_t) override {}
  void PostTextAction(const platform::WString*) override {}
  void PostSecondaryNotice(const platform::WString*) override {}
  void PostCommand(uint32_t) override {}
  void Capture(applet::SkinElement* element) override { captured_ = element; }
  void Release() override { captured_ = nullptr; }
  applet::SkinElement* CapturedElement() const override { return captured_; }
  void StartTooltipDelay(applet::SkinElement*, uint32_t) override {}
  void StopTooltipDelay() override {}
  void ShowTooltip(platform::WStringView, int, int) override {}
  void HideTooltip() override {}
  void Redraw(const platform::Rect& rect) override { scene_.Redraw(&rect); }

 private:
  applet::SkinScene& scene_;
  applet::SkinElement* captured_ = nullptr;
};

applet::SkinElement* Find(applet::SkinScene& scene, const platform::WString& name, std::string* why) {
  applet::SkinElement* element = scene.FindElement(name);
  if (element == nullptr && why) *why = "no element [" + platform::ToUtf8(name) + "] in the description";
  return element;
}

}  // namespace

bool RenderSkin(platform::WStringView folder, platform::WStringView fileName, const RenderOptions& options,
                applet::SkinDib& out, std::string* why) {
  applet::SkinScene scene;
  DrawingOwner owner(scene);
  if (scene.Load(folder, fileName, &owner) != applet::SkinDib::kOk) {
    if (why) *why = "the window picture cannot be made";
    return false;
  }
  for (const platform::WString& name : options.disable) {
    applet::SkinElement* element = Find(scene, name, why);
    if (element == nullptr) return false;
    element->SetEnabled(false);
  }
  for (const platform::WString& name : options.press) {
    applet::SkinElement* element = Find(scene, name, why);
    if (element == nullptr) return false;
    const platform::Rect& r = element->Rect();
    element->PenDown(0, r.left + r.Width() / 2, r.top + r.Height() / 2);
  }

  const applet::SkinDib& window = scene.WindowPicture();
  if (out.Create(window.Width(), window.Height(), 24) != applet::SkinDib::kOk) {
    if (why) *why = "the picture cannot be made";
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(window.Width()) * 3;
  for (int y = 0; y < window.Height(); ++y) std::memcpy(out.Row(y), window.Row(y), rowBytes);
  if (options.display && out.Height() > 0) {
    const ptrdiff_t step = out.Height() > 1 ? out.Row(1) - out.Row(0) : 0;
    applet::DiffuseToDisplayLevels({out.Row(0), step}, {out.Row(0), step}, out.Width(), out.Height());
  }
  return true;
}

}  // namespace skin_tool
