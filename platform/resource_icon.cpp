#include "platform/resource_icon.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "base/byte_reader.h"

namespace platform {

namespace {

constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kDirectoryEntrySize = 14;
constexpr uint16_t kIconDirectoryType = 1;
// A BITMAPINFOHEADER is 40 bytes; its bit count sits at offset 14.
constexpr size_t kBitmapHeaderSize = 40;
constexpr size_t kBitmapBitCountOffset = 14;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// PNG icon images are full colour with an alpha channel.
constexpr int kPngBitCount = 32;

// 0 in a one-byte dimension stands for 256.
int Dimension(uint8_t value) { return value == 0 ? 256 : value; }

const ResourceRecord* ImageOf(const ResourceFile& file, const IconDirectoryEntry& entry) {
  return file.Find(ResourceId(kResourceTypeIcon), ResourceId(entry.imageId));
}

std::string IdText(const ResourceId& id) {
  return id.IsNumber() ? std::to_string(id.Number()) : "\"" + ToUtf8(id.Name()) + "\"";
}

// Reads the directory of one group icon and the effective depth of each of
// its images. Fails when the directory does not parse or an image is missing.
bool ReadIcon(const ResourceFile& file, const ResourceRecord& group,
              std::vector<IconDirectoryEntry>& entries, std::vector<int>& bitCounts,
              std::string* why) {
  if (!ParseIconDirectory(file.Data(group), entries, why)) return false;
  bitCounts.clear();
  for (const IconDirectoryEntry& e : entries) {
    const ResourceRecord* image = ImageOf(file, e);
    if (image == nullptr) {
      if (why) *why = "names icon image " + std::to_string(e.imageId) + ", which the file lacks";
      return false;
    }
    bitCounts.push_back(EffectiveBitCount(e, file.Data(*image)));
  }
  return true;
}

}  // namespace

bool ParseIconDirectory(std::span<const uint8_t> data, std::vector<IconDirectoryEntry>& out,
                        std::string* why) {
  out.clear();
  ByteReader in(data);
  uint16_t reserved = 0, type = 0, count = 0;
  if (!in.U16(reserved) || !in.U16(type) || !in.U16(count)) {
    if (why) *why = "the icon directory is cut short";
    return false;
  }
  if (reserved != 0 || type != kIconDirectoryType) {
    if (why) *why = "the directory is not an icon directory";
    return false;
  }
  if (count == 0 || count > kMaxIconImages) {
    if (why) *why = "the icon directory lists " + std::to_string(count) + " images";
    return false;
  }
  if (count > in.Left() / kDirectoryEntrySize) {
    if (why) *why = "the icon directory's " + std::to_string(count) + " entries run past its end";
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    IconDirectoryEntry e;
    uint8_t width = 0, height = 0, colorCount = 0, reservedByte = 0;
    uint16_t planes = 0, bitCount = 0;
    // The count was checked against the bytes left: these reads all succeed.
    in.U8(width);
    in.U8(height);
    in.U8(colorCount);
    in.U8(reservedByte);
    in.U16(planes);
    in.U16(bitCount);
    in.U32(e.bytesInRes);
    in.U16(e.imageId);
    e.width = Dimension(width);
    e.height = Dimension(height);
    e.colorCount = colorCount;
    e.planes = planes;
    e.bitCount = bitCount;
    out.push_back(e);
  }
  return true;
}

int EffectiveBitCount(const IconDirectoryEntry& entry, std::span<const uint8_t> image) {
  if (entry.bitCount != 0) return entry.bitCount;
  if (image.size() >= sizeof kPngSignature &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), image.begin()))
    return kPngBitCount;
  ByteReader bitmap(image);
  uint32_t headerSize = 0;
  uint16_t bitCount = 0;
  if (image.size() >= kBitmapHeaderSize && bitmap.U32(headerSize) && headerSize >= kBitmapHeaderSize &&
      bitmap.SeekTo(kBitmapBitCountOffset) && bitmap.U16(bitCount))
    return bitCount;
  return 0;
}

size_t ChooseIconImage(std::span<const IconDirectoryEntry> entries, std::span<const int> bitCounts,
                       int size, int maxBitCount) {
  // Whether entry a is a better choice than entry b, by the rules above.
  auto better = [&](size_t a, size_t b) {
    const IconDirectoryEntry& ea = entries[a];
    const IconDirectoryEntry& eb = entries[b];
    const int da = std::abs(ea.width - size) + std::abs(ea.height - size);
    const int db = std::abs(eb.width - size) + std::abs(eb.height - size);
    if (da != db) return da < db;
    if (ea.width * ea.height != eb.width * eb.height) return ea.width * ea.height > eb.width * eb.height;
    const int ba = a < bitCounts.size() ? bitCounts[a] : ea.bitCount;
    const int bb = b < bitCounts.size() ? bitCounts[b] : eb.bitCount;
    const bool fitsA = ba <= maxBitCount, fitsB = bb <= maxBitCount;
    if (fitsA != fitsB) return fitsA;
    if (ba != bb) return fitsA ? ba > bb : ba < bb;
    return false;
  };
  size_t best = 0;
  for (size_t i = 1; i < entries.size(); ++i)
    if (better(i, best)) best = i;
  return best;
}

size_t IconCount(const ResourceFile& file) {
  return file.OfType(ResourceId(kResourceTypeGroupIcon)).size();
}

IconLookup ExtractIcon(const ResourceFile& file, size_t index, int size, int maxBitCount,
                       IconImage& out) {
  const auto groups = file.OfType(ResourceId(kResourceTypeGroupIcon));
  if (groups.empty()) return IconLookup::NoIcons;
  if (index >= groups.size()) return IconLookup::IndexOutOfRange;
  std::vector<IconDirectoryEntry> entries;
  std::vector<int> bitCounts;
  if (!ReadIcon(file, *groups[index], entries, bitCounts, nullptr)) return IconLookup::Malformed;
  const size_t chosen = ChooseIconImage(entries, bitCounts, size, maxBitCount);
  const IconDirectoryEntry& e = entries[chosen];
  const auto data = file.Data(*ImageOf(file, e));
  out.width = e.width;
  out.height = e.height;
  out.bitCount = bitCounts[chosen];
  out.imageId = e.imageId;
  out.bytes.assign(data.begin(), data.end());
  return IconLookup::Found;
}

bool CheckIcons(const ResourceFile& file, ResourceFileError* error) {
  for (const ResourceRecord* group : file.OfType(ResourceId(kResourceTypeGroupIcon))) {
    std::vector<IconDirectoryEntry> entries;
    std::vector<int> bitCounts;
    std::string why;
    if (ReadIcon(file, *group, entries, bitCounts, &why)) continue;
    if (error != nullptr) {
      error->status = ResourceFileStatus::BadIcon;
      error->offset = group->dataOffset;
      error->message = "byte " + std::to_string(group->dataOffset) + ": icon " + IdText(group->name) +
                       ": " + why;
    }
    return false;
  }
  return true;
}

}  // namespace platform
