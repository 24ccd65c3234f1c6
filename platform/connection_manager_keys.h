#pragma once
// The connection manager's registry layout, under HKEY_LOCAL_MACHINE. The
// connection manager picks the connection to dial for a network from these
// keys; the applet writes them on the phonebook route and the configuration
// manager on the provisioning route.
//
//   Destinations\<network name>          "DestId"  the network identifier
//   <dial-up provider>\Connections\<entry name>
//                                        "Enabled", "RequirePw", "EntryType"
//                                        (numbers), "DestId" (text)
//   <DTPT provider>\CurrentDTPTNetwork   "DestId"  the network last registered
//   <proxy provider>\<proxy name>        "Proxy", "Enable", "Type", "DestId",
//                                        "SrcId" and, for the HTTP proxy of a
//                                        network ("HTTP-" + its identifier),
//                                        "ExtraInfo", "Override", "Password",
//                                        "Username"

namespace platform::connmgr {

inline constexpr char16_t kDestinationsKey[] = u"\\SOFTWARE\\Microsoft\\ConnMgr\\Destinations";
inline constexpr char16_t kDialUpProviderKey[] =
    u"\\SOFTWARE\\Microsoft\\ConnMgr\\Providers\\{7C4B7A38-5FF7-4bc1-80F6-5DA7870BB1AA}";
inline constexpr char16_t kConnectionsSubKey[] = u"Connections";
inline constexpr char16_t kConnectionsKey[] =
    u"\\SOFTWARE\\Microsoft\\ConnMgr\\Providers\\{7C4B7A38-5FF7-4bc1-80F6-5DA7870BB1AA}"
    u"\\Connections";
inline constexpr char16_t kDtptProviderKey[] =
    u"\\SOFTWARE\\Microsoft\\ConnMgr\\Providers\\{F792E23C-DC19-4668-9BE4-F8688B4C18D6}";
inline constexpr char16_t kCurrentDtptNetworkSubKey[] = u"CurrentDTPTNetwork";
inline constexpr char16_t kProxyProviderKey[] =
    u"\\SOFTWARE\\Microsoft\\ConnMgr\\Providers\\{EF097F4C-DC4B-4c98-8FF6-AEF805DC0E8E}";

// The prefix of a network's HTTP proxy entry, followed by the network's
// identifier, and the destination every such entry names.
inline constexpr char16_t kHttpProxyPrefix[] = u"HTTP-";
inline constexpr char16_t kHttpProxyDestination[] = u"{436EF144-B4FB-4863-A041-8F905A62C572}";

inline constexpr char16_t kDestId[] = u"DestId";
inline constexpr char16_t kSrcId[] = u"SrcId";
inline constexpr char16_t kEnabled[] = u"Enabled";
inline constexpr char16_t kRequirePw[] = u"RequirePw";
inline constexpr char16_t kEntryType[] = u"EntryType";
inline constexpr char16_t kProxy[] = u"Proxy";
inline constexpr char16_t kEnable[] = u"Enable";
inline constexpr char16_t kType[] = u"Type";
inline constexpr char16_t kExtraInfo[] = u"ExtraInfo";
inline constexpr char16_t kOverride[] = u"Override";
inline constexpr char16_t kPassword[] = u"Password";
inline constexpr char16_t kUsername[] = u"Username";

}  // namespace platform::connmgr
