#include "flashclient/image_file.h"

#include <sys/stat.h>

#include <cstdio>
#ifdef _WIN32
#include <share.h>
#endif

namespace drkclient {

std::optional<ImageFile> OpenImageFile(const char* path) {
  if (path == nullptr || *path == '\0') return std::nullopt;
#ifdef _WIN32
  LogFilePtr file(::_fsopen(path, "rb", _SH_DENYRW));
#else
  LogFilePtr file(std::fopen(path, "rb"));
#endif
  struct stat st {};
  if (!file || ::fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  // A size beyond what the C library reports is no usable size.
  if (st.st_size < 0) return std::nullopt;
  return ImageFile{std::move(file), static_cast<uint64_t>(st.st_size)};
}

}  // namespace drkclient
