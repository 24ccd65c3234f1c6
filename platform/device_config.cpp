#include "platform/device_config.h"

#include <charconv>
#include <utility>

namespace platform {

namespace {

constexpr const char* kSection = "Device";

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(start, end - start);
    size_t b = item.find_first_not_of(" \t");
    size_t e = item.find_last_not_of(" \t");
    if (b != std::string::npos) out.push_back(item.substr(b, e - b + 1));
    start = end + 1;
  }
  return out;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
  return out;
}

bool ReadUnsigned(const HostIni& ini, const char* key, unsigned max, unsigned& out,
                  std::string* why) {
  auto text = ini.Get(kSection, key);
  if (!text) return true;
  unsigned value = 0;
  auto [ptr, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec != std::errc() || ptr != text->data() + text->size() || value > max) {
    if (why) *why = std::string("device.ini: ") + key + " must be a number up to " + std::to_string(max);
    return false;
  }
  out = value;
  return true;
}

constexpr std::pair<CameraState, const char*> kCameraNames[] = {
    {CameraState::Present, "yes"}, {CameraState::Absent, "no"}, {CameraState::Unknown, "unknown"}};

bool ReadCamera(const HostIni& ini, CameraState& out, std::string* why) {
  auto text = ini.Get(kSection, "Camera");
  if (!text) return true;
  for (const auto& [state, name] : kCameraNames) {
    if (*text == name) {
      out = state;
      return true;
    }
  }
  if (why) *why = "device.ini: Camera must be yes, no or unknown";
  return false;
}

bool ReadOutsideWindows(const HostIni& ini, std::vector<OutsideWindow>& out, std::string* why) {
  auto text = ini.Get(kSection, "OutsideWindows");
  if (!text) return true;
  for (const std::string& item : SplitList(*text)) {
    const size_t bar = item.find('|');
    if (bar == std::string::npos || bar == 0) {
      if (why) *why = "device.ini: OutsideWindows takes class|title entries, not \"" + item + "\"";
      return false;
    }
    out.push_back({item.substr(0, bar), item.substr(bar + 1)});
  }
  return true;
}

}  // namespace

std::optional<DeviceConfig> DeviceConfig::FromIni(const HostIni& ini, std::string* why) {
  DeviceConfig c;
  if (!ReadUnsigned(ini, "OSMajorVersion", 255, c.osMajorVersion, why) ||
      !ReadUnsigned(ini, "OSMinorVersion", 255, c.osMinorVersion, why) ||
      !ReadUnsigned(ini, "ScreenWidth", 4096, c.screenWidth, why) ||
      !ReadUnsigned(ini, "ScreenHeight", 4096, c.screenHeight, why) ||
      !ReadUnsigned(ini, "AnsiCodePage", 65535, c.ansiCodePage, why) ||
      !ReadCamera(ini, c.camera, why) || !ReadOutsideWindows(ini, c.outsideWindows, why))
    return std::nullopt;
  c.platformType = ini.GetOr(kSection, "PlatformType", c.platformType);
  c.userLocale = ini.GetOr(kSection, "UserLocale", c.userLocale);
  c.uiLanguage = ini.GetOr(kSection, "UILanguage", c.uiLanguage);
  if (auto p = ini.Get(kSection, "RunningProcesses")) c.runningProcesses = SplitList(*p);
  if (auto k = ini.Get(kSection, "KnownLocales")) c.knownLocales = SplitList(*k);
  return c;
}

HostIni DeviceConfig::ToIni() const {
  HostIni ini;
  ini.Set(kSection, "OSMajorVersion", std::to_string(osMajorVersion));
  ini.Set(kSection, "OSMinorVersion", std::to_string(osMinorVersion));
  ini.Set(kSection, "PlatformType", platformType);
  ini.Set(kSection, "ScreenWidth", std::to_string(screenWidth));
  ini.Set(kSection, "ScreenHeight", std::to_string(screenHeight));
  ini.Set(kSection, "UserLocale", userLocale);
  ini.Set(kSection, "UILanguage", uiLanguage);
  ini.Set(kSection, "AnsiCodePage", std::to_string(ansiCodePage));
  ini.Set(kSection, "RunningProcesses", JoinList(runningProcesses));
  if (knownLocales) ini.Set(kSection, "KnownLocales", JoinList(*knownLocales));
  for (const auto& [state, name] : kCameraNames)
    if (state == camera) ini.Set(kSection, "Camera", name);
  std::vector<std::string> windows;
  for (const OutsideWindow& w : outsideWindows) windows.push_back(w.className + "|" + w.title);
  ini.Set(kSection, "OutsideWindows", JoinList(windows));
  return ini;
}

}  // namespace platform
