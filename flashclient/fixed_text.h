#pragma once
// A text field of fixed capacity, as the driver's state keeps its device
// texts and paths. Assigning a longer text keeps only what fits, so no copy
// ever runs past a field; Fits() lets a caller refuse instead of cutting.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace drkclient {

template <size_t Capacity>
class FixedText {
 public:
  static constexpr size_t kCapacity = Capacity;

  static constexpr bool Fits(std::string_view text) { return text.size() <= Capacity; }

  void Assign(std::string_view text) {
    size_ = std::min(text.size(), Capacity);
    std::copy_n(text.data(), size_, chars_.data());
    chars_[size_] = '\0';
  }
  void Clear() { Assign({}); }

  std::string_view View() const { return {chars_.data(), size_}; }
  std::string Str() const { return std::string(View()); }
  const char* CStr() const { return chars_.data(); }
  bool Empty() const { return size_ == 0; }
  bool Contains(std::string_view part) const { return View().find(part) != std::string_view::npos; }

 private:
  std::array<char, Capacity + 1> chars_{};
  size_t size_ = 0;
};

// Copies a NUL-terminated text into a host buffer of the given capacity
// (terminator included), cutting what does not fit.
inline void CopyToHostBuffer(std::string_view text, char* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return;
  size_t n = std::min(text.size(), capacity - 1);
  std::copy_n(text.data(), n, out);
  out[n] = '\0';
}

}  // namespace drkclient
