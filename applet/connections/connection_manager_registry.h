#pragma once
// The connection manager's registry entries for the connections the applet
// writes itself (platform/connection_manager_keys.h has the layout): the
// network (a destination), a connection's membership in it, the network's
// HTTP proxy entry and which connection of the network is the active one.
//
// Every registry failure is silent: a key that cannot be opened skips its
// step. Texts are read into 128-byte buffers (at most 63 characters); a
// longer text counts as unreadable.

#include "base/text.h"

namespace applet {

// Registers the network unless a destination of that name exists, which
// then keeps its first identifier. False when the destinations key cannot
// be opened or the network's key cannot be created.
bool RegisterDestination(platform::WStringView networkName, platform::WStringView networkId);

// Registers the network, then the connection key of the entry (disabled:
// "Enabled" 0, "RequirePw" 1, "EntryType" 0, "DestId"), and points
// "CurrentDTPTNetwork" at the network. True when the connection key was
// created or opened.
bool RegisterConnection(platform::WStringView networkName, platform::WStringView networkId,
                        platform::WStringView entryName);

// Removes the entry's connection key; true when it existed.
bool RemoveConnection(platform::WStringView entryName);

// Makes the entry the active connection of its network: every "HTTP-{"
// proxy entry is removed (the network's own proxy text and type are kept),
// the network's proxy entry is made anew ("new-inet:1159" when it had no
// proxy), and of the connections of the network only the entry is enabled.
void ActivateForNetwork(platform::WStringView networkId, platform::WStringView entryName);

// The name of the first destination whose "DestId" is the identifier.
bool FindDestinationName(platform::WStringView networkId, platform::WString& networkName);

}  // namespace applet
