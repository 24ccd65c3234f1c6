#include "tools/bootloader-sim/image_files.h"

#include <cstdio>

namespace bootsim {

void ImageFiles::Begin(std::string_view writeCommand, uint32_t length) {
  (void)length;
  file_.reset();
  std::string name(writeCommand.substr(writeCommand.empty() || writeCommand[0] != '?' ? 0 : 1));
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", ++count_);
  current_ = folder_ / (prefix + name + ".bin");
  file_.reset(std::fopen(current_.c_str(), "wb"));
  if (!file_) error_ = "cannot write " + current_.string();
}

void ImageFiles::Data(const uint8_t* bytes, size_t n) {
  if (file_ && std::fwrite(bytes, 1, n, file_.get()) != n) error_ = "cannot write " + current_.string();
}

void ImageFiles::End(bool complete) {
  (void)complete;
  if (file_ && std::fflush(file_.get()) != 0) error_ = "cannot write " + current_.string();
  file_.reset();
}

}  // namespace bootsim
