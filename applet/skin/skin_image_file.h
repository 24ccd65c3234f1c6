#pragma once
// A picture file loaded for a skin: recognised by its first bytes, decoded
// (BMP, GIF and PNG after their information step, JPEG directly) into a
// picture of the engine. A GIF with a transparent colour becomes a 32-bit
// picture whose pixels of that colour have alpha 0 and all others 255.

#include <cstdint>
#include <span>

#include "applet/skin/picture_info.h"
#include "applet/skin/skin_dib.h"
#include "base/text.h"

namespace applet {

// Decodes a picture from the file's bytes (path for the fax-name test).
// picture_result::kOk with the picture made; kUnrecognised for an unknown
// file; kFailed for a known format without a decoder or a failed decode;
// a GIF's own information result (kUnrecognised for an unknown version,
// kMalformed) likewise. The picture is empty after a failure.
int LoadPictureBytes(std::span<const uint8_t> file, platform::WStringView path, SkinDib& picture,
                     PictureInfo* info = nullptr);

// The same for a device file; kFailed when it cannot be read (or is larger
// than kMaxPictureFileBytes).
int LoadPictureFile(platform::WStringView path, SkinDib& picture, PictureInfo* info = nullptr);

class SkinImageFile : public SkinDib {
 public:
  // picture_result::kOk and the picture is ready; another result and it
  // stays empty.
  int Load(platform::WStringView path);

  const platform::WString& FileName() const { return fileName_; }
  const PictureInfo& Info() const { return info_; }

 private:
  platform::WString fileName_;
  PictureInfo info_;
};

}  // namespace applet
