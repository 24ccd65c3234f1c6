#include "applet/connections/adresse_ip.h"

#include <algorithm>

#include "platform/framework/archive.h"

namespace applet {

VELM_IMPLEMENT_SERIAL(CAdresseIP, framework::CObject, 0)

namespace {

constexpr size_t kDots = 3;

}  // namespace

CAdresseIP::CAdresseIP(const CAdresseIP& other)
    : framework::CObject(), a(other.a), b(other.b), c(other.c), d(other.d) {}

CAdresseIP& CAdresseIP::operator=(const CAdresseIP& other) {
  a = other.a;
  b = other.b;
  c = other.c;
  d = other.d;
  return *this;
}

void CAdresseIP::Clear() { Set(0, 0, 0, 0); }

void CAdresseIP::Set(int32_t na, int32_t nb, int32_t nc, int32_t nd) {
  a = na;
  b = nb;
  c = nc;
  d = nd;
}

void CAdresseIP::Get(int32_t& oa, int32_t& ob, int32_t& oc, int32_t& od) const {
  oa = a;
  ob = b;
  oc = c;
  od = d;
}

bool CAdresseIP::FromText(platform::WStringView source) {
  if (static_cast<size_t>(std::count(source.begin(), source.end(), u'.')) != kDots) {
    Clear();
    return false;
  }
  // The first three numbers are taken in order, each up to its dot.
  int32_t* const leading[kDots] = {&a, &b, &c};
  platform::WStringView rest = source;
  for (int32_t* target : leading) {
    const size_t dot = rest.find(u'.');
    *target = platform::TextToLong(rest.substr(0, dot));
    rest = rest.substr(dot + 1);
  }
  rest = rest.substr(0, rest.find(u':'));
  d = platform::TextToLong(rest);
  return true;
}

const platform::WString& CAdresseIP::ToText() {
  text = platform::FormatDotted(a, b, c, d);
  return text;
}

void CAdresseIP::ToRasAddress(std::span<uint8_t, 4> out) const {
  out[0] = static_cast<uint8_t>(d);
  out[1] = static_cast<uint8_t>(c);
  out[2] = static_cast<uint8_t>(b);
  out[3] = static_cast<uint8_t>(a);
}

bool CAdresseIP::operator==(const CAdresseIP& other) const {
  return a == other.a && b == other.b && c == other.c && d == other.d;
}

void CAdresseIP::Serialize(framework::CArchive& ar) {
  if (ar.IsStoring())
    ar << a << b << c << d;
  else
    ar >> a >> b >> c >> d;
}

}  // namespace applet
