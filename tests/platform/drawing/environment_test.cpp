// Drawing does not depend on the environment: FreeType's and fontconfig's
// settings and the locale of the process leave the pixels as they are.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "tests/platform/drawing/sample_drawing.h"

namespace {

std::string RunChecksum(const std::string& environment) {
  const std::string command = "env " + environment + " " DRAWING_CHECKSUM_PATH;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return {};
  std::array<char, 64> line{};
  if (std::fgets(line.data(), static_cast<int>(line.size()), pipe.get()) == nullptr) return {};
  return std::string(line.data());
}

TEST(DrawingEnvironmentTest, SamePixelsWhateverTheEnvironmentSays) {
  char expected[32];
  std::snprintf(expected, sizeof expected, "%016llx\n",
                static_cast<unsigned long long>(drawing_test::SampleDrawingChecksum()));
  EXPECT_EQ(RunChecksum(""), expected);
  EXPECT_EQ(RunChecksum("FREETYPE_PROPERTIES='autofitter:no-stem-darkening=0 "
                        "truetype:interpreter-version=35 cff:no-stem-darkening=0'"),
            expected);
  EXPECT_EQ(RunChecksum("LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 FC_LANG=ja"), expected);
  EXPECT_EQ(RunChecksum("FONTCONFIG_FILE=/nonexistent FONTCONFIG_PATH=/nonexistent"), expected);
}

}  // namespace
