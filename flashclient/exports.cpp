// The exported names of the driver library: every Client_ function with C
// linkage, and CreateReformatTimer under its C++ name. libDRKClientDriver.so
// is built with hidden visibility and a version script, DRKClientDriver.dll
// with a module-definition file (DRKClientDriver.def) that also gives
// CreateReformatTimer the name a Windows C++ compiler would; so nothing else
// is exported.
//
// No exception leaves through these names: each export answers with its
// stated failure value instead, and leaves progress negative so that a host
// polling it sees the failure.

#include "flashclient/drk_client.h"

#include "base/export_guard.h"
#include "flashclient/client_interface.h"
#include "flashclient/driver_state.h"

#ifdef _WIN32
#define DRK_EXPORT  // DRKClientDriver.def names the exports
#else
#define DRK_EXPORT __attribute__((visibility("default")))
#endif

namespace {

namespace dc = drkclient;

template <typename Work>
int Guarded(int failureValue, Work work) {
  return platform::CallGuarded(failureValue, work, [] { dc::NoteUnexpectedFailure(); });
}

// The failure values of the exports whose results have no failure of their
// own: the copies into host buffers and the calls that always answer 1.
constexpr int kCopyFailed = 0;
constexpr int kAlwaysOne = 1;

}  // namespace

extern "C" {

DRK_EXPORT int Client_Initialize(void) {
  return Guarded(dc::kInitializeFailed, [] { return dc::Client_Initialize(); });
}
DRK_EXPORT int Client_BL_Mode(const char* imageModel) {
  return Guarded(dc::kBlModeIdentificationFailed, [=] { return dc::Client_BL_Mode(imageModel); });
}
DRK_EXPORT int Client_ModelID(char* out) {
  return Guarded(kCopyFailed, [=] { return dc::Client_ModelID(out); });
}
DRK_EXPORT int Client_OS_Ver(char* out) {
  return Guarded(kCopyFailed, [=] { return dc::Client_OS_Ver(out); });
}
DRK_EXPORT int Client_OS_Lang(char* out) {
  return Guarded(kCopyFailed, [=] { return dc::Client_OS_Lang(out); });
}
DRK_EXPORT int Client_Component(int type, const char* list) {
  return Guarded(dc::kComponentUnavailable, [=] { return dc::Client_Component(type, list); });
}
DRK_EXPORT int Client_FlashBL(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashBL(p, h); });
}
DRK_EXPORT int Client_FlashMC(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashMC(p, h); });
}
DRK_EXPORT int Client_FlashFS(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashFS(p, h); });
}
DRK_EXPORT int Client_FlashCS(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashCS(p, h); });
}
DRK_EXPORT int Client_FlashOS(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashOS(p, h); });
}
DRK_EXPORT int Client_FlashWAN(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashWAN(p, h); });
}
DRK_EXPORT int Client_FlashAD(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_FlashAD(p, h); });
}
DRK_EXPORT int Client_M8346B(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_M8346B(p, h); });
}
DRK_EXPORT int Client_M8346D(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_M8346D(p, h); });
}
DRK_EXPORT int Client_M8346E(const char* p, int h) {
  return Guarded(dc::kImageFileCannotBeOpened, [=] { return dc::Client_M8346E(p, h); });
}
DRK_EXPORT int Client_SetPartitionSize(int p1, int p2) {
  return Guarded(dc::kPartitionSizeRefused, [=] { return dc::Client_SetPartitionSize(p1, p2); });
}
DRK_EXPORT int Client_StartFlash(void) {
  return Guarded(kAlwaysOne, [] { return dc::Client_StartFlash(); });
}
DRK_EXPORT int Client_Progress(void) {
  return Guarded(static_cast<int>(dc::kProgressTransportFailure), [] { return dc::Client_Progress(); });
}
DRK_EXPORT int Client_StatusMsg(char* out) {
  return Guarded(kCopyFailed, [=] { return dc::Client_StatusMsg(out); });
}
DRK_EXPORT int Client_Shutdown(void) {
  return Guarded(dc::kShutdownTimeout, [] { return dc::Client_Shutdown(); });
}
DRK_EXPORT int Client_Logging(int enable) {
  return Guarded(kAlwaysOne, [=] { return dc::Client_Logging(enable); });
}

}  // extern "C"

DRK_EXPORT int CreateReformatTimer() {
  return Guarded(kAlwaysOne, [] { return dc::CreateReformatTimer(); });
}
