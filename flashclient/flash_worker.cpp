#include "flashclient/flash_worker.h"

#include "base/clock.h"
#include "flashclient/boot_protocol.h"
#include "flashclient/driver_log.h"
#include "flashclient/driver_state.h"
#include "flashclient/driver_threads.h"
#include "flashclient/gsm_module_registry.h"
#include "flashclient/image_transfer.h"
#include "flashclient/port_layer.h"

namespace drkclient {

namespace {

// The reformat timer sleeps in slices so that an unloading library need
// not wait out its ten seconds.
constexpr uint32_t kTimerSliceMs = 100;

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
  return Flash_Prog(kind) == ImageResult::Written;
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

// The worker's steps after the radio weight, in their order. Each writes
// its log line whether or not it runs; a step that runs and fails ends the
// run.
struct Step {
  const char* logLine;
  bool (*runs)();
  bool (*work)();
};

bool WriteBootloader() {
  // The boot loader restarts into its new image: a restart that goes
  // unanswered leaves nothing to write the other images to.
  return WriteImage(ImageKind::Bootloader) && WarmReset() == ExchangeResult::Done;
}

bool RepartitionFlash() {
  State().statusText.Set("Repartitioning...");
  return Repartition() == ExchangeResult::Done;
}

bool WriteRadioFirmware() {
  State().statusText.Set(KindInfo(ImageKind::RadioFirmware).statusText);
  ChooseRadioVariant();
  LogLine("Flash GSM", 0u);
  if (Flash_Prog(ImageKind::RadioFirmware) != ImageResult::Written) return false;
  WriteLastGsmModule(kGsmModuleNone);
  return true;
}

template <ImageKind kind>
bool IsSelected() {
  return Selected(kind);
}

template <ImageKind kind>
bool Write() {
  return WriteImage(kind);
}

constexpr Step kSteps[] = {
    {"Flashing bootloader..............", IsSelected<ImageKind::Bootloader>, WriteBootloader},
    {"Repartition...............", [] { return State().repartitionRequested != 0; }, RepartitionFlash},
    {"Flashing Microcontroller...............", IsSelected<ImageKind::Microcontroller>,
     Write<ImageKind::Microcontroller>},
    {"Flashing FileStore...............", IsSelected<ImageKind::FileStore>, Write<ImageKind::FileStore>},
    {"Flashing Custom ROM...............", IsSelected<ImageKind::CustomRegion>, Write<ImageKind::CustomRegion>},
    {"Flashing OS...............", IsSelected<ImageKind::OperatingSystem>, Write<ImageKind::OperatingSystem>},
    {"Flashing GSM...............", IsSelected<ImageKind::RadioFirmware>, WriteRadioFirmware},
    {"Flashing Asset data...............", IsSelected<ImageKind::AssetData>, Write<ImageKind::AssetData>},
};

// A run after the first starts where the first did: progress 1, nothing
// done, and the total from the selections made so far (the worker adds the
// radio weight again as it starts).
void BeginRun() {
  DriverState& s = State();
  if (s.runsStarted > 0) {
    s.progress = kProgressInitializing;
    s.doneWeight = 0;
  }
  s.totalWeight = s.selectionWeight;
  ++s.runsStarted;
}

// Logs why no thread starts.
void NotCreated() { LogLine("error, thread not created", State().progress.load()); }

}  // namespace

void FlashWorker() {
  DriverState& s = State();
  if (Selected(ImageKind::RadioFirmware)) s.totalWeight += KindInfo(ImageKind::RadioFirmware).selectionWeight;
  for (const Step& step : kSteps) {
    // Whatever set progress negative, no further step touches the device.
    if (s.progress.load() < 0 || StopRequested()) return Stop();
    LogLine(step.logLine, 0u);
    if (step.runs() && !step.work()) return Stop();
  }
  if (s.progress.load() < 0 || StopRequested()) return Stop();
  LogLine("100% ??", 0u);
  s.progress = kProgressComplete;
}

void ReformatTimer() {
  DriverState& s = State();
  s.AdvanceProgress(1);
  for (uint32_t waited = 0; waited < kReformatTimerWaitMs && !StopRequested(); waited += kTimerSliceMs)
    platform::Sleep(kTimerSliceMs);
  s.AdvanceProgress(1);
  s.doneWeight += kReformatTimerWeight;
}

int Client_StartFlash() {
  DriverState& s = State();
  std::lock_guard guard(s.exportMutex);
  if (s.progress.load() < 0 || FlashRunning()) {
    NotCreated();
    return 1;
  }
  if (!s.readyToFlash) {
    // Nothing may be written to a device that was not identified, or that
    // gave no block size; the host polling progress must see it.
    s.progress = kProgressTransportFailure;
    NotCreated();
    return 1;
  }
  BeginRun();
  DriverThreads::Instance().StartWorker(FlashWorker, Stop);
  LogLine("Client_StartFlash Ends.", 0u);
  return 1;
}

void StartReformatTimer() {
  if (State().progress.load() < 0) return NotCreated();
  DriverThreads::Instance().StartTimer(ReformatTimer);
}

int CreateReformatTimer() {
  std::lock_guard guard(State().exportMutex);
  // A running flash starts its own timer when it repartitions.
  if (FlashRunning()) {
    NotCreated();
    return 1;
  }
  StartReformatTimer();
  return 1;
}

bool FlashRunning() { return DriverThreads::Instance().WorkerRunning(); }

void JoinDriverThreads() { DriverThreads::Instance().JoinAll(); }

}  // namespace drkclient
