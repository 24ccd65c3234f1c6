// A stand-in for the applet library: its entries only journal that they
// ran. Built twice, the second time without OnDebug (FAKE_BOOT_ONLY).

#include "platform/journal.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT int OnBoot() {
  platform::JournalEvent("fake applet: OnBoot");
  return 0;
}

#ifndef FAKE_BOOT_ONLY
FAKE_EXPORT int OnDebug() {
  platform::JournalEvent("fake applet: OnDebug");
  return 0;
}
#endif
