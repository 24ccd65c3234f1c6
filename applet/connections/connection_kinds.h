#pragma once
// The kinds of connection and the PPP authentication methods a connection
// record carries, with the values stored in documents.

#include <cstdint>

namespace applet {

// Single bits, so that a set of kinds fits in one integer (the operator
// database lists the kinds an operator offers that way).
enum class BearerType : int32_t {
  Gprs = 1,
  Csd = 2,
  OneXRtt = 4,
  Cdma = 8,
  WapGprs = 16,
  WapCsd = 32,
  WapOneXRtt = 64,
  WapCdma = 128,
};

constexpr int32_t BearerBit(BearerType type) { return static_cast<int32_t>(type); }

enum class AuthMethod : int32_t {
  None = 0,
  Pap = 1,
  Chap = 2,
  Auto = 3,
};

}  // namespace applet
