#pragma once
// The forms an operator database value must have for the applet to read it
// as meant. The integrator's check reports values that lack them, and the
// import writes only values that have them, so both judge alike.

#include "base/text.h"

namespace handheld {

// Only the digits 0 to 9, at least one: what the reader takes as an integer.
bool IsDigitText(platform::WStringView text);

// Five digits, country and network code: what a SIM card's home network
// code can equal.
bool IsHomeNetworkNumber(platform::WStringView text);

// Dotted IPv4: four numbers of one to three digits, each at most 255.
bool IsDottedAddress(platform::WStringView text);

}  // namespace handheld
