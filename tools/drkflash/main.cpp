// drkflash: flashes ROM images to a handheld waiting in its boot loader,
// through the flash driver's exported interface as a desktop update program
// uses it: identify, select the images, start, poll progress and status
// until the end, release.

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "flashclient/drk_client.h"
#include "flashclient/port_layer.h"
#include "tools/drkflash/image_argument.h"

namespace {

constexpr int kPollIntervalMs = 100;
constexpr int kBarWidth = 30;
constexpr int kStatusBufferSize = 256;
constexpr int kModelBufferSize = 32;
constexpr int kOsVersionBufferSize = 9;
constexpr int kOsLanguageBufferSize = 32;
constexpr int kImageFileCannotBeOpened = 401;

struct ImageOption {
  const char* name;
  const char* help;
  int (*select)(const char*, int);
  std::string value;
};

std::string Explain(int progress) {
  switch (progress) {
    case -1:
      return "transport or protocol failure: the boot loader stopped answering, or the link failed";
    case -2:
      return "image file error: an image file could not be opened or was shorter than announced";
    case -3:
      return "the boot loader answered with its error marker";
    default:
      return "the flash ended unexpectedly (progress " + std::to_string(progress) + ")";
  }
}

class ProgressDisplay {
 public:
  explicit ProgressDisplay(bool terminal) : terminal_(terminal) {}

  void Show(int progress, const std::string& status) {
    if (terminal_) {
      int shown = progress < 0 ? 0 : progress > 100 ? 100 : progress;
      int filled = shown * kBarWidth / 100;
      std::string bar(static_cast<size_t>(filled), '#');
      bar.append(static_cast<size_t>(kBarWidth - filled), '.');
      std::printf("\r[%s] %3d%%  %-40.40s", bar.c_str(), shown, status.c_str());
      std::fflush(stdout);
      drawn_ = true;
      return;
    }
    // Not a terminal: a line whenever the status or the tens digit moves.
    if (status != lastStatus_ || progress / 10 != lastProgress_ / 10) {
      std::printf("%3d%%  %s\n", progress, status.c_str());
      std::fflush(stdout);
    }
    lastStatus_ = status;
    lastProgress_ = progress;
  }

  void Finish() {
    if (terminal_ && drawn_) std::printf("\n");
    std::fflush(stdout);
  }

 private:
  bool terminal_;
  bool drawn_ = false;
  std::string lastStatus_;
  int lastProgress_ = -100;
};

bool StdoutIsTerminal() {
#ifdef _WIN32
  return ::_isatty(::_fileno(stdout)) != 0;
#else
  return ::isatty(STDOUT_FILENO) != 0;
#endif
}

// The driver reads its port from the environment.
void SetSerialPort(const std::string& port) {
#ifdef _WIN32
  ::_putenv_s("DRK_SERIAL_PORT", port.c_str());
#else
  ::setenv("DRK_SERIAL_PORT", port.c_str(), 1);
#endif
}

int Fail(const std::string& message) {
  std::cerr << "drkflash: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "drkflash: writes ROM images to a handheld waiting in its boot loader on a serial port.\n"
      "Each image option takes FILE or FILE:HEADERLEN (bytes at the start of the file that\n"
      "are not sent). The radio firmware is written from the variant image that matches the\n"
      "device's radio module (--radio-b, --radio-d, --radio-e)."};
  std::string port, model, partition;
  bool identify = false, log = false;
  std::vector<ImageOption> images = {
      {"--bootloader", "Boot loader image", Client_FlashBL, {}},
      {"--microcontroller", "Microcontroller image", Client_FlashMC, {}},
      {"--file-store", "File store image", Client_FlashFS, {}},
      {"--custom-region", "Custom region image", Client_FlashCS, {}},
      {"--os", "Operating system image", Client_FlashOS, {}},
      {"--radio", "Radio firmware, generic selection", Client_FlashWAN, {}},
      {"--radio-b", "Radio firmware for module variant B", Client_M8346B, {}},
      {"--radio-d", "Radio firmware for module variant D", Client_M8346D, {}},
      {"--radio-e", "Radio firmware for module variant E", Client_M8346E, {}},
      {"--asset-data", "Asset data image (32768 bytes are sent)", Client_FlashAD, {}},
  };
  app.add_option("--port", port,
                 std::string("Serial device of the handheld (sets DRK_SERIAL_PORT; default ") +
                     drkclient::kDefaultSerialDevice + ")");
  for (auto& image : images) app.add_option(image.name, image.value, image.help)->type_name("FILE[:HEADERLEN]");
  app.add_option("--partition", partition, "Repartition the flash first: sizes of partitions 1 and 2")
      ->type_name("P1,P2");
  app.add_option("--model", model, "Model of the image set; the device must match it (e.g. \"Yvra t4170\")");
  app.add_flag("--identify", identify, "Identify the device, print its texts and release it");
  app.add_flag("--log", log, "Write the driver's diagnostic log files to the current folder");
  CLI11_PARSE(app, argc, argv);

