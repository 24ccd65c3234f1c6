#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <mutex>
#include <unordered_map>

#include "platform/font_resolver.h"
#include "platform/freetype_library.h"

namespace platform {

namespace {

// Bounds on what a logical font may ask for: characters up to this many
// pixels high, and rendered characters kept per font up to this count and
// this much coverage.
constexpr int kMaxFontPixelSize = 1024;
constexpr size_t kMaxCachedGlyphs = 4096;
constexpr size_t kMaxCachedGlyphBytes = size_t{8} << 20;

// The slant of a made-up italic (about 12 degrees, as a 16.16 shear).
constexpr FT_Fixed kObliqueShear = 0x0366A;
// Emboldening thickens stems by a twenty-fourth of the em, at least one
// pixel (26.6 units).
constexpr FT_Pos kMinEmboldenStrength = 64;
constexpr int kEmboldenDivisor = 24;

// A stem of a bold face is more than this share of the em wide (regular
// faces draw about 0.09, bold ones 0.17).
constexpr double kBoldStemShare = 0.13;

// Light auto-hinting for every face, whatever hints the face carries.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_FORCE_AUTOHINT | FT_LOAD_NO_BITMAP;

// How often each lowercase letter and the space occur in English text, per
// thousand characters: the weights of a font's average character width.
constexpr struct {
  char32_t ch;
  int weight;
} kLetterWeights[] = {
    {U'a', 64}, {U'b', 14}, {U'c', 27}, {U'd', 35}, {U'e', 100}, {U'f', 20}, {U'g', 14},
    {U'h', 42}, {U'i', 63}, {U'j', 3},  {U'k', 6},  {U'l', 35},  {U'm', 20}, {U'n', 56},
    {U'o', 56}, {U'p', 17}, {U'q', 4},  {U'r', 49}, {U's', 56},  {U't', 71}, {U'u', 31},
    {U'v', 10}, {U'w', 18}, {U'x', 3},  {U'y', 18}, {U'z', 2},   {U' ', 166},
};

// Rounds v * numerator / denominator to the nearest integer.
int Scale(long v, long numerator, long denominator) {
  if (denominator <= 0) return 0;
  const long long p = static_cast<long long>(v) * numerator;
  return static_cast<int>(p >= 0 ? (p + denominator / 2) / denominator
                                 : -((-p + denominator / 2) / denominator));
}

struct FaceCloser {
  void operator()(FT_Face face) const {
    std::lock_guard lock(FreeTypeMutex());
    FT_Done_Face(face);
  }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

FacePtr OpenFace(const std::string& file, int index, int pixelSize) {
  FT_Library library = FreeTypeLibrary();
  if (library == nullptr) return nullptr;
  FT_Face face = nullptr;
  {
    std::lock_guard lock(FreeTypeMutex());
    if (FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;
  }
  FacePtr owned(face);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return nullptr;
  return owned;
}

// Whether a face that calls itself bold draws its stems as thin as a
// regular face does. The free Tahoma's bold is such a face: bold advances
// around regular outlines. Measured on the stem of "l".
bool HasThinStems(FT_Face face) {
  if (FT_Load_Char(face, U'l', FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) return false;
  if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE || face->units_per_EM == 0) return false;
  FT_BBox box;
  FT_Outline_Get_CBox(&face->glyph->outline, &box);
  return static_cast<double>(box.xMax - box.xMin) / face->units_per_EM < kBoldStemShare;
}

// The character height in pixels a logical height asks for, given the
// face's cell height in font units (ascent + descent) and its em.
int PixelSizeFor(int height, long cellUnits, long unitsPerEm) {
  if (height == 0) height = kDefaultFontHeight;
  int size = height < 0 ? -height : Scale(height, unitsPerEm, cellUnits);
  return std::clamp(size, 1, kMaxFontPixelSize);
}

}  // namespace

struct Font::Faces {
  std::mutex mutex;
  FacePtr primary;
  FacePtr fallback;
  bool fallbackTried = false;
  bool syntheticBold = false;  // emboldened and one pixel wider
  bool thickenStems = false;   // emboldened, advances kept
  bool syntheticItalic = false;
  FT_Pos emboldenStrength = kMinEmboldenStrength;
  size_t cachedBytes = 0;
  std::unordered_map<char32_t, std::shared_ptr<const GlyphImage>> cache;
};

Font::Font(Token) : faces_(std::make_unique<Faces>()) {}
Font::~Font() = default;

namespace {

// The fonts alive in the process, by their record: a font made again from
// the same record (a dialog header makes its bold font at every paint) is
// the same font, with the characters it has rendered already.
class LiveFonts {
 public:
  std::shared_ptr<const Font> Find(const LogFont& logical) {
    std::erase_if(fonts_, [](const auto& entry) { return entry.second.expired(); });
    for (const auto& [record, font] : fonts_) {
      if (record == logical) return font.lock();
    }
    return nullptr;
  }
  void Add(const LogFont& logical, const std::shared_ptr<const Font>& font) {
    fonts_.emplace_back(logical, font);
  }
  std::mutex& Mutex() { return mutex_; }

