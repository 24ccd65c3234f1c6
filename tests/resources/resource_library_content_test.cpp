// The resource library as the build makes it: installed on a device, found
// by its pattern and loaded, it must hold every text the applet asks for.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_finder.h"
#include "platform/resource_library.h"
#include "platform/resource_strings.h"
#include "tests/support/temp_device.h"

namespace {

using platform::WString;

class BuiltResourceLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path built = std::filesystem::path(VELM_BINARY_DIR) / "resources/RondelRes.res";
    ASSERT_TRUE(std::filesystem::exists(built)) << built;
    std::filesystem::copy_file(built, device_.HostPath("Yvra ROM/GPRS Settings/RondelRes.res"));

    // Found the way the applet finds it: the installed folder (which ends
    // with a separator) followed by "\RondelRes.*".
    platform::FileFinder finder;
    platform::FindData found;
    ASSERT_EQ(finder.FindFirst(u"\\Yvra ROM\\GPRS Settings\\\\RondelRes.*", found), platform::kErrorSuccess);
    ASSERT_EQ(found.name, u"RondelRes.res");
    ASSERT_EQ(library_.Load(u"\\Yvra ROM\\GPRS Settings\\\\" + found.name), platform::kErrorSuccess)
        << library_.LoadError().message;
  }

  test_support::TempDevice device_;
  platform::ResourceLibrary library_;
};

bool InRange(uint32_t n, uint32_t first, uint32_t last) { return n >= first && n <= last; }

TEST_F(BuiltResourceLibrary, HoldsEveryStringTheAppletAsksFor) {
  std::vector<uint32_t> numbers = {1,     2,     61204, 61208, 61266, 61329, 61330, 61396, 65017,
                                   65019, 65077, 65078, 65079, 65080, 65081, 65083, 65084, 65085,
                                   65086, 65087, 65088, 65089, 65090, 65091, 65094, 65095, 65096, 65097,
                                   65098, 65101};
  // The quality-of-service lists: precedence, delay, reliability, peak and
  // mean throughput, one string per class.
  for (uint32_t n = 61345; n <= 61359; ++n) numbers.push_back(n);
  for (uint32_t n = 61361; n <= 61390; ++n) numbers.push_back(n);
  for (uint32_t n : numbers) {
    auto text = platform::LoadString(library_.Handle(), n);
    ASSERT_TRUE(text.has_value()) << n;
    EXPECT_FALSE(text->empty()) << n;
  }
}

TEST_F(BuiltResourceLibrary, TextsFitWhereTheyAreShown) {
  // The control panel's name and description fields hold 32 and 64
  // characters with the terminator.
  EXPECT_LE(platform::LoadString(library_.Handle(), 1)->size(), 31u);
  EXPECT_LE(platform::LoadString(library_.Handle(), 2)->size(), 63u);
  EXPECT_EQ(platform::LoadString(library_.Handle(), 65083), u"Connection Setup");

  // The custom connection's name is inserted at the one %1.
  const WString leave = *platform::LoadString(library_.Handle(), 65087);
  const size_t mark = leave.find(u"%1");
  ASSERT_NE(mark, WString::npos);
  EXPECT_EQ(leave.find(u"%1", mark + 1), WString::npos);
  EXPECT_EQ(leave.find(u"%2"), WString::npos);

  // The script is UTF-8: its ellipsis arrives as one character.
  EXPECT_EQ(platform::LoadString(library_.Handle(), 65097), u"Loading settings\u2026");
}

TEST_F(BuiltResourceLibrary, DefinesNoStringOutsideTheAppletsNumbers) {
  const platform::ResourceFile& file = *library_.Handle();
  int defined = 0;
  for (const platform::ResourceRecord& r : file.Records()) {
    if (!(r.type == platform::ResourceId(platform::kResourceTypeString))) continue;
    ASSERT_TRUE(r.name.IsNumber());
    for (uint32_t i = 0; i < platform::kStringsPerBlock; ++i) {
      const uint32_t n = (r.name.Number() - 1u) * platform::kStringsPerBlock + i;
      WString text;
      if (platform::FindString(file, n, text) != platform::StringLookup::Found) continue;
      ++defined;
      EXPECT_TRUE(n == 1 || n == 2 || InRange(n, 61204, 61445) || InRange(n, 65017, 65101)) << n;
    }
  }
  EXPECT_EQ(defined, 75);
}

TEST_F(BuiltResourceLibrary, HasOneIconInBothSizes) {
  EXPECT_EQ(platform::ExtractIconCount(library_.Handle()), 1u);
  auto icon = platform::ExtractIconPair(library_.Handle(), 0);
  ASSERT_TRUE(icon.has_value());
  for (const auto& [image, size] : {std::pair{&icon->large, 32}, std::pair{&icon->small, 16}}) {
    EXPECT_EQ(image->width, size);
    EXPECT_EQ(image->height, size);
    EXPECT_EQ(image->bitCount, 32);
    // A bitmap header with the height counted twice (colour and mask), the
    // colour bits, and a mask of 32-bit aligned rows.
    ASSERT_GE(image->bytes.size(), 40u);
    EXPECT_EQ(image->bytes[0], 40);
    EXPECT_EQ(image->bytes[4], size);
    EXPECT_EQ(image->bytes[8], 2 * size);
    EXPECT_EQ(image->bytes.size(), 40u + size * size * 4 + size * 4u);
  }
}

}  // namespace
