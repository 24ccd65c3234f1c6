#pragma once
// The control panel's side of the library: CPlApplet's messages and the
// list of applets they make.
//
//   uMsg  name            action                                   result
//   1     CPL_INIT        appends a new applet to the list          1
//   2     CPL_GETCOUNT    -                                         count
//   4     CPL_SELECT      Run of applet lParam1                     0
//   5     CPL_DBLCLK      Run of applet lParam1                     0
//   8     CPL_NEWINQUIRE  fills the NEWCPLINFO at lParam2            0
//   100   CPL_IDNAME      copies "ORLO_VELM" and its terminator      0
//                         to lParam2
//   any other (CPL_INQUIRE, CPL_STOP, CPL_EXIT...)                  0
//
// An applet index outside the list is answered 0 and does nothing. The
// applets live until the library is unloaded (CPL_STOP and CPL_EXIT free
// nothing).

#include <cstddef>
#include <cstdint>

namespace applet {

inline constexpr uint32_t kCplInit = 1;
inline constexpr uint32_t kCplGetCount = 2;
inline constexpr uint32_t kCplInquire = 3;
inline constexpr uint32_t kCplSelect = 4;
inline constexpr uint32_t kCplDblClk = 5;
inline constexpr uint32_t kCplStop = 6;
inline constexpr uint32_t kCplExit = 7;
inline constexpr uint32_t kCplNewInquire = 8;
inline constexpr uint32_t kCplIdName = 100;

inline constexpr char16_t kAppletIdName[] = u"ORLO_VELM";

// The control panel's NEWCPLINFO record, wide-character form, as the
// handheld lays it out (468 bytes, 32-bit fields).
struct NewCplInfo {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwHelpContext;
  uint32_t lData;
  uint32_t hIcon;
  char16_t szName[32];
  char16_t szInfo[64];
  char16_t szHelpFile[128];
};
static_assert(sizeof(NewCplInfo) == 468);
static_assert(offsetof(NewCplInfo, hIcon) == 16);
static_assert(offsetof(NewCplInfo, szName) == 20);
static_assert(offsetof(NewCplInfo, szInfo) == 84);
static_assert(offsetof(NewCplInfo, szHelpFile) == 212);

// Handles one message as above; lParam2 points to the caller's buffer.
int32_t ControlPanelMessage(uint32_t message, intptr_t lParam1, intptr_t lParam2);

// Releases every applet (the library is being unloaded).
void ReleaseApplets();

}  // namespace applet
