#include "platform/oem_code_page.h"

#include "platform/code_page.h"
#include "platform/device.h"

namespace platform {

namespace {

struct CodePagePair {
  unsigned ansi;
  unsigned oem;
};

// The handheld's default OEM code page for each ANSI code page; the East
// Asian pages serve as both.
constexpr CodePagePair kOemPages[] = {
    {874, 874},  {932, 932},  {936, 936},  {949, 949},  {950, 950},  {1250, 852},
    {1251, 866}, {1252, 850}, {1253, 737}, {1254, 857}, {1255, 862}, {1256, 720},
    {1257, 775}, {1258, 1258},
};

constexpr unsigned kUnitedStatesOem = 437;

}  // namespace

unsigned OemCodePageFor(unsigned ansiCodePage, std::string_view locale) {
  // American English keeps the original PC character set.
  if (ansiCodePage == 1252 && (locale == "en-US" || locale == "en_US" || locale == "en")) {
    return kUnitedStatesOem;
  }
  for (const auto& pair : kOemPages) {
    if (pair.ansi == ansiCodePage) return pair.oem;
  }
  return kUnitedStatesOem;
}

unsigned DeviceOemCodePage() {
  const DeviceConfig& config = CurrentDevice().Config();
  return OemCodePageFor(config.ansiCodePage, config.userLocale);
}

uint8_t CharToOem(char16_t ch) {
  const std::string code = WideToOem(WStringView(&ch, 1));
  return code.size() == 1 ? static_cast<uint8_t>(code[0]) : static_cast<uint8_t>('?');
}

std::string WideToOem(WStringView text) {
  return WideToMultiByte(DeviceOemCodePage(), text);
}

}  // namespace platform
