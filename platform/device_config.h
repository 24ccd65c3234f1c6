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

#include <optional>
#include <string>
#include <vector>

#include "platform/host_ini.h"

namespace platform {

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

  // Reads the values present; a value that does not parse is an error naming
  // the key. Absent keys keep their defaults.
  static std::optional<DeviceConfig> FromIni(const HostIni& ini, std::string* why);
  HostIni ToIni() const;
};

}  // namespace platform
