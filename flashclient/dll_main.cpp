// The entry of DRKClientDriver.dll that Windows calls as the library is
// loaded and unloaded.

#include <windows.h>

#include "flashclient/driver_threads.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // A non-null reserved pointer on detach means the process is ending: the
  // system has already stopped the driver's threads, and joining them is
  // neither needed nor safe.
  if (reason == DLL_PROCESS_DETACH && reserved != nullptr) drkclient::DriverThreads::ProcessEnding();
  return TRUE;
}
