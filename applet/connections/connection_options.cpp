#include "applet/connections/connection_options.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

constexpr char16_t kGeneral[] = u"General";
constexpr char16_t kEnableFallback[] = u"EnableFallback";
constexpr int32_t kOn = 1;

const char16_t* EnableKey(BearerType kind) {
  switch (kind) {
    case BearerType::Gprs: return u"EnableGPRS";
    case BearerType::WapGprs: return u"EnableGPRSWAP";
    case BearerType::Csd: return u"EnableCSD";
    case BearerType::WapCsd: return u"EnableCSDWAP";
    case BearerType::OneXRtt: return u"Enable1xRTT";
    case BearerType::WapOneXRtt: return u"Enable1xRTTWAP";
    case BearerType::Cdma: return u"EnableCDMA";
    case BearerType::WapCdma: return u"EnableCDMAWAP";
  }
  return nullptr;
}

const char16_t* PageSection(BearerType bearer) {
  switch (bearer) {
    case BearerType::Csd:
    case BearerType::WapCsd: return u"CSD";
    case BearerType::OneXRtt:
    case BearerType::WapOneXRtt: return u"1XRTT";
    case BearerType::Cdma:
    case BearerType::WapCdma: return u"CDMA";
    default: return u"GPRS";
  }
}

}  // namespace

bool ConnectionOptions::Open(WStringView folder) {
  return reader_.Open(WString(folder) + kFileName);
}

bool ConnectionOptions::IsOn(WStringView section, WStringView key) {
  return reader_.GetInt(section, key, kOn) == kOn;
}

bool ConnectionOptions::IsEnabled(BearerType kind) {
  const char16_t* key = EnableKey(kind);
  return key != nullptr && IsOn(kGeneral, key);
}

const ConnectionOptions::PageOptions& ConnectionOptions::LoadPageOptions(BearerType bearer) {
  const char16_t* section = PageSection(bearer);
  pages_.showIp = IsOn(section, u"Show IP");
  pages_.showDns = IsOn(section, u"Show DNS");
  pages_.showQos = IsOn(section, u"Show QoS");
  pages_.fallback = IsOn(kGeneral, kEnableFallback);
  return pages_;
}

}  // namespace applet
