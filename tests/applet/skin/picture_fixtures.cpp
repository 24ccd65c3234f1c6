#include "tests/applet/skin/picture_fixtures.h"

#include <png.h>
#include <cstdio>
#include <jpeglib.h>

#include <map>
#include <stdexcept>

namespace skin_test {

namespace {

void PutU16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::string& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

int TableBits(size_t entries) {
  int bits = 0;
  while ((size_t{2} << bits) < entries) ++bits;
  return bits;  // 2^(bits + 1) entries
}

void PutTable(std::string& out, const std::vector<Rgb>& table) {
  const size_t count = size_t{2} << TableBits(table.size());
  for (size_t i = 0; i < count; ++i) {
    const Rgb c = i < table.size() ? table[i] : Rgb{};
    out.push_back(static_cast<char>(c.r));
    out.push_back(static_cast<char>(c.g));
    out.push_back(static_cast<char>(c.b));
  }
}

// Codes packed least significant bit first, cut into sub-blocks.
class CodePacker {
 public:
  void Put(int code, int bits) {
    buffer_ |= static_cast<uint32_t>(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
      bytes_.push_back(static_cast<char>(buffer_ & 0xFF));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  std::string SubBlocks() {
    if (count_ > 0) bytes_.push_back(static_cast<char>(buffer_ & 0xFF));
    count_ = 0;
    std::string out;
    for (size_t i = 0; i < bytes_.size(); i += 255) {
      const size_t n = std::min<size_t>(255, bytes_.size() - i);
      out.push_back(static_cast<char>(n));
      out.append(bytes_, i, n);
    }
    out.push_back('\0');
    return out;
  }

 private:
  std::string bytes_;
  uint32_t buffer_ = 0;
  int count_ = 0;
};

std::string GifHead(const GifSpec& spec) {
  std::string out = "GIF" + spec.version;
  PutU16(out, static_cast<unsigned>(spec.width));
  PutU16(out, static_cast<unsigned>(spec.height));
  const bool global = !spec.globalTable.empty();
  out.push_back(static_cast<char>(global ? 0x80 | TableBits(spec.globalTable.size()) : 0));
  out.push_back('\0');
  out.push_back('\0');
  if (global) PutTable(out, spec.globalTable);
  if (spec.transparentIndex >= 0) {
    out += "!\xF9\x04";
    out.push_back('\x01');
    PutU16(out, 0);
    out.push_back(static_cast<char>(spec.transparentIndex));
    out.push_back('\0');
  }
  out.push_back(',');
  PutU16(out, 0);
  PutU16(out, 0);
  PutU16(out, static_cast<unsigned>(spec.width));
  PutU16(out, static_cast<unsigned>(spec.height));
  const bool local = !spec.localTable.empty();
  out.push_back(static_cast<char>((local ? 0x80 | TableBits(spec.localTable.size()) : 0) |
                                  (spec.interlaced ? 0x40 : 0)));
  if (local) PutTable(out, spec.localTable);
  return out;
}

}  // namespace

std::string MakeGifWithCodes(const GifSpec& spec, int minimumCodeSize, const std::vector<std::pair<int, int>>& codes) {
  std::string out = GifHead(spec);
  out.push_back(static_cast<char>(minimumCodeSize));
  CodePacker packer;
  for (const auto& [code, bits] : codes) packer.Put(code, bits);
  out += packer.SubBlocks();
  out.push_back(';');
  return out;
}

std::string MakeGif(const GifSpec& spec) {
  const size_t tableSize = !spec.localTable.empty() ? spec.localTable.size() : spec.globalTable.size();
  const int minimumCodeSize = std::max(2, TableBits(tableSize) + 1);
  const int clear = 1 << minimumCodeSize;
  CodePacker packer;
  std::map<std::pair<int, int>, int> dictionary;
  int size = minimumCodeSize + 1;
  int next = clear + 2;
  packer.Put(clear, size);
  int w = -1;
  for (uint8_t pixel : spec.pixels) {
    if (w < 0) {
      w = pixel;
      continue;
    }
    auto it = dictionary.find({w, pixel});
    if (it != dictionary.end()) {
      w = it->second;
      continue;
    }
    packer.Put(w, size);
    dictionary[{w, pixel}] = next++;
    if (next > (1 << size) && size < 12) ++size;
    if (next == 4096) {
      packer.Put(clear, size);
      dictionary.clear();
      size = minimumCodeSize + 1;
      next = clear + 2;
    }
    w = pixel;
  }
  if (w >= 0) packer.Put(w, size);
  packer.Put(clear + 1, size);

  std::string out = GifHead(spec);
  out.push_back(static_cast<char>(minimumCodeSize));
  out += packer.SubBlocks();
  out.push_back(';');
  return out;
}

namespace {

void WriteToString(png_structp png, png_bytep data, size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}

}  // namespace

std::string MakePng(const PngSpec& spec) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng refused the fixture");
  }
  png_set_write_fn(png, &out, WriteToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(spec.width), static_cast<png_uint_32>(spec.height), spec.bitDepth,
               spec.colourType, spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const Rgb& c : spec.palette) palette.push_back({c.r, c.g, c.b});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!spec.transparency.empty())
    png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& row : spec.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string MakeJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels, int quality) {
  jpeg_compress_struct jpeg{};
  jpeg_error_mgr errors{};
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = static_cast<JDIMENSION>(width);
  jpeg.image_height = static_cast<JDIMENSION>(height);
  jpeg.input_components = components;
  jpeg.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, quality, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < jpeg.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + static_cast<size_t>(jpeg.next_scanline) * width * components);
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  free(buffer);
  return out;
}

std::string MakeBmp(const BmpSpec& spec) {
  std::string table;
  for (const Rgb& c : spec.table) {
    table.push_back(static_cast<char>(c.b));
    table.push_back(static_cast<char>(c.g));
    table.push_back(static_cast<char>(c.r));
    table.push_back('\0');
  }
  std::string pixels;
  for (const auto& row : spec.rows) pixels.append(row.begin(), row.end());
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size());
  std::string out = "BM";
  PutU32(out, offset + static_cast<uint32_t>(pixels.size()));
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(spec.width));
  PutU32(out, static_cast<uint32_t>(spec.height));
  PutU16(out, 1);
  PutU16(out, static_cast<unsigned>(spec.bitCount));
  PutU32(out, spec.compression);
  PutU32(out, static_cast<uint32_t>(pixels.size()));
  PutU32(out, static_cast<uint32_t>(spec.pixelsPerMetre));
  PutU32(out, static_cast<uint32_t>(spec.pixelsPerMetre));
  PutU32(out, spec.coloursUsed);
  PutU32(out, 0);
  return out + table + pixels;
}

}  // namespace skin_test
