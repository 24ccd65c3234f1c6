#pragma once
// An IPv4 address as the connection record keeps it: the four numbers of
// the dotted form a.b.c.d as 32-bit integers. No range check is made: a
// number outside 0..255 stays as it is, and only its low byte reaches the
// platform (ToRasAddress).

#include <array>
#include <cstdint>
#include <span>

#include "base/text.h"
#include "platform/framework/object.h"

namespace applet {

class CAdresseIP : public framework::CObject {
  VELM_DECLARE_SERIAL(CAdresseIP)

 public:
  CAdresseIP() = default;
  // Copies carry the four numbers; text is a cache of ToText.
  CAdresseIP(const CAdresseIP& other);
  CAdresseIP& operator=(const CAdresseIP& other);

  void Clear();
  void Set(int32_t a, int32_t b, int32_t c, int32_t d);
  void Get(int32_t& a, int32_t& b, int32_t& c, int32_t& d) const;

  // Reads the dotted form: exactly three dots, each number converted as the
  // platform's decimal text-to-long does (blanks and a sign before it, it
  // stops at the first non-digit, no digits give 0), a ":port" suffix
  // ignored. A text without exactly three dots clears the address and
  // gives false.
  bool FromText(platform::WStringView text);
  // "a.b.c.d", also kept in text.
  const platform::WString& ToText();
  // The low bytes of d, c, b and a, in that order: the address as the
  // platform's RAS entry holds it.
  void ToRasAddress(std::span<uint8_t, 4> out) const;

  bool operator==(const CAdresseIP& other) const;

  // a, b, c, d as four 32-bit integers; text is not stored.
  void Serialize(framework::CArchive& ar) override;

  int32_t a = 0;
  int32_t b = 0;
  int32_t c = 0;
  int32_t d = 0;
  platform::WString text;
};

}  // namespace applet
