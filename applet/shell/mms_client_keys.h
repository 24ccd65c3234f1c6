#pragma once
// Registry keys of the phone's MMS client and of the phone shell's context
// menu, under HKEY_LOCAL_MACHINE. They come with the phone; the applet only
// opens them and writes the values below, so that the MMS client sends
// through the operator's gateway and the phone's menu offers to send an MMS.

#include <cstdint>

namespace applet::mms_client {

// The MMS client's gateway settings: "GatewayPort" (REG_DWORD), "MmscURI",
// "Gateway" and "Name" (REG_SZ).
inline constexpr char16_t kGatewayKey[] = u"\\SOFTWARE\\Arcsoft\\ArcSoft MMS UA\\Config\\mm1\\6654";
inline constexpr char16_t kGatewayPortValue[] = u"GatewayPort";
inline constexpr char16_t kMmscUriValue[] = u"MmscURI";
inline constexpr char16_t kGatewayValue[] = u"Gateway";
inline constexpr char16_t kNameValue[] = u"Name";
// The port written when the record's gives 0.
inline constexpr uint32_t kDefaultGatewayPort = 9201;

// The MMS client's user interface: the connection it sends through, by the
// display name of a connection-manager network.
inline constexpr char16_t kUiKey[] = u"\\SOFTWARE\\Arcsoft\\ArcSoft MMS UA\\Config\\UI";
inline constexpr char16_t kConnectionViaValue[] = u"ConnectionVia";

// The phone's context-menu entry of the MMS client: its text (the default
// value) and "Enabled" (REG_DWORD).
inline constexpr char16_t kContextMenuKey[] =
    u"\\SOFTWARE\\Microsoft\\Shell\\Extensions\\ContextMenus\\Phone\\MSCProg\\"
    u"{DE6DA040-5CC5-4c72-B816-8740F725D3FF}";
inline constexpr char16_t kEnabledValue[] = u"Enabled";

// Signalled once the MMS account has been handed to the configuration
// manager.
inline constexpr char16_t kMmsDetectedEvent[] = u"QZ_MMSDetected";

}  // namespace applet::mms_client
