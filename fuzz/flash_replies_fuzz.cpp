// Feeds arbitrary device answers to the flash driver: identification, the
// writing of an OS image and a microcontroller image, and the release, all
// through the in-memory port under a manual clock. The input is a series of
// chunks, each a length byte and that many bytes; every write of the host
// after the link handshake is answered with the next chunk. Whatever the
// device says, the driver must neither crash nor read or write out of
// bounds, and must end every run.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "flashclient/boot_protocol.h"
#include "flashclient/client_interface.h"
#include "flashclient/driver_state.h"
#include "flashclient/flash_worker.h"
#include "flashclient/serial/memory_serial_port.h"
#include "flashclient/test_hooks.h"

namespace {

constexpr uint32_t kLargestBlockTried = 64 * 1024;

class ChunkDevice final : public drkclient::MemoryDevice {
 public:
  ChunkDevice(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  void OnHostWrite(const uint8_t* bytes, size_t n, drkclient::MemoryLink& link) override {
    std::string written(reinterpret_cast<const char*>(bytes), n);
    if (!connected_) {
      if (written == "A000FF\n") link.Send("\xAA");
      if (written == "@") connected_ = true;
      return;
    }
    if (at_ >= size_) return;
    size_t len = data_[at_++];
    len = std::min(len, size_ - at_);
    link.Send(data_ + at_, len);
    at_ += len;
  }
  void OnPoll(uint64_t, drkclient::MemoryLink& link) override {
    if (!connected_ && link.Pending() == 0) link.Send("\xAA\x55\x55\xAA");
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  bool connected_ = false;
};

// The image the driver writes, a host file as the desktop program gives it;
// made once per run and removed at its end.
class ImageFile {
 public:
  ImageFile() {
    char name[] = "/tmp/flash-replies-fuzz-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) std::abort();
    std::string bytes(3000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    path_ = name;
    if (!written) std::abort();
  }
  ~ImageFile() { ::unlink(path_.c_str()); }
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Never the user's own registry.
  ::setenv("DRK_REGISTRY", "/nonexistent/drkclient/registry.reg", 1);
  static const ImageFile imageFile;
  const std::string& image = imageFile.Path();
  platform::ManualClock clock;
  ChunkDevice device(data, size);
  drkclient::MemoryPortOpener opener(device);
  drkclient::ScopedDriverForTest scope(clock, opener);

  if (drkclient::Client_Initialize() == 0 && drkclient::State().blockSize <= kLargestBlockTried) {
    drkclient::Client_FlashOS(image.c_str(), 16);
    drkclient::Client_FlashMC(image.c_str(), 0);
    // The worker runs on this thread so that the run ends with the call.
    if (drkclient::Client_Progress() >= 0) drkclient::FlashWorker();
    drkclient::JoinDriverThreads();
  }
  drkclient::Client_Shutdown();
  int progress = drkclient::Client_Progress();
  if (progress > 100 || progress < -3) std::abort();
  return 0;
}
