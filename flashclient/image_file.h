#pragma once
// An image file as the driver opens it, at selection and again when it is
// written: an existing regular file, for reading, and without sharing. On
// Windows no other program may open the file while the driver holds it, and
// a file another program holds open is refused; elsewhere files have no
// sharing modes.

#include <cstdint>
#include <optional>

#include "flashclient/driver_state.h"

namespace drkclient {

struct ImageFile {
  LogFilePtr file;  // a FILE* closed with the object
  uint64_t size = 0;
};

std::optional<ImageFile> OpenImageFile(const char* path);

}  // namespace drkclient
