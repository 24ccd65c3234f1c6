// The desktop's OS family from the system's version text, and its caching
// for the load.

#include <gtest/gtest.h>

#include "tests/flashclient/driver_fixture.h"
#include "flashclient/os_family.h"

namespace flashtest {
namespace {

using drkclient::OsFamilyFromVersion;

TEST(OsFamily, ComesFromTheMajorVersionNumber) {
  struct Case {
    const char* text;
    int32_t family;
  };
  const Case cases[] = {
      {"3.51", 1}, {"4.0", 1}, {"5.0", 2}, {"5.1", 2}, {"5.2", 2},
      // Later NT systems are no less NT: Vista to 11 write 6.0 to 6.3.
      {"6.0", 2}, {"6.3", 2}, {"10.0", 2},
      {"", 0}, {"5", 0}, {".5", 0}, {"2.0", 0}, {"Windows 5.1", 0}, {"x5.1", 0}, {"12345.0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(OsFamilyFromVersion(c.text), c.family) << '"' << c.text << '"';
}

using OsFamilyDetection = DriverTest;

TEST_F(OsFamilyDetection, IsReadOnceAndKeptForTheLoad) {
  EXPECT_EQ(S().osFamily, -1);
  EXPECT_EQ(drkclient::DetectOsFamily(), drkclient::kOsFamilyNt5);  // terminals are driven as NT 5.x
  S().osFamily = drkclient::kOsFamilyOther;
  EXPECT_EQ(drkclient::DetectOsFamily(), drkclient::kOsFamilyOther);
}

}  // namespace
}  // namespace flashtest
