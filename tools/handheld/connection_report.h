#pragma once
// What the current device holds of the connections the applet writes, as a
// person wants to read it: the phonebook entries (number, device, address
// and name-server choices, dial user name, the modem command string and
// speed of the device block), the connection manager's networks,
// connections and proxies, and the messaging accounts.

#include <string>

namespace handheld {

std::string ConnectionReport();

}  // namespace handheld
