#include "platform/freetype_library.h"

#include FT_MODULE_H

#include <cstdlib>

namespace platform {

namespace {

void* Allocate(FT_Memory, long size) { return std::malloc(static_cast<size_t>(size)); }
void Free(FT_Memory, void* block) { std::free(block); }
void* Reallocate(FT_Memory, long, long newSize, void* block) {
  return std::realloc(block, static_cast<size_t>(newSize));
}

class Library {
 public:
  Library() {
    // FT_Init_FreeType would also read FREETYPE_PROPERTIES; building the
    // library by hand leaves that step out.
    if (FT_New_Library(&memory_, &library_) != 0) {
      library_ = nullptr;
      return;
    }
    FT_Add_Default_Modules(library_);
  }
  ~Library() {
    if (library_ != nullptr) FT_Done_Library(library_);
  }
  FT_Library Get() const { return library_; }

 private:
  FT_MemoryRec_ memory_{nullptr, Allocate, Free, Reallocate};
  FT_Library library_ = nullptr;
};

}  // namespace

FT_Library FreeTypeLibrary() {
  static Library library;
  return library.Get();
}

std::mutex& FreeTypeMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace platform
