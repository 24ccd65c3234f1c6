#include "platform/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <system_error>

namespace platform {

namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldThreshold = 600;
constexpr const char* kMatchLanguage = "en";

struct ConfigDeleter {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The platform's fonts: a configuration that holds only the TrueType files
// of FontDirectories, added in name order, with no rules and no caches.
class FontSet {
 public:
  FontSet() : config_(FcConfigCreate()) {
    if (!config_) return;
    for (const auto& dir : FontDirectories()) {
      std::error_code ec;
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const auto ext = entry.path().extension().string();
        if (ext == ".ttf" || ext == ".TTF") files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      for (const auto& file : files) {
        FcConfigAppFontAddFile(config_.get(),
                               reinterpret_cast<const FcChar8*>(file.string().c_str()));
      }
    }
  }

  std::optional<ResolvedFace> Match(std::string_view faceName, int weight, bool italic) {
    std::lock_guard lock(mutex_);
    if (!config_) return std::nullopt;
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    const std::string name(faceName);
    if (!name.empty()) {
      FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    }
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(kFallbackFaceName));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    // A language of our own, so the default filling-in below does not take
    // one from the environment's locale.
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(kMatchLanguage));
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config_.get(), pattern.get(), &result));
    if (!match) return std::nullopt;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
    ResolvedFace face;
    face.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &face.index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch) {
      face.family = reinterpret_cast<const char*>(family);
    }
    int fcWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &fcWeight);
    face.weight = FcWeightToOpenType(fcWeight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    face.italic = slant != FC_SLANT_ROMAN;
    face.syntheticBold = weight >= kBoldThreshold && face.weight < kBoldThreshold;
    face.syntheticItalic = italic && !face.italic;
    return face;
  }

 private:
  std::mutex mutex_;
  std::unique_ptr<FcConfig, ConfigDeleter> config_;
};

FontSet& Fonts() {
  static FontSet fonts;
  return fonts;
}

}  // namespace

const std::vector<std::filesystem::path>& FontDirectories() {
  static const std::vector<std::filesystem::path> dirs = {
      "/usr/share/wine/fonts",
      "/usr/share/fonts/truetype/dejavu",
  };
  return dirs;
}

std::optional<ResolvedFace> ResolveFace(std::string_view faceName, int weight, bool italic) {
  return Fonts().Match(faceName, weight <= 0 ? kNormalWeight : std::clamp(weight, 1, 1000),
                       italic);
}

}  // namespace platform
