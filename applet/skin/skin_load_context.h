#pragma once
// What an element or font reads while a description loads: the description
// itself, the pictures it names (each file read once and shared by every
// section that names it, a failure remembered as well), the fonts declared
// so far, and the owner that may rewrite texts.

#include <map>
#include <memory>
#include <vector>

#include "applet/skin/skin_description.h"
#include "applet/skin/skin_font.h"
#include "applet/skin/skin_image_file.h"
#include "applet/skin/skin_owner.h"

namespace applet {

class SkinLoadContext {
 public:
  // fonts: the fonts made so far, in section order; defaultFont: what an
  // unknown name gives. Both outlive the context.
  SkinLoadContext(SkinDescription& description, SkinOwner* owner,
                  const std::vector<std::unique_ptr<SkinFont>>& fonts, const SkinFont& defaultFont)
      : description_(description), owner_(owner), fonts_(fonts), defaultFont_(defaultFont) {}

  SkinDescription& Description() { return description_; }
  SkinOwner* Owner() const { return owner_; }

  // The picture a "File" value names, loaded on first use; null when the
  // file does not load. section and key are for the diagnostics.
  const SkinImageFile* Image(platform::WStringView fileValue, platform::WStringView section,
                             platform::WStringView key = u"File");
  // How many picture files were read from the device (each at most once).
  size_t ImageReads() const { return reads_; }

  // The first font of that name made so far, or null.
  const SkinFont* FindFont(platform::WStringView name) const;
  const SkinFont& DefaultFont() const { return defaultFont_; }

  // Drops the cached pictures (elements keep their own copies).
  void DropImages() { images_.clear(); }

 private:
  SkinDescription& description_;
  SkinOwner* owner_;
  const std::vector<std::unique_ptr<SkinFont>>& fonts_;
  const SkinFont& defaultFont_;
  std::map<platform::WString, std::unique_ptr<SkinImageFile>> images_;
  size_t reads_ = 0;
};

}  // namespace applet
