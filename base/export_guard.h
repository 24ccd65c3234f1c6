#pragma once
// The edge between our C++ and a caller that knows only C: an exported
// function, or the body of a thread. An exception that reaches such an edge
// ends the whole host program through std::terminate (a thread that cannot
// be started, an allocation that is refused), so every exported function
// runs its work through CallGuarded and answers with its stated failure
// value instead.
//
//   int Client_Initialize(void) {
//     return platform::CallGuarded(kInitializeFailed, [] { return drkclient::Client_Initialize(); });
//   }
//
// onFailure runs after the work has let an exception out, so the component
// can leave a trace the caller will see (a failure status, a log line). An
// exception from onFailure itself is swallowed: the edge holds either way.

#include <type_traits>
#include <utility>

namespace platform {

namespace export_guard_detail {

template <typename OnFailure>
void RunFailureHandler(OnFailure& onFailure) noexcept {
  try {
    onFailure();
  } catch (...) {
  }
}

}  // namespace export_guard_detail

// Returns what work returns, or fallback when work throws.
template <typename Result, typename Work, typename OnFailure>
Result CallGuarded(Result fallback, Work&& work, OnFailure&& onFailure) noexcept {
  static_assert(std::is_nothrow_copy_constructible_v<Result>, "the fallback must be returned without throwing");
  try {
    return static_cast<Result>(std::forward<Work>(work)());
  } catch (...) {
    export_guard_detail::RunFailureHandler(onFailure);
    return fallback;
  }
}

template <typename Result, typename Work>
Result CallGuarded(Result fallback, Work&& work) noexcept {
  return CallGuarded(fallback, std::forward<Work>(work), [] {});
}

// For work without a result (a thread's body): true when it ran to its end.
template <typename Work, typename OnFailure>
bool RunGuarded(Work&& work, OnFailure&& onFailure) noexcept {
  return CallGuarded(
      false,
      [&] {
        std::forward<Work>(work)();
        return true;
      },
      std::forward<OnFailure>(onFailure));
}

}  // namespace platform
