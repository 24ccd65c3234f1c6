#pragma once
// The connection-manager networks and the messaging account the applet
// writes to, by their fixed identifiers.

namespace applet::network_ids {

// The applet's Internet connection (and its WAP connection when there is no
// WAP proxy); the default connection of the MMS account.
inline constexpr char16_t kInternet[] = u"{ADB0B001-10B5-3F39-27C6-9742E785FCD4}";
// The applet's WAP connection when a WAP proxy exists, and the source of
// both WAP proxies.
inline constexpr char16_t kWap[] = u"{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}";
// Where the WAP proxy and the secure (WTLS) WAP proxy lead.
inline constexpr char16_t kWapProxyDestination[] = u"{7022E968-5A97-4051-BC1C-C578E2FBA5D9}";
inline constexpr char16_t kSecureWapProxyDestination[] = u"{F28D1F74-72BE-4394-A4A7-4E296219390C}";
// The applet's MMS connection.
inline constexpr char16_t kMms[] = u"{2D2433C7-0E2E-4031-A355-2143A926856B}";
// The MMS account inside the messaging accounts ("EMAIL2").
inline constexpr char16_t kMmsAccount[] = u"{751F77F6-920D-43e3-AFCB-7888B2666C63}";

}  // namespace applet::network_ids
