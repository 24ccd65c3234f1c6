#include "applet/skin/picture_format.h"

#include <algorithm>
#include <cstring>

#include "applet/device/sectioned_text_reader.h"
#include "base/byte_reader.h"
#include "platform/file.h"

namespace applet {

namespace {

constexpr size_t kWirelessMarkOffset = 80;
constexpr uint32_t kWirelessMark = 0x0106A9D6;
constexpr uint32_t kWirelessFormat = 513;

constexpr platform::WStringView kFaxSuffixes[] = {u"T31", u"T42", u"T43", u"T44", u"T2C", u"T4C"};

bool StartsWith(std::span<const uint8_t> head, std::string_view bytes) {
  return head.size() >= bytes.size() && std::memcmp(head.data(), bytes.data(), bytes.size()) == 0;
}

bool HasWirelessMark(std::span<const uint8_t> head) {
  platform::ByteReader in(head);
  uint32_t mark = 0, format = 0;
  return in.Skip(kWirelessMarkOffset) && in.U32(mark) && in.U32(format) && mark == kWirelessMark &&
         format == kWirelessFormat;
}

bool HasFaxSuffix(platform::WStringView path) {
  if (path.size() < 3) return false;
  const platform::WStringView suffix = path.substr(path.size() - 3);
  return std::any_of(std::begin(kFaxSuffixes), std::end(kFaxSuffixes),
                     [&](platform::WStringView s) { return SectionedTextReader::KeysEqual(s, suffix); });
}

}  // namespace

PictureFormat SniffPicture(std::span<const uint8_t> head, platform::WStringView path) {
  head = head.first(std::min(head.size(), kPictureSniffBytes));
  if (StartsWith(head, "BM")) return PictureFormat::Bmp;
  if (StartsWith(head, "II")) return PictureFormat::Tiff;
  if (head.size() >= 3 && head[0] == 10 && head[2] == 1) return PictureFormat::Pcx;
  if (StartsWith(head, "GIF")) return PictureFormat::Gif;
  if (StartsWith(head, "\xFF\xD8")) return PictureFormat::Jpeg;
  if (StartsWith(head, "\x89PNG")) return PictureFormat::Png;
  if (HasWirelessMark(head)) return PictureFormat::Wireless;
  if (HasFaxSuffix(path)) return PictureFormat::Fax;
  return PictureFormat::Unknown;
}

PictureFormat SniffPictureFile(platform::WStringView path) {
  platform::File file;
  if (file.Open(path, platform::kGenericRead, platform::kShareRead,
                platform::CreationDisposition::OpenExisting) != platform::kErrorSuccess)
    return PictureFormat::CannotOpen;
  uint8_t head[kPictureSniffBytes];
  size_t got = 0;
  if (file.Read(head, sizeof head, &got) != platform::kErrorSuccess) got = 0;
  return SniffPicture(std::span(head, got), path);
}

}  // namespace applet
