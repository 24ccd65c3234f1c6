#pragma once
/* The C interface of the flash driver (libDRKClientDriver.so, and
 * DRKClientDriver.dll for 32-bit Windows), for desktop update programs.
 *
 * Typical use: Client_Logging (optional); Client_Initialize (or
 * Client_BL_Mode) to identify the device waiting in its boot loader; one
 * selection call per image file, with the number of header bytes at the
 * start of the file that are not sent; Client_SetPartitionSize (optional);
 * Client_StartFlash; then poll Client_Progress and Client_StatusMsg until
 * progress is 100 (done) or negative (-1 transport or protocol failure,
 * -2 image file error, -3 the boot loader reported an error); finally
 * Client_Shutdown releases the device.
 *
 * A flash starts only after an identification that succeeded with a block
 * size; otherwise Client_StartFlash sets progress to -1. While a flash runs,
 * only Client_Progress, Client_StatusMsg, Client_ModelID, Client_OS_Ver,
 * Client_OS_Lang and Client_Logging do their work; the other calls change
 * nothing and answer with their failure value (Client_StartFlash and
 * CreateReformatTimer 1, Client_Shutdown 202, Client_Initialize 101,
 * Client_BL_Mode 2, the image selections 401, Client_SetPartitionSize 1).
 * A second Client_StartFlash after a finished run writes the selected images
 * again, with progress starting from 1. No call lets an exception out: an
 * unexpected failure gives the call's failure value and progress -1.
 *
 * The serial device is taken from DRK_SERIAL_PORT (default \\.\wceusbsh001
 * on Windows, /dev/ttyUSB0 elsewhere). The remembered radio module variant
 * lives in the registry on Windows, elsewhere in the regedit-syntax file
 * named by DRK_REGISTRY.
 *
 * The DLL exports CreateReformatTimer as ?CreateReformatTimer@@YAHXZ, the
 * name a Windows C++ compiler gives it, whichever compiler the host uses. */

#ifdef __cplusplus
extern "C" {
#endif

int Client_Initialize(void);
int Client_BL_Mode(const char* imageModel);
int Client_ModelID(char* out);   /* at least 32 bytes */
int Client_OS_Ver(char* out);    /* at least 9 bytes */
int Client_OS_Lang(char* out);   /* at least 32 bytes */
int Client_Component(int type, const char* list);
int Client_FlashBL(const char* path, int dwHeaderLen);
int Client_FlashMC(const char* path, int dwHeaderLen);
int Client_FlashFS(const char* path, int dwHeaderLen);
int Client_FlashCS(const char* path, int dwHeaderLen);
int Client_FlashOS(const char* path, int dwHeaderLen);
int Client_FlashWAN(const char* path, int dwHeaderLen);
int Client_FlashAD(const char* path, int dwHeaderLen);
int Client_M8346B(const char* path, int dwHeaderLen);
int Client_M8346D(const char* path, int dwHeaderLen);
int Client_M8346E(const char* path, int dwHeaderLen);
int Client_SetPartitionSize(int partition1, int partition2);
int Client_StartFlash(void);
int Client_Progress(void);
int Client_StatusMsg(char* out); /* at least 256 bytes */
int Client_Shutdown(void);
int Client_Logging(int enable);

#ifdef __cplusplus
}
/* Exported under its C++ name only. */
int CreateReformatTimer();
#endif
