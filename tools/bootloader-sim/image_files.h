#pragma once
// Saves each image the emulator receives to a folder, one file per write
// command: NN-<command>.bin (01-wos.bin, 02-wgs.bin, ...), streamed to disk
// block by block so the sim's memory does not grow with the image.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "tools/bootloader-sim/boot_loader_emulator.h"

namespace bootsim {

class ImageFiles final : public ImageSink {
 public:
  explicit ImageFiles(std::filesystem::path folder) : folder_(std::move(folder)) {}

  void Begin(std::string_view writeCommand, uint32_t length) override;
  void Data(const uint8_t* bytes, size_t n) override;
  void End(bool complete) override;

  // The last failure to write, empty when all went well.
  const std::string& Error() const { return error_; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::filesystem::path folder_;
  std::unique_ptr<std::FILE, Closer> file_;
  std::filesystem::path current_;
  int count_ = 0;
  std::string error_;
};

}  // namespace bootsim
