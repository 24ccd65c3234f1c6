// The guard at exported functions and thread bodies: whatever the work
// throws, the caller gets the fallback and the failure handler runs once.

#include "base/export_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

using platform::CallGuarded;
using platform::RunGuarded;

constexpr int kFallback = 101;

TEST(ExportGuard, AnyExceptionBecomesTheFallback) {
  struct Case {
    const char* name;
    std::function<int()> work;
    int expected;
    int handlerRuns;
  };
  const Case cases[] = {
      {"result", [] { return 0; }, 0, 0},
      {"a result equal to the fallback", [] { return kFallback; }, kFallback, 0},
      {"refused allocation", []() -> int { throw std::bad_alloc(); }, kFallback, 1},
      {"thread not started",
       []() -> int { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); },
       kFallback, 1},
      {"not a standard exception", []() -> int { throw 42; }, kFallback, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int handlerRuns = 0;
    EXPECT_EQ(CallGuarded(kFallback, c.work, [&] { ++handlerRuns; }), c.expected);
    EXPECT_EQ(handlerRuns, c.handlerRuns);
    EXPECT_EQ(CallGuarded(kFallback, c.work), c.expected);
  }
}

TEST(ExportGuard, AFailingHandlerDoesNotBreakThrough) {
  EXPECT_EQ(CallGuarded(
                kFallback, []() -> int { throw std::runtime_error("work"); },
                [] { throw std::runtime_error("handler"); }),
            kFallback);
}

TEST(ExportGuard, WorkWithoutAResultTellsWhetherItRanToItsEnd) {
  int steps = 0;
  int failures = 0;
  EXPECT_TRUE(RunGuarded([&] { ++steps; }, [&] { ++failures; }));
  EXPECT_FALSE(RunGuarded(
      [&] {
        ++steps;
        throw std::bad_alloc();
      },
      [&] { ++failures; }));
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(failures, 1);
}

TEST(ExportGuard, TheGuardItselfNeverThrows) {
  static_assert(noexcept(CallGuarded(0, [] { return 1; })));
  static_assert(noexcept(RunGuarded([] {}, [] {})));
}

}  // namespace
