// The exported names of libDRKClientDriver.so: every Client_ function with C
// linkage, and CreateReformatTimer under its C++ name. The library is built
// with hidden visibility and a version script, so nothing else is exported.

#include "flashclient/drk_client.h"

#include "flashclient/client_interface.h"

#define DRK_EXPORT __attribute__((visibility("default")))

extern "C" {

DRK_EXPORT int Client_Initialize(void) { return drkclient::Client_Initialize(); }
DRK_EXPORT int Client_BL_Mode(const char* imageModel) { return drkclient::Client_BL_Mode(imageModel); }
DRK_EXPORT int Client_ModelID(char* out) { return drkclient::Client_ModelID(out); }
DRK_EXPORT int Client_OS_Ver(char* out) { return drkclient::Client_OS_Ver(out); }
DRK_EXPORT int Client_OS_Lang(char* out) { return drkclient::Client_OS_Lang(out); }
DRK_EXPORT int Client_Component(int type, const char* list) { return drkclient::Client_Component(type, list); }
DRK_EXPORT int Client_FlashBL(const char* p, int h) { return drkclient::Client_FlashBL(p, h); }
DRK_EXPORT int Client_FlashMC(const char* p, int h) { return drkclient::Client_FlashMC(p, h); }
DRK_EXPORT int Client_FlashFS(const char* p, int h) { return drkclient::Client_FlashFS(p, h); }
DRK_EXPORT int Client_FlashCS(const char* p, int h) { return drkclient::Client_FlashCS(p, h); }
DRK_EXPORT int Client_FlashOS(const char* p, int h) { return drkclient::Client_FlashOS(p, h); }
DRK_EXPORT int Client_FlashWAN(const char* p, int h) { return drkclient::Client_FlashWAN(p, h); }
DRK_EXPORT int Client_FlashAD(const char* p, int h) { return drkclient::Client_FlashAD(p, h); }
DRK_EXPORT int Client_M8346B(const char* p, int h) { return drkclient::Client_M8346B(p, h); }
DRK_EXPORT int Client_M8346D(const char* p, int h) { return drkclient::Client_M8346D(p, h); }
DRK_EXPORT int Client_M8346E(const char* p, int h) { return drkclient::Client_M8346E(p, h); }
DRK_EXPORT int Client_SetPartitionSize(int p1, int p2) { return drkclient::Client_SetPartitionSize(p1, p2); }
DRK_EXPORT int Client_StartFlash(void) { return drkclient::Client_StartFlash(); }
DRK_EXPORT int Client_Progress(void) { return drkclient::Client_Progress(); }
DRK_EXPORT int Client_StatusMsg(char* out) { return drkclient::Client_StatusMsg(out); }
DRK_EXPORT int Client_Shutdown(void) { return drkclient::Client_Shutdown(); }
DRK_EXPORT int Client_Logging(int enable) { return drkclient::Client_Logging(enable); }

}  // extern "C"

DRK_EXPORT int CreateReformatTimer() { return drkclient::CreateReformatTimer(); }
