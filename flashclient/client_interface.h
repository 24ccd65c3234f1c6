#pragma once
// The driver's exported interface, as C++ functions of the core library.
// exports.cpp gives each its C name in libDRKClientDriver.so; tests call
// these directly. Texts are 8-bit and NUL-terminated; out-buffers belong to
// the host and are filled only up to their stated sizes.

#include <cstdint>

#include "flashclient/flash_worker.h"

namespace drkclient {

inline constexpr int kInitializeFailed = 101;
inline constexpr int kShutdownTimeout = 202;
inline constexpr int kImageFileCannotBeOpened = 401;
inline constexpr int kBlModeMatch = 0;
inline constexpr int kBlModeNotSupported = 1;
inline constexpr int kBlModeIdentificationFailed = 2;
inline constexpr int kBlModeMismatch = 3;
inline constexpr int kRadioComponentType = 7;
// Client_Component's answer for a radio module it cannot vouch for.
inline constexpr int kComponentUnavailable = 1;
// Client_SetPartitionSize stored nothing.
inline constexpr int kPartitionSizeRefused = 1;

int Client_Initialize();
int Client_BL_Mode(const char* imageModel);
int Client_ModelID(char* out);
int Client_OS_Ver(char* out);
int Client_OS_Lang(char* out);
int Client_Component(int type, const char* list);
int Client_FlashBL(const char* path, int headerLen);
int Client_FlashMC(const char* path, int headerLen);
int Client_FlashFS(const char* path, int headerLen);
int Client_FlashCS(const char* path, int headerLen);
int Client_FlashOS(const char* path, int headerLen);
int Client_FlashWAN(const char* path, int headerLen);
int Client_FlashAD(const char* path, int headerLen);
int Client_M8346B(const char* path, int headerLen);
int Client_M8346D(const char* path, int headerLen);
int Client_M8346E(const char* path, int headerLen);
int Client_SetPartitionSize(int partition1, int partition2);
int Client_Progress();
int Client_StatusMsg(char* out);
int Client_Shutdown();
int Client_Logging(int enable);
// Client_StartFlash and CreateReformatTimer: flash_worker.h.

// After an export failed in a way it could not report otherwise (an
// exception caught at the exported edge): progress becomes -1 unless it
// already tells of a failure.
void NoteUnexpectedFailure();

}  // namespace drkclient
