#include "applet/skin/gif_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "applet/skin/picture_limits.h"
#include "base/byte_reader.h"

namespace applet {

namespace {

constexpr uint8_t kExtensionIntroducer = '!';
constexpr uint8_t kImageSeparator = ',';
constexpr uint8_t kTrailer = ';';
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr uint8_t kTransparentFlag = 0x01;

constexpr int kMaxCodeBits = 12;
constexpr int kDictionarySize = 1 << kMaxCodeBits;
constexpr int kMaxMinimumCodeSize = 8;

bool ReadColourTable(platform::ByteReader& in, uint8_t flags, GifInfo& info) {
  const unsigned count = 1u << ((flags & 0x07) + 1);
  std::span<const uint8_t> bytes;
  if (!in.Bytes(size_t{count} * 3, bytes)) return false;
  for (unsigned i = 0; i < count; ++i) info.colours[i] = {bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
  info.colourCount = count;
  return true;
}

// Skips data sub-blocks up to their zero-length terminator.
bool SkipSubBlocks(platform::ByteReader& in) {
  for (;;) {
    uint8_t length = 0;
    if (!in.U8(length)) return false;
    if (length == 0) return true;
    if (!in.Skip(length)) return false;
  }
}

bool ReadExtension(platform::ByteReader& in, GifInfo& info) {
  uint8_t label = 0;
  if (!in.U8(label)) return false;
  if (label == kGraphicControlLabel) {
    uint8_t length = 0;
    if (!in.U8(length)) return false;
    std::span<const uint8_t> block;
    if (!in.Bytes(length, block)) return false;
    if (block.size() >= 4 && (block[0] & kTransparentFlag) != 0) info.transparentIndex = block[3];
  }
  return SkipSubBlocks(in);
}

// The dictionary, the stack of pending output and the bit buffer: all the
// decoder's state, in one block per file.
struct LzwState {
  std::array<uint16_t, kDictionarySize> prefix{};
  std::array<uint8_t, kDictionarySize> suffix{};
  std::array<uint8_t, kDictionarySize> stack{};
};

// Codes, least significant bit first, from data sub-blocks (each after its
// length byte; a zero length ends the data).
class CodeReader {
 public:
  CodeReader(const uint8_t* data, const uint8_t* end) : p_(data), end_(end) {}

  // The next code of the given width, or -1 at the end of the data.
  int Read(int bits) {
    while (count_ < bits) {
      if (blockLeft_ == 0 && !NextBlock()) return -1;
      buffer_ |= static_cast<uint32_t>(*p_++) << count_;
      --blockLeft_;
      count_ += 8;
    }
    const int code = static_cast<int>(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    count_ -= bits;
    return code;
  }

 private:
  bool NextBlock() {
    if (ended_ || p_ == end_) return false;
    blockLeft_ = *p_++;
    if (blockLeft_ == 0 || blockLeft_ > static_cast<size_t>(end_ - p_)) {
      // A zero length ends the data; a block cut short by the end of the
      // file gives what it has.
      blockLeft_ = static_cast<size_t>(end_ - p_);
      ended_ = true;
    }
    return blockLeft_ > 0;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  size_t blockLeft_ = 0;
  bool ended_ = false;
  uint32_t buffer_ = 0;
  int count_ = 0;
};

// Hands decoded pixels to the picture's rows in the file's row order.
class RowWriter {
 public:
  RowWriter(const GifInfo& info, GifRowTarget target)
      : target_(target), width_(info.width), height_(info.height), interlaced_(info.interlaced) {
    row_ = target_.top;
  }

  bool Done() const { return done_; }

  // Writes stack[count - 1] down to stack[0]; false once the last row is
  // full.
  bool PutReversed(const uint8_t* stack, size_t count) {
    while (count > 0) {
      const size_t n = std::min(count, static_cast<size_t>(width_ - x_));
      uint8_t* out = row_ + x_;
      for (size_t i = 0; i < n; ++i) out[i] = stack[count - 1 - i];
      x_ += static_cast<int>(n);
      count -= n;
      if (x_ == width_ && !NextRow()) return false;
    }
    return true;
  }

  bool Put(uint8_t pixel) {
    row_[x_++] = pixel;
    return x_ < width_ || NextRow();
  }

 private:
  bool NextRow() {
    x_ = 0;
    if (++rowsDone_ == height_) {
      done_ = true;
      return false;
    }
    if (!interlaced_) {
      ++y_;
    } else {
      static constexpr int kStart[] = {0, 4, 2, 1};
      static constexpr int kStep[] = {8, 8, 4, 2};
      y_ += kStep[pass_];
      while (y_ >= height_ && pass_ < 3) y_ = kStart[++pass_];
      if (y_ >= height_) {
        done_ = true;
        return false;
      }
    }
    row_ = target_.top + y_ * target_.step;
    return true;
  }

  GifRowTarget target_;
  int width_;
  int height_;
  bool interlaced_;
  uint8_t* row_;
  int x_ = 0;
  int y_ = 0;
  int pass_ = 0;
  int rowsDone_ = 0;
  bool done_ = false;
};

}  // namespace

int ReadGifInfo(std::span<const uint8_t> file, GifInfo& info) {
  info = GifInfo{};
  platform::ByteReader in(file);
  std::span<const uint8_t> signature;
  if (!in.Bytes(6, signature) || std::memcmp(signature.data(), "GIF", 3) != 0) return GifInfo::kMalformed;
  if (std::memcmp(signature.data() + 3, "87a", 3) != 0 && std::memcmp(signature.data() + 3, "89a", 3) != 0)
    return GifInfo::kUnknownVersion;

  uint16_t screenWidth = 0, screenHeight = 0;
  uint8_t flags = 0, background = 0, aspect = 0;
  if (!in.U16(screenWidth) || !in.U16(screenHeight) || !in.U8(flags) || !in.U8(background) ||
      !in.U8(aspect))
    return GifInfo::kMalformed;
  info.width = screenWidth;
  info.height = screenHeight;
  info.bitsPerPixel = (flags & 0x07) + 1;
  if ((flags & kTableFlag) != 0 && !ReadColourTable(in, flags, info)) return GifInfo::kMalformed;

  for (;;) {
    uint8_t introducer = 0;
    if (!in.U8(introducer) || introducer == kTrailer) return GifInfo::kMalformed;
    if (introducer == kExtensionIntroducer) {
      if (!ReadExtension(in, info)) return GifInfo::kMalformed;
    } else if (introducer == kImageSeparator) {
      break;
    }
  }

  uint16_t left = 0, top = 0, width = 0, height = 0;
  uint8_t imageFlags = 0;
  if (!in.U16(left) || !in.U16(top) || !in.U16(width) || !in.U16(height) || !in.U8(imageFlags))
    return GifInfo::kMalformed;
  info.width = width;
  info.height = height;
  info.interlaced = (imageFlags & kInterlaceFlag) != 0;
  if ((imageFlags & kTableFlag) != 0) {
    info.colours = {};
    if (!ReadColourTable(in, imageFlags, info)) return GifInfo::kMalformed;
  }
  if (!IsPictureSizeAllowed(info.width, info.height)) return GifInfo::kTooLarge;
  info.dataOffset = in.Position();
  return GifInfo::kOk;
}

int DecodeGifPixels(std::span<const uint8_t> file, const GifInfo& info, GifRowTarget rows) {
  if (info.dataOffset >= file.size()) return GifInfo::kMalformed;
  const int minimumCodeSize = file[info.dataOffset];
  if (minimumCodeSize < 1 || minimumCodeSize > kMaxMinimumCodeSize) return GifInfo::kMalformed;
  if (info.width <= 0 || info.height <= 0) return GifInfo::kOk;

  const int clearCode = 1 << minimumCodeSize;
  const int endCode = clearCode + 1;
  auto state = std::make_unique<LzwState>();
  auto& prefix = state->prefix;
  auto& suffix = state->suffix;
  uint8_t* const stack = state->stack.data();
  for (int i = 0; i < clearCode; ++i) suffix[i] = static_cast<uint8_t>(i);

  CodeReader codes(file.data() + info.dataOffset + 1, file.data() + file.size());
  RowWriter out(info, rows);
  int codeSize = 0, limit = 0, next = 0;
  auto reset = [&] {
    codeSize = minimumCodeSize + 1;
    limit = 2 * clearCode;
    next = clearCode + 2;
  };
  // The first code after a clear is a pixel of its own.
  auto readFirst = [&](int& previous, uint8_t& firstByte) {
    int code;
    do {
      reset();
      code = codes.Read(codeSize);
    } while (code == clearCode);
    if (code < 0 || code >= clearCode) return false;  // end, end code, or no pixel
    previous = code;
    firstByte = static_cast<uint8_t>(code);
    return out.Put(firstByte);
  };

  int previous = 0;
  uint8_t firstByte = 0;
  if (!readFirst(previous, firstByte)) return GifInfo::kOk;
  for (;;) {
    int code = codes.Read(codeSize);
    if (code < 0 || code == endCode) break;
    if (code == clearCode) {
      if (!readFirst(previous, firstByte)) break;
      continue;
    }
    const int incoming = code;
    size_t depth = 0;
    if (code >= next) {
      // Not yet in the dictionary: the previous string and its first byte.
      stack[depth++] = firstByte;
      code = previous;
    }
    bool corrupt = false;
    while (code >= clearCode) {
      if (depth == kDictionarySize - 1 || prefix[code] == code) {
        corrupt = true;
        break;
      }
      stack[depth++] = suffix[code];
      code = prefix[code];
    }
    if (corrupt) break;
    firstByte = static_cast<uint8_t>(code);
    stack[depth++] = firstByte;
    if (!out.PutReversed(stack, depth)) break;

    if (next < kDictionarySize) {
      prefix[next] = static_cast<uint16_t>(previous);
      suffix[next] = firstByte;
      ++next;
      if (next == limit && limit < kDictionarySize) {
        limit *= 2;
        ++codeSize;
      }
    }
    previous = incoming;
  }
  return GifInfo::kOk;
}

}  // namespace applet
