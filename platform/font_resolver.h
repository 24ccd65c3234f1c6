#pragma once
// Finding the font file for a face name, through fontconfig, among the fonts
// the platform carries and nothing else: the TrueType files of the folders
// below (the Debian packages fonts-wine and fonts-dejavu-core), in a
// configuration of our own, so neither the host's nor the user's fontconfig
// settings change which face is used. "Tahoma" resolves to the metric-
// compatible free Tahoma; a face that is not there resolves to the fallback
// face, DejaVu Sans.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr const char* kFallbackFaceName = "DejaVu Sans";

struct ResolvedFace {
  std::string file;
  int index = 0;       // face within the file
  std::string family;  // the face's own family name
  int weight = 400;    // of the face found (100..900)
  bool italic = false;
  // The style asked for but missing from the face, to be made up.
  bool syntheticBold = false;
  bool syntheticItalic = false;
};

// The folders whose TrueType files make up the platform's fonts.
const std::vector<std::filesystem::path>& FontDirectories();

// The best face for the name (UTF-8), weight (0 means 400) and slant; nullopt
// only when the platform has no font at all.
std::optional<ResolvedFace> ResolveFace(std::string_view faceName, int weight, bool italic);

}  // namespace platform
