#pragma once
// The provisioning-document route: on a Pocket PC phone with the phone
// program "\Windows\cprog.exe", connections, WAP proxies and the MMS
// account are described in WAP provisioning documents
// (provisioning_document.h) and handed to the platform's configuration
// manager, which creates them. The documents' texts are fixed here.
//
// No failure of the platform is reported: the configuration manager's
// result is not looked at, as every document is recorded on the device for
// whoever needs to see what happened.

#include "applet/connections/ras_param.h"
#include "base/text.h"

namespace applet {

// The phone program whose presence says that the configuration manager
// takes documents.
inline constexpr char16_t kPhoneProgram[] = u"\\Windows\\cprog.exe";
// The platform type text of a Pocket PC and the length of the buffer it is
// read into.
inline constexpr char16_t kPocketPcPlatform[] = u"PocketPC";
inline constexpr size_t kPlatformTypeCapacity = 256;
// The placeholder address of the MMS account's "AUTHNAME" and "REPLYADDR".
inline constexpr char16_t kMmsAccountAddress[] = u"user@domain";

// The operating system's major version is 3 or 4 and the platform type is
// "PocketPC".
bool IsPocketPc();
// kPhoneProgram exists and IsPocketPc.
bool ProvisioningAvailable();

// Hands a document to the configuration manager (process flag); the result
// document is released at once.
void SubmitDocument(platform::WStringView document);

// The document of one connection: "CM_GPRSEntries" for the GPRS kinds, else
// "CM_PPPEntries", with the entry named by the record's entryName in the
// network networkId. With a network name the network is registered first
// (RegisterDestination).
platform::WString BuildConnectionDocument(const CRASparam& record, platform::WStringView networkId);
// Registers the network when named, submits the document; returns 0.
int WriteConnectionDocument(const CRASparam& record, const platform::WString* networkName,
                            platform::WStringView networkId);

// The names of the two proxy entries.
inline constexpr char16_t kWapProxyName[] = u"WAP-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}";
inline constexpr char16_t kWtlsProxyName[] = u"WTLS-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}";

// The document of the WAP proxy (secure false) or the secure WTLS proxy.
platform::WString BuildProxyDocument(platform::WStringView proxy, bool secure);
// One document for each proxy that is not empty, the WAP proxy first; the
// names of the entries written come back (empty for one not written).
bool WriteProxyDocuments(platform::WStringView proxy, platform::WStringView secureProxy,
                         platform::WString& wapProxyName, platform::WString& wtlsProxyName);

platform::WString BuildProxyRemovalDocument(platform::WStringView name);
// Submits the removal of the proxy entry when the name is not empty.
bool RemoveProxyDocument(platform::WStringView name);

// The MMS account document; its connection is the MMS network when the
// applet wrote an MMS connection, else the Internet network.
platform::WString BuildMmsAccountDocument(bool mmsConnectionWritten);
void WriteMmsAccountDocument(bool mmsConnectionWritten);

}  // namespace applet
