#include "flashclient/flash_worker.h"

#include <mutex>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "flashclient/boot_protocol.h"
#include "flashclient/driver_log.h"
#include "flashclient/driver_state.h"
#include "flashclient/gsm_module_registry.h"
#include "flashclient/image_transfer.h"
#include "flashclient/port_layer.h"

namespace drkclient {

namespace {

class DriverThreads {
 public:
  ~DriverThreads() {
    // A thread still running at unload ends with the process.
    for (auto& t : threads_)
      if (t.joinable()) t.detach();
  }

  template <typename Fn>
  void Start(Fn fn) {
    std::lock_guard guard(mutex_);
    threads_.emplace_back(fn);
  }

  void JoinAll() {
    for (;;) {
      std::vector<std::thread> taken;
      {
        std::lock_guard guard(mutex_);
        taken.swap(threads_);
      }
      if (taken.empty()) return;
      for (auto& t : taken)
        if (t.joinable()) t.join();
    }
  }

 private:
  std::mutex mutex_;
  std::vector<std::thread> threads_;
};

DriverThreads& Threads() {
  static DriverThreads threads;
  return threads;
}

bool Selected(ImageKind kind) { return State().Image(kind).selected != 0; }

// Ends the run after a failed step: the port is closed and progress stays
// as the failing routine set it. A step that failed without saying why
// still leaves a failure behind, so the host never waits on a value that
// will not move again.
void Stop() {
  DriverState& s = State();
  if (s.progress.load() >= 0) s.progress = kProgressTransportFailure;
  ClosePort();
}

// Writes one image kind: status text, then Flash_Prog. False on failure.
bool WriteImage(ImageKind kind) {
  State().statusText.Set(KindInfo(kind).statusText);
  return Flash_Prog(kind) != 0;
}

// The radio image comes from the variant the device's module names. With
// no variant named, the image is left empty and the step fails as with a
// missing image file.
void ChooseRadioVariant() {
  DriverState& s = State();
  ImageEntry chosen;
  if (s.moduleText.Contains("M8346B")) {
    LogLine("B module", 0u);
    chosen = s.Variant(RadioVariant::B);
  } else if (s.moduleText.Contains("M8346D")) {
    LogLine("D module", 0u);
    chosen = s.Variant(RadioVariant::D);
  } else if (s.moduleText.Contains("M8346E")) {
    LogLine("E module", 0u);
    chosen = s.Variant(RadioVariant::E);
  }
  ImageEntry& radio = s.Image(ImageKind::RadioFirmware);
  radio.path.Assign(chosen.path.View());
  radio.dwHeaderLen = chosen.dwHeaderLen;
}

}  // namespace

void FlashWorker() {
  DriverState& s = State();
  if (Selected(ImageKind::RadioFirmware)) s.totalWeight += KindInfo(ImageKind::RadioFirmware).selectionWeight;

  LogLine("Flashing bootloader..............", 0u);
  if (Selected(ImageKind::Bootloader)) {
    if (!WriteImage(ImageKind::Bootloader)) return Stop();
    WarmReset();
  }
  LogLine("Repartition...............", 0u);
  if (s.repartitionRequested != 0) {
    s.statusText.Set("Repartitioning...");
    if (Repartition() == 0) {
      s.progress = kProgressTransportFailure;
      return Stop();
    }
  }
  LogLine("Flashing Microcontroller...............", 0u);
  if (Selected(ImageKind::Microcontroller) && !WriteImage(ImageKind::Microcontroller)) return Stop();
  LogLine("Flashing FileStore...............", 0u);
  if (Selected(ImageKind::FileStore) && !WriteImage(ImageKind::FileStore)) return Stop();
  LogLine("Flashing Custom ROM...............", 0u);
  if (Selected(ImageKind::CustomRegion) && !WriteImage(ImageKind::CustomRegion)) return Stop();
  LogLine("Flashing OS...............", 0u);
  if (Selected(ImageKind::OperatingSystem) && !WriteImage(ImageKind::OperatingSystem)) return Stop();
  LogLine("Flashing GSM...............", 0u);
  if (Selected(ImageKind::RadioFirmware)) {
    s.statusText.Set(KindInfo(ImageKind::RadioFirmware).statusText);
    ChooseRadioVariant();
    LogLine("Flash GSM", 0u);
    if (Flash_Prog(ImageKind::RadioFirmware) == 0) return Stop();
    WriteLastGsmModule(kGsmModuleNone);
  }
  LogLine("Flashing Asset data...............", 0u);
  if (Selected(ImageKind::AssetData) && !WriteImage(ImageKind::AssetData)) return Stop();
  LogLine("100% ??", 0u);
  s.progress = kProgressComplete;
}

void ReformatTimer() {
  DriverState& s = State();
  s.AdvanceProgress(1);
  platform::Sleep(kReformatTimerWaitMs);
  s.AdvanceProgress(1);
  s.doneWeight += kReformatTimerWeight;
}

int Client_StartFlash() {
  DriverState& s = State();
  int32_t progress = s.progress.load();
  if (progress < 0) {
    LogLine("error, thread not created", progress);
    return 1;
  }
  Threads().Start(FlashWorker);
  LogLine("Client_StartFlash Ends.", 0u);
  return 1;
}

int CreateReformatTimer() {
  DriverState& s = State();
  int32_t progress = s.progress.load();
  if (progress < 0) {
    LogLine("error, thread not created", progress);
    return 1;
  }
  Threads().Start(ReformatTimer);
  return 1;
}

void JoinDriverThreads() { Threads().JoinAll(); }

}  // namespace drkclient
