// Loads arbitrary bytes as a skin description, with the sample skins'
// pictures beside it, as a window would: every element and font the
// sections ask for is made and drawn. No input may crash or leak; the
// window picture is made unless its stated size is refused.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "applet/skin/skin_description.h"
#include "applet/skin/skin_scene.h"
#include "fuzz/fuzz_device.h"

namespace {

void CopySamplePictures() {
  static bool copied = false;
  if (copied) return;
  copied = true;
  auto& device = fuzz_support::FuzzDevice::Get();
  for (const auto& entry : std::filesystem::directory_iterator(VELM_SAMPLE_SKINS)) {
    if (entry.path().extension() == ".inf" || entry.path().extension() == ".py") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    device.WriteFile(entry.path().filename().string(), bytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CopySamplePictures();
  fuzz_support::FuzzDevice::Get().WriteFile("skin.inf", std::string_view(reinterpret_cast<const char*>(data), size));
  applet::SkinDescription::ResetStickyColours();
  applet::SkinScene scene;
  const int result = scene.Load(u"\\", u"skin.inf", nullptr);
  if (result == applet::SkinDib::kOk && scene.WindowPicture().IsEmpty()) std::abort();
  for (const auto& element : scene.Elements()) {
    element->PenDown(0, element->Rect().left, element->Rect().top);
    element->PenMove(0, element->Rect().right, element->Rect().bottom);
    element->PenUp(0, element->Rect().left, element->Rect().top);
    element->SetPercent(50);
    element->SetText(u"fuzz");
    element->SetEnabled(false);
    element->Tick();
  }
  scene.Redraw();
  return 0;
}
