#include "applet/skin/skin_scene.h"

#include <algorithm>

#include "applet/skin/skin_element_factory.h"
#include "applet/skin/skin_gdi_font.h"
#include "applet/skin/skin_load_context.h"

namespace applet {

using platform::WString;
using platform::WStringView;

SkinScene::SkinScene() = default;
SkinScene::~SkinScene() = default;

void SkinScene::Reset() {
  elements_.clear();
  fonts_.clear();
}

int SkinScene::Load(WStringView folder, WStringView fileName, SkinOwner* owner, SkinDiagnostics* diagnostics) {
  Reset();
  folder_ = WString(folder);
  path_ = folder_ + WString(fileName);
  SkinDescription description;
  description.SetDiagnostics(diagnostics);
  description.Open(folder, fileName);

  const SkinPoint size = description.WindowSize();
  windowRect_ = {0, 0, size.x, size.y};
  SkinLoadContext context(description, owner, fonts_, DefaultFont());
  for (const WString& section : description.Sections()) {
    const SkinSectionType type = ParseSkinSectionType(description.Text(section, u"type", u""));
    if (std::unique_ptr<SkinElement> element = MakeSkinElement(type, section)) {
      element->Load(context);
      elements_.push_back(std::move(element));
    } else if (std::unique_ptr<SkinFont> font = LoadSkinFont(type, description, section)) {
      fonts_.push_back(std::move(font));
    }
  }
  pictureReads_ = context.ImageReads();
  context.DropImages();

  if (window_.Create(size.x, size.y, 24) != SkinDib::kOk) return SkinDib::kFailed;
  window_.FillWhite();
  Redraw();
  return SkinDib::kOk;
}

void SkinScene::AttachOwner(SkinOwner* owner) {
  for (const auto& element : elements_) element->AttachOwner(owner);
}

platform::Rect SkinScene::Redraw(const platform::Rect* rect) {
  const platform::Rect area = rect == nullptr ? windowRect_ : platform::IntersectRect(*rect, windowRect_);
  if (area.IsEmpty() || window_.IsEmpty()) return {};
  for (const auto& element : elements_) element->Draw(window_, area);
  return area;
}

SkinElement* SkinScene::FindElement(WStringView name) const {
  for (const auto& element : elements_)
    if (element->Name() == name) return element.get();
  return nullptr;
}

const SkinFont& SkinScene::FindFont(WStringView name) const {
  if (!name.empty())
    for (const auto& font : fonts_)
      if (font->Name() == name) return *font;
  return DefaultFont();
}

const SkinFont& SkinScene::DefaultFont() const {
  if (defaultFont_ == nullptr) defaultFont_ = SkinGdiFont::DefaultFont();
  return *defaultFont_;
}

SkinElement* SkinScene::ElementAt(int x, int y) const {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
    if ((*it)->IsVisible() && (*it)->HitTest(x, y)) return it->get();
  return nullptr;
}

void SkinScene::AddElement(std::unique_ptr<SkinElement> element) { elements_.push_back(std::move(element)); }

std::unique_ptr<SkinElement> SkinScene::RemoveElement(const SkinElement* element) {
  auto it = std::find_if(elements_.begin(), elements_.end(), [&](const auto& e) { return e.get() == element; });
  if (it == elements_.end()) return nullptr;
  std::unique_ptr<SkinElement> removed = std::move(*it);
  elements_.erase(it);
  return removed;
}

}  // namespace applet