  // Everything the command line can get wrong is checked before the device
  // is touched.
  std::vector<std::pair<const ImageOption*, drkflash::ImageArgument>> selected;
  for (const auto& image : images) {
    if (image.value.empty()) continue;
    std::string why;
    auto arg = drkflash::ParseImageArgument(image.value, why);
    if (!arg) return Fail(std::string(image.name) + ": " + why);
    selected.emplace_back(&image, *arg);
  }
  std::optional<std::pair<int, int>> sizes;
  if (!partition.empty()) {
    int p1 = 0, p2 = 0;
    char extra = 0;
    if (std::sscanf(partition.c_str(), "%d,%d%c", &p1, &p2, &extra) != 2)
      return Fail("--partition takes two sizes, P1,P2 (got '" + partition + "')");
    sizes = std::make_pair(p1, p2);
  }
  if (!identify && selected.empty() && !sizes) return Fail("nothing to do: name an image, --partition or --identify");
  if (!port.empty()) SetSerialPort(port);
  const char* device = std::getenv("DRK_SERIAL_PORT");
  const std::string deviceName = device != nullptr && *device != '\0' ? device : drkclient::kDefaultSerialDevice;
  if (log) Client_Logging(1);

  std::cout << "Waiting for the boot loader on " << deviceName << "..." << std::endl;
  if (!model.empty()) {
    switch (Client_BL_Mode(model.c_str())) {
      case 0: break;
      case 1: return Fail("the image set's model '" + model + "' is not supported");
      case 2: return Fail("could not identify the device on " + deviceName + " (run with --log for details)");
      default: {
        char found[kModelBufferSize] = {};
        Client_ModelID(found);
        Client_Shutdown();
        return Fail("the device is a '" + std::string(found) + "', not a '" + model + "'");
      }
    }
  } else if (Client_Initialize() != 0) {
    return Fail("could not identify the device on " + deviceName +
                " (no boot loader answered, it reported an error, or its radio module is unknown; "
                "run with --log for details)");
  }

  if (identify) {
    char modelText[kModelBufferSize] = {}, osVersion[kOsVersionBufferSize] = {},
         osLanguage[kOsLanguageBufferSize] = {};
    Client_ModelID(modelText);
    Client_OS_Ver(osVersion);
    Client_OS_Lang(osLanguage);
    std::cout << "Model:       " << modelText << "\n"
              << "OS version:  " << osVersion << "\n"
              << "OS language: " << osLanguage << "\n";
    if (Client_Shutdown() != 0) return Fail("the device did not answer the release");
    return 0;
  }

  for (const auto& [image, arg] : selected) {
    if (image->select(arg.path.c_str(), arg.headerLength) == kImageFileCannotBeOpened) {
      Client_Shutdown();
      return Fail(std::string(image->name) + ": cannot open image file '" + arg.path + "'");
    }
  }
  if (sizes) Client_SetPartitionSize(sizes->first, sizes->second);
  if (Client_Progress() < 0) {
    Client_Shutdown();
    return Fail("the device cannot be written: " + Explain(Client_Progress()));
  }

  Client_StartFlash();
  ProgressDisplay display(StdoutIsTerminal());
  int progress = 0;
  char status[kStatusBufferSize] = {};
  for (;;) {
    progress = Client_Progress();
    Client_StatusMsg(status);
    display.Show(progress, status);
    if (progress >= 100 || progress < 0) break;
    platform::Sleep(kPollIntervalMs);
  }
  display.Finish();
  if (progress < 0) {
    Client_Shutdown();
    return Fail("flashing failed during '" + std::string(status) + "': " + Explain(progress));
  }
  if (Client_Shutdown() != 0) return Fail("all images were written, but the device did not answer the release");
  std::cout << "Done: every image was written and the device released." << std::endl;
  return 0;
}
