#include "flashclient/driver_state.h"

#include "flashclient/boot_protocol.h"

namespace drkclient {

void StatusText::Set(std::string_view text) {
  std::lock_guard guard(mutex_);
  text_.Assign(text);
}

std::string StatusText::Get() const {
  std::lock_guard guard(mutex_);
  return text_.Str();
}

void StatusText::CopyTo(char* out, size_t capacity) const {
  std::lock_guard guard(mutex_);
  CopyToHostBuffer(text_.View(), out, capacity);
}

void DriverState::AdvanceProgress(int32_t by) {
  int32_t now = progress.load();
  for (;;) {
    if (now < 0 || now >= kProgressMaxWhileWriting) return;
    int32_t next = now + by > kProgressMaxWhileWriting ? kProgressMaxWhileWriting : now + by;
    if (progress.compare_exchange_weak(now, next)) return;
  }
}

DriverState& State() {
  static DriverState state;
  return state;
}

void ResetDriverState() {
  DriverState& s = State();
  if (s.port) s.port->Close();
  s.port.reset();
  s.osFamily = -1;
  s.loggingEnabled = 0;
  s.logFile.reset();
  s.logFileName.Clear();
  s.progress = kProgressNothingStarted;
  s.statusText.Set("");
  s.identified = false;
  s.identifyResult = IdentifyResult::Identified;
  s.readyToFlash = false;
  s.deviceIdLine.Clear();
  s.hwIdLine.Clear();
  s.cameraLine.Clear();
  s.modelText.Clear();
  s.bufferSizeLine.Clear();
  s.moduleText.Clear();
  s.osVersion.Clear();
  s.osLanguage.Clear();
  s.blockSize = 0;
  s.imageModelText.Clear();
  s.images = {};
  s.radioVariantImages = {};
  s.repartitionRequested = 0;
  s.partition1Size = 0;
  s.partition2Size = 0;
  s.totalWeight = 0;
  s.doneWeight = 0;
  s.selectionWeight = 0;
  s.runsStarted = 0;
  s.oneByte = 0;
  s.stopRequested = false;
}

const ImageKindInfo& KindInfo(ImageKind kind) {
  // Selection weight, status text, write and key commands, transfer and
  // device-phase weights. The microcontroller's selection weight is its
  // transfer weight plus its device phase.
  static const ImageKindInfo kInfo[kImageKindCount] = {
      {12, "Flashing Bootloader...", "?wbl", "?nb0", 12, 0},
      {312, "Flashing Micro Controller...", "?wup", "?hex", 156, 156},
      {193, "Flashing File Store...", "?wfs", "?nb0", 193, 0},
      {38, "Flashing Custom Region...", "?wcs", "?nb0", 38, 0},
      {280, "Flashing OS...", "?wos", "?nb0", 280, 0},
      {187, "Flashing GSM Firmware...", "?wgs", "?dwl", 187, 0},
      {10, "Flashing Asset Data...", "?wad", "?asset.nb0", 10, 0},
  };
  return kInfo[static_cast<size_t>(kind)];
}

}  // namespace drkclient
