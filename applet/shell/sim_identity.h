#pragma once
// The SIM card as the maker's SIM utility library "QZUtil.dll" reports it,
// and the home network code the applet compares with its stored record.
//
//   uint32_t QZUtil_GetSIMStatus(void)                  1 when ready
//   int QZUtil_GetIMSI(char16_t* buffer, uint32_t* length)
//     length: the buffer's size in, the IMSI's length out; nonzero on success

#include <cstdint>

#include "base/text.h"

namespace applet {

// What reading the SIM gave. Only SimUnreadable and Read lead to anything.
enum class SimReadResult : int {
  NoLibrary = 0,       // "QZUtil.dll" cannot be loaded
  NoFunction = 1,      // it lacks the status or the identity function
  StatusFF000001 = 2,
  SimUnreadable = 3,   // status FF000003, or ready but the identity failed
  StatusFF000002 = 4,
  OtherStatus = 5,
  Read = 6,            // ready, and the IMSI was read
};

inline constexpr char16_t kSimLibrary[] = u"QZUtil.dll";
inline constexpr char kSimStatusExport[] = "QZUtil_GetSIMStatus";
inline constexpr char kImsiExport[] = "QZUtil_GetIMSI";
inline constexpr uint32_t kSimReady = 1;
// The identity is read into a buffer of this many characters.
inline constexpr uint32_t kImsiCapacity = 260;
// Country code and two-digit network code.
inline constexpr size_t kHomeNetworkCodeLength = 5;

// Reads the SIM; imsi receives the identity when the result is Read.
SimReadResult ReadSimIdentity(platform::WString& imsi);

// The IMSI cut at its first comma, then to its first five characters.
platform::WString HomeNetworkCode(platform::WStringView imsi);

}  // namespace applet
