#pragma once
// A loaded skin description: its elements and fonts in section order and
// the window picture they are drawn into. This is the part of a skinned
// window that needs no window: the skin surface builds on it (pen routing,
// tooltips, timers, the display copy) and the skin tool renders it.
//
// Loading a description:
//   1. everything of the previous description is dropped;
//   2. the folder is remembered and the file opened (a file that does not
//      open reads as one without sections);
//   3. the window's size is "size" of "General", else 240 x 268;
//   4. each section in file order makes the element or font its type asks
//      for (an unknown or empty type makes nothing); pictures named by
//      several sections are read once;
//   5. the picture cache is dropped (elements keep their own copies);
//   6. the window picture (24 bits) is made, filled white, and every element
//      drawn into it in list order, a later section above an earlier one.

#include <memory>
#include <vector>

#include "applet/skin/skin_description.h"
#include "applet/skin/skin_element.h"
#include "applet/skin/skin_font.h"
#include "applet/skin/skin_owner.h"

namespace applet {

class SkinScene {
 public:
  SkinScene();
  ~SkinScene();
  SkinScene(const SkinScene&) = delete;
  SkinScene& operator=(const SkinScene&) = delete;

  // SkinDib::kOk when the window picture was made, kFailed (after the
  // picture-creation message) when it could not be. The owner gets the text
  // hook during the load and the elements' notices afterwards; diagnostics,
  // when given, hears about everything the load ignores.
  int Load(platform::WStringView folder, platform::WStringView fileName, SkinOwner* owner,
           SkinDiagnostics* diagnostics = nullptr);
  // Destroys every element and font.
  void Reset();
  // Offers the owner to every element.
  void AttachOwner(SkinOwner* owner);

  const platform::WString& Folder() const { return folder_; }
  const platform::WString& Path() const { return path_; }
  platform::Rect WindowRect() const { return windowRect_; }
  SkinDib& WindowPicture() { return window_; }
  const SkinDib& WindowPicture() const { return window_; }
  const std::vector<std::unique_ptr<SkinElement>>& Elements() const { return elements_; }
  const std::vector<std::unique_ptr<SkinFont>>& Fonts() const { return fonts_; }
  // Picture files read from the device by the last load.
  size_t PictureReads() const { return pictureReads_; }

  // Every element draws its part inside rect (the whole window when null),
  // over what is there. Returns the part of the window redrawn (empty when
  // rect lies outside it).
  platform::Rect Redraw(const platform::Rect* rect = nullptr);

  // The first element of that section name, or null.
  SkinElement* FindElement(platform::WStringView name) const;
  // The first font of that section name, else the default font.
  const SkinFont& FindFont(platform::WStringView name) const;
  // "tahoma", 8.5 points: what unknown font names give. Made on first use.
  const SkinFont& DefaultFont() const;
  // The topmost visible element containing the point, or null.
  SkinElement* ElementAt(int x, int y) const;

  // Adds an element on top (the surface's tooltip) and takes it off again.
  void AddElement(std::unique_ptr<SkinElement> element);
  std::unique_ptr<SkinElement> RemoveElement(const SkinElement* element);

 private:
  std::vector<std::unique_ptr<SkinElement>> elements_;
  std::vector<std::unique_ptr<SkinFont>> fonts_;
  mutable std::unique_ptr<SkinFont> defaultFont_;
  SkinDib window_;
  platform::WString folder_;
  platform::WString path_;
  platform::Rect windowRect_{0, 0, SkinDescription::kDefaultSize.x, SkinDescription::kDefaultSize.y};
  size_t pictureReads_ = 0;
};

}  // namespace applet
