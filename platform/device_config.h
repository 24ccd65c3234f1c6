#pragma once
// Facts about the emulated handheld, kept in the device root's "device.ini":
//
//   [Device]
//   OSMajorVersion=4
//   OSMinorVersion=20
//   PlatformType=PocketPC
//   ScreenWidth=240
//   ScreenHeight=320
//   UserLocale=en-GB
//   UILanguage=en
//   AnsiCodePage=1252
//   RunningProcesses=            comma-separated executable names
//   KnownLocales=                comma-separated; absent means every locale
//                                the locale data knows
//   Camera=yes                   what the device utility library reports:
//                                yes, no, or unknown (its query fails)
//   OutsideWindows=              comma-separated "class|title" of top-level
//                                windows that programs the emulator does not
//                                run keep open (STK_LOADER|STK_Loader)

#include <optional>
#include <string>
#include <vector>

#include "platform/host_ini.h"

namespace platform {

enum class CameraState { Present, Absent, Unknown };

// A top-level window of a program outside this system.
struct OutsideWindow {
  std::string className;
  std::string title;
  bool operator==(const OutsideWindow&) const = default;
};

struct DeviceConfig {
  unsigned osMajorVersion = 4;
  unsigned osMinorVersion = 20;
  std::string platformType = "PocketPC";
  unsigned screenWidth = 240;
  unsigned screenHeight = 320;
  std::string userLocale = "en-GB";
  std::string uiLanguage = "en";
  unsigned ansiCodePage = 1252;
  std::vector<std::string> runningProcesses;
  std::optional<std::vector<std::string>> knownLocales;
  CameraState camera = CameraState::Present;
  std::vector<OutsideWindow> outsideWindows;

  // Reads the values present; a value that does not parse is an error naming
  // the key. Absent keys keep their defaults.
  static std::optional<DeviceConfig> FromIni(const HostIni& ini, std::string* why);
  HostIni ToIni() const;
};

}  // namespace platform