 private:
  std::mutex mutex_;
  std::vector<std::pair<LogFont, std::weak_ptr<const Font>>> fonts_;
};

LiveFonts& Live() {
  static LiveFonts fonts;
  return fonts;
}

}  // namespace

std::shared_ptr<const Font> Font::Create(const LogFont& logFont) {
  LogFont logical = logFont;
  if (logical.faceName.size() > kMaxFaceNameLength) logical.faceName.resize(kMaxFaceNameLength);
  LiveFonts& live = Live();
  std::lock_guard lock(live.Mutex());
  if (auto font = live.Find(logical)) return font;
  auto font = Make(logical);
  if (font) live.Add(logical, font);
  return font;
}

std::shared_ptr<const Font> Font::Make(const LogFont& logical) {
  const auto resolved = ResolveFace(ToUtf8(logical.faceName), logical.weight,
                                    logical.italic != 0);
  if (!resolved) return nullptr;

  // Open once at any size to read the face's vertical metrics, then size it.
  FacePtr face = OpenFace(resolved->file, resolved->index, 16);
  if (!face) return nullptr;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2));
  const TT_HoriHeader* hhea =
      static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_HHEA));
  const long unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  long ascentUnits = face->ascender;
  long descentUnits = -face->descender;
  if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    ascentUnits = os2->usWinAscent;
    descentUnits = os2->usWinDescent;
  }
  const int pixelSize = PixelSizeFor(logical.height, ascentUnits + descentUnits, unitsPerEm);
  if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixelSize)) != 0) return nullptr;

  auto font = std::make_shared<Font>(Token{});
  font->logical_ = logical;
  font->familyName_ = resolved->family;
  font->filePath_ = resolved->file;
  font->pixelSize_ = pixelSize;

  TextMetrics& m = font->metrics_;
  m.ascent = Scale(ascentUnits, pixelSize, unitsPerEm);
  m.descent = Scale(descentUnits, pixelSize, unitsPerEm);
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(0, m.height - pixelSize);
  if (hhea != nullptr) {
    const long gap = hhea->Line_Gap - ((ascentUnits + descentUnits) - (hhea->Ascender - hhea->Descender));
    m.externalLeading = std::max(0, Scale(gap, pixelSize, unitsPerEm));
  }
  const long averageUnits = os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth
                                                                     : face->max_advance_width / 2;
  m.aveCharWidth = std::max(1, Scale(averageUnits, pixelSize, unitsPerEm));
  m.maxCharWidth = std::max(1, Scale(face->max_advance_width, pixelSize, unitsPerEm));
  m.weight = logical.weight == 0 ? kFwNormal : logical.weight;
  m.italic = logical.italic;
  m.underlined = logical.underline;
  m.struckOut = logical.strikeOut;
  m.charSet = logical.charSet;
  if (resolved->syntheticBold) ++m.maxCharWidth;  // each character is a pixel wider

  font->lineThickness_ = std::max(1, Scale(face->underline_thickness, pixelSize, unitsPerEm));
  font->underlineOffset_ = std::max(1, Scale(-face->underline_position, pixelSize, unitsPerEm));
  const long strikeUnits =
      os2 != nullptr && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : unitsPerEm / 4;
  font->strikeOutOffset_ = -Scale(strikeUnits, pixelSize, unitsPerEm);

  Faces& faces = *font->faces_;
  faces.primary = std::move(face);
  faces.syntheticBold = resolved->syntheticBold;
  faces.thickenStems = !resolved->syntheticBold && logical.weight >= kFwSemiBold &&
                       HasThinStems(faces.primary.get());
  faces.syntheticItalic = resolved->syntheticItalic;
  faces.emboldenStrength =
      std::max<FT_Pos>(kMinEmboldenStrength, FT_Pos{pixelSize} * 64 / kEmboldenDivisor);

  // The average width from the rendered advances of the letters (the
  // faces' own stored averages differ in how they were counted).
  long weighted = 0;
  for (const auto& letter : kLetterWeights) weighted += long{font->Advance(letter.ch)} * letter.weight;
  if (weighted > 0) m.aveCharWidth = std::max(1, Scale(weighted, 1, 1000));
  return font;
}

