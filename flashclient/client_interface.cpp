#include "flashclient/client_interface.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "flashclient/boot_protocol.h"
#include "flashclient/driver_log.h"
#include "flashclient/driver_state.h"
#include "flashclient/flash_worker.h"
#include "flashclient/gsm_module_registry.h"
#include "flashclient/image_file.h"

namespace drkclient {

namespace {

constexpr char kProductWord[] = "Yvra";
constexpr char kSupportedModel[] = "Yvra t4170";
// The product word, the blank, the series letter and two model digits.
constexpr size_t kModelPrefixLength = 8;

std::string_view FromProductWord(std::string_view text) {
  size_t at = text.find(kProductWord);
  return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

bool SamePrefix(std::string_view a, std::string_view b) {
  return a.substr(0, kModelPrefixLength) == b.substr(0, kModelPrefixLength);
}

// The variant named by a module text, tested in this order.
uint32_t VariantOfModule(const FixedText<kModuleTextCapacity>& module) {
  if (module.Contains("6B")) return kGsmModuleB;
  if (module.Contains("6D")) return kGsmModuleD;
  if (module.Contains("6E")) return kGsmModuleE;
  return kGsmModuleNone;
}

// Takes the radio module variant from the device's module text, or when the
// device named none, from the registry. False when neither knows it.
bool ResolveRadioVariant() {
  DriverState& s = State();
  if (s.moduleText.Contains("8346")) {
    WriteLastGsmModule(VariantOfModule(s.moduleText));
    return true;
  }
  switch (ReadLastGsmModule()) {
    case kGsmModuleB: s.moduleText.Assign("M8346B"); return true;
    case kGsmModuleD: s.moduleText.Assign("M8346D"); return true;
    case kGsmModuleE: s.moduleText.Assign("M8346E"); return true;
    default:
      LogLine(
          "Could not retrieve GSM module type. To recover, set\\HKEY_CURRENT_USER\\Software\\Marvane\\qzDRK\\"
          "Last_GSM_module to 2,3 or 4 (M8346B, M8346D, M8346E)",
          0u);
      return false;
  }
}

// While a flash runs, the exports that would talk to the device or change
// what the worker reads refuse: true (after a log line) when this one must.
bool RefusedWhileFlashing(const char* exportName) {
  if (!FlashRunning()) return false;
  LogLine(std::string(exportName) + " refused, flash in progress", State().progress.load());
  return true;
}

// Stores the image's path and header length, then checks that the file can
// be opened. A path longer than the field is refused as a file that cannot
// be opened, rather than cut into the name of another file.
int SelectImage(ImageEntry& entry, int32_t& selectedFlag, const char* path, int headerLen) {
  DriverState& s = State();
  const bool fits = path != nullptr && FixedText<kPathCapacity>::Fits(path);
  entry.path.Assign(fits ? std::string_view(path) : std::string_view());
  entry.dwHeaderLen = static_cast<uint32_t>(headerLen);
  std::string shown = path != nullptr ? path : "";
  if (!fits || !OpenImageFile(path)) {
    LogLine("Failed to open NBF file: " + shown, 0u);
    LogClose();
    s.progress = kProgressImageFileError;
    return kImageFileCannotBeOpened;
  }
  LogLine("Successfully opened NBF file: " + shown, 0u);
  selectedFlag = 1;
  return 0;
}

int SelectKind(ImageKind kind, const char* path, int headerLen) {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  if (RefusedWhileFlashing("image selection")) return kImageFileCannotBeOpened;
  s.totalWeight += KindInfo(kind).selectionWeight;
  s.selectionWeight += KindInfo(kind).selectionWeight;
  ImageEntry& entry = s.Image(kind);
  return SelectImage(entry, entry.selected, path, headerLen);
}

int SelectVariant(RadioVariant variant, const char* path, int headerLen) {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  if (RefusedWhileFlashing("image selection")) return kImageFileCannotBeOpened;
  return SelectImage(s.Variant(variant), s.Image(ImageKind::RadioFirmware).selected, path, headerLen);
}

}  // namespace

int Client_Initialize() {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  if (RefusedWhileFlashing("Client_Initialize")) return kInitializeFailed;
  LogLine("Client_Initialize called", 0u);
  s.progress = kProgressInitializing;
  s.readyToFlash = false;
  const bool firstTime = !s.identified;
  const IdentifyResult identified = IdentifyDevice();
  if (!ResolveRadioVariant()) return kInitializeFailed;
  if (identified != IdentifyResult::Identified) {
    if (identified < IdentifyResult::InvalidDevice) LogLine("USB Timeout", static_cast<uint32_t>(identified));
    // The device hears the abort once, after the exchange that failed.
    if (firstTime) AbortSession();
    return kInitializeFailed;
  }
  LogLine(s.deviceIdLine.View(), 0u);
  LogLine(s.hwIdLine.View(), 0u);
  LogLine(s.cameraLine.View(), 0u);
  LogLine(s.modelText.View(), 0u);
  LogLine(s.moduleText.View(), 0u);
  LogLine(s.osVersion.View(), 0u);
  s.readyToFlash = s.blockSize != 0;
  return 0;
}

int Client_BL_Mode(const char* imageModel) {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  std::string_view model = FromProductWord(imageModel != nullptr ? imageModel : "");
  s.imageModelText.Assign(model);
  if (model.empty() || !SamePrefix(model, kSupportedModel)) {
    LogLine("model ID not supported!", 0u);
    return kBlModeNotSupported;
  }
  if (Client_Initialize() != 0) return kBlModeIdentificationFailed;
  std::string_view device = FromProductWord(s.modelText.View());
  if (device.empty() || !SamePrefix(model, device)) {
    LogLine("model ID does not match!", 0u);
    return kBlModeMismatch;
  }
  LogLine("model ID match!", 0u);
  return kBlModeMatch;
}

int Client_ModelID(char* out) {
  CopyToHostBuffer(State().modelText.View(), out, kHostModelIdBuffer);
  return 0;
}

int Client_OS_Ver(char* out) {
  CopyToHostBuffer(State().osVersion.View(), out, kHostOsVersionBuffer);
  return 0;
}

int Client_OS_Lang(char* out) {
  CopyToHostBuffer(State().osLanguage.View(), out, kHostOsLanguageBuffer);
  return 0;
}

int Client_Component(int type, const char* list) {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  Client_Initialize();
  if ((type & 0xFFFF) != kRadioComponentType) return 0;
  // Variant D is looked for under the letter C in the host's list.
  const char* letter = nullptr;
  const char* line = nullptr;
  if (s.moduleText.Contains("6B")) {
    letter = "B";
    line = "B module avaliable";
  } else if (s.moduleText.Contains("6D")) {
    letter = "C";
    line = "D module avaliable";
  } else if (s.moduleText.Contains("6E")) {
    letter = "E";
    line = "E module avaliable";
  } else {
    return kComponentUnavailable;
  }
  int result = list != nullptr && *list != '\0' && std::strstr(list, letter) == nullptr ? kComponentUnavailable : 0;
  LogLine(line, static_cast<uint32_t>(result));
  return result;
}

int Client_FlashBL(const char* path, int headerLen) { return SelectKind(ImageKind::Bootloader, path, headerLen); }
int Client_FlashMC(const char* path, int headerLen) { return SelectKind(ImageKind::Microcontroller, path, headerLen); }
int Client_FlashFS(const char* path, int headerLen) { return SelectKind(ImageKind::FileStore, path, headerLen); }
int Client_FlashCS(const char* path, int headerLen) { return SelectKind(ImageKind::CustomRegion, path, headerLen); }
int Client_FlashOS(const char* path, int headerLen) { return SelectKind(ImageKind::OperatingSystem, path, headerLen); }
int Client_FlashWAN(const char* path, int headerLen) { return SelectKind(ImageKind::RadioFirmware, path, headerLen); }
int Client_FlashAD(const char* path, int headerLen) { return SelectKind(ImageKind::AssetData, path, headerLen); }
int Client_M8346B(const char* path, int headerLen) { return SelectVariant(RadioVariant::B, path, headerLen); }
int Client_M8346D(const char* path, int headerLen) { return SelectVariant(RadioVariant::D, path, headerLen); }
int Client_M8346E(const char* path, int headerLen) { return SelectVariant(RadioVariant::E, path, headerLen); }

int Client_SetPartitionSize(int partition1, int partition2) {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  if (RefusedWhileFlashing("Client_SetPartitionSize")) return kPartitionSizeRefused;
  s.partition1Size = partition1;
  s.partition2Size = partition2;
  s.repartitionRequested = partition1 == 0 && partition2 == 0 ? 0 : 1;
  return 0;
}

int Client_Progress() { return State().progress.load(); }

int Client_StatusMsg(char* out) {
  State().statusText.CopyTo(out, kHostStatusBuffer);
  return 0;
}

int Client_Shutdown() {
  std::lock_guard guard(State().exportMutex);
  // The release would go into the middle of the worker's exchange.
  if (RefusedWhileFlashing("Client_Shutdown")) return kShutdownTimeout;
  return ReleaseDevice() == ReleaseResult::Released ? 0 : kShutdownTimeout;
}

void NoteUnexpectedFailure() {
  int32_t running = State().progress.load();
  while (running >= 0 && !State().progress.compare_exchange_weak(running, kProgressTransportFailure)) {
  }
}

int Client_Logging(int enable) {
  State().loggingEnabled = enable != 0 ? 1 : 0;
  return 1;
}

}  // namespace drkclient
