#pragma once
// The connection options "RAScnxMngr.INI": which kinds of connection the
// applet offers ("General" section) and, for each base kind, which of the
// IP-address, name-server and QoS pages it shows. Every option is on unless
// its value is an integer other than 1.

#include "applet/connections/connection_kinds.h"
#include "applet/device/sectioned_text_reader.h"
#include "base/text.h"

namespace applet {

class ConnectionOptions {
 public:
  static constexpr char16_t kFileName[] = u"RAScnxMngr.INI";

  struct PageOptions {
    bool showIp = true;
    bool showDns = true;
    bool showQos = true;
    bool fallback = true;
  };

  ConnectionOptions() = default;

  // Opens folder + "RAScnxMngr.INI"; false when it cannot be opened, and
  // then every option reads as on.
  bool Open(platform::WStringView folder);

  // Whether the applet offers a kind of connection; a value that is no
  // single kind is not offered.
  bool IsEnabled(BearerType kind);

  // Reads the page options of a kind's section (a WAP kind uses its base
  // kind's, anything else "GPRS") and "EnableFallback".
  const PageOptions& LoadPageOptions(BearerType bearer);
  const PageOptions& Pages() const { return pages_; }

 private:
  bool IsOn(platform::WStringView section, platform::WStringView key);

  SectionedTextReader reader_;
  PageOptions pages_;
};

}  // namespace applet