std::shared_ptr<const GlyphImage> Font::Glyph(char32_t ch) const {
  Faces& faces = *faces_;
  std::lock_guard lock(faces.mutex);
  if (auto it = faces.cache.find(ch); it != faces.cache.end()) return it->second;

  FT_Face face = faces.primary.get();
  FT_UInt index = FT_Get_Char_Index(face, ch);
  bool fromFallback = false;
  if (index == 0 && ch >= 0x20) {
    // A character the face lacks comes from the fallback face, as the
    // handheld links fonts; drawn at the same character height.
    if (!faces.fallbackTried) {
      faces.fallbackTried = true;
      if (const auto fallback = ResolveFace(kFallbackFaceName, logical_.weight, logical_.italic)) {
        faces.fallback = OpenFace(fallback->file, fallback->index, pixelSize_);
      }
    }
    if (faces.fallback) {
      const FT_UInt fallbackIndex = FT_Get_Char_Index(faces.fallback.get(), ch);
      if (fallbackIndex != 0) {
        face = faces.fallback.get();
        index = fallbackIndex;
        fromFallback = true;
      }
    }
  }

  auto glyph = std::make_shared<GlyphImage>();
  if (FT_Load_Glyph(face, index, kLoadFlags) == 0) {
    FT_GlyphSlot slot = face->glyph;
    const bool embolden = (faces.syntheticBold || faces.thickenStems) && !fromFallback;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (faces.syntheticItalic) {
        FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
      }
      if (embolden) FT_Outline_EmboldenXY(&slot->outline, faces.emboldenStrength, 0);
    }
    const bool widen = faces.syntheticBold && !fromFallback;
    glyph->advance = static_cast<int>((slot->advance.x + 32) >> 6) + (widen ? 1 : 0);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
        slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      const FT_Bitmap& bitmap = slot->bitmap;
      glyph->left = slot->bitmap_left;
      glyph->top = slot->bitmap_top;
      glyph->width = static_cast<int>(bitmap.width);
      glyph->rows = static_cast<int>(bitmap.rows);
      glyph->coverage.resize(static_cast<size_t>(glyph->width) * glyph->rows);
      for (int r = 0; r < glyph->rows; ++r) {
        const unsigned char* src =
            bitmap.pitch >= 0 ? bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch
                              : bitmap.buffer + static_cast<ptrdiff_t>(glyph->rows - 1 - r) *
                                                    -bitmap.pitch;
        std::copy(src, src + glyph->width,
                  glyph->coverage.begin() + static_cast<ptrdiff_t>(r) * glyph->width);
      }
    }
  }
  if (faces.cache.size() < kMaxCachedGlyphs &&
      faces.cachedBytes + glyph->coverage.size() <= kMaxCachedGlyphBytes) {
    faces.cachedBytes += glyph->coverage.size();
    faces.cache.emplace(ch, glyph);
  }
  return glyph;
}

std::shared_ptr<const Font> GetSystemFont() {
  static const std::shared_ptr<const Font> font = [] {
    LogFont logical;
    logical.height = kDefaultFontHeight;
    logical.weight = kFwNormal;
    logical.faceName = u"Tahoma";
    return Font::Create(logical);
  }();
  return font;
}

}  // namespace platform
