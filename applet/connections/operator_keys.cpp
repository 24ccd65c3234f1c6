#include "applet/connections/operator_keys.h"

#include <array>

namespace applet::operator_keys {

namespace {

// A WAP kind's keys are "WAP" before its base kind's keys; the WAP-over-GPRS
// keys whose GPRS key has no prefix of its own take "WAPGPRS ".
constexpr std::array<KindKeys, 8> kKinds{{
    {BearerType::Gprs, u"GPRS", u"GPRS", u"APN", nullptr, u"ExtraDialString", u"Username",
     u"Password", u"DNS1", u"DNS2", u"IP", u"GPRS hcomp", u"GPRS dcomp", u"GPRS Auth"},
    {BearerType::Csd, u"CSD", u"CSD", nullptr, u"CSD PhoneNumber", u"CSD ExtraDialString",
     u"CSD Username", u"CSD Password", u"CSD DNS1", u"CSD DNS2", u"CSD IP", u"CSD hcomp",
     u"CSD dcomp", u"CSD Auth"},
    {BearerType::OneXRtt, u"1XRTT", u"1xRTT", nullptr, u"1XRTT PhoneNumber",
     u"1XRTT ExtraDialString", u"1XRTT Username", u"1XRTT Password", u"1XRTT DNS1",
     u"1XRTT DNS2", u"1XRTT IP", u"1XRTT hcomp", u"1XRTT dcomp", u"1XRTT Auth"},
    {BearerType::Cdma, u"CDMA", u"CDMA", nullptr, u"CDMA PhoneNumber", u"CDMA ExtraDialString",
     u"CDMA Username", u"CDMA Password", u"CDMA DNS1", u"CDMA DNS2", u"CDMA IP", u"CDMA hcomp",
     u"CDMA dcomp", u"CDMA Auth"},
    {BearerType::WapGprs, u"WAPGPRS", u"WAP GPRS", u"WAPGPRS APN", nullptr,
     u"WAPGPRS ExtraDialString", u"WAPGPRS Username", u"WAPGPRS Password", u"WAPGPRS DNS1",
     u"WAPGPRS DNS2", u"WAPGPRS IP", u"WAPGPRS hcomp", u"WAPGPRS dcomp", u"WAPGPRS Auth"},
    {BearerType::WapCsd, u"WAPCSD", u"WAP CSD", nullptr, u"WAPCSD PhoneNumber",
     u"WAPCSD ExtraDialString", u"WAPCSD Username", u"WAPCSD Password", u"WAPCSD DNS1",
     u"WAPCSD DNS2", u"WAPCSD IP", u"WAPCSD hcomp", u"WAPCSD dcomp", u"WAPCSD Auth"},
    {BearerType::WapOneXRtt, u"WAP1XRTT", u"", nullptr, u"WAP1XRTT PhoneNumber",
     u"WAP1XRTT ExtraDialString", u"WAP1XRTT Username", u"WAP1XRTT Password", u"WAP1XRTT DNS1",
     u"WAP1XRTT DNS2", u"WAP1XRTT IP", u"WAP1XRTT hcomp", u"WAP1XRTT dcomp", u"WAP1XRTT Auth"},
    {BearerType::WapCdma, u"WAPCDMA", u"", nullptr, u"WAPCDMA PhoneNumber",
     u"WAPCDMA ExtraDialString", u"WAPCDMA Username", u"WAPCDMA Password", u"WAPCDMA DNS1",
     u"WAPCDMA DNS2", u"WAPCDMA IP", u"WAPCDMA hcomp", u"WAPCDMA dcomp", u"WAPCDMA Auth"},
}};

}  // namespace

std::span<const KindKeys> AllKindKeys() { return kKinds; }

const KindKeys* KeysOf(BearerType kind) {
  for (const KindKeys& keys : kKinds)
    if (keys.kind == kind) return &keys;
  return nullptr;
}

std::optional<int32_t> NetworkTokenBit(platform::WStringView upperToken) {
  // The tokens are the kinds' connection-name keys.
  for (const KindKeys& keys : kKinds)
    if (upperToken == keys.connectionName) return BearerBit(keys.kind);
  return std::nullopt;
}

std::vector<platform::WString> NetworkTokens(platform::WStringView value) {
  std::vector<platform::WString> tokens;
  size_t start = 0;
  while (start <= value.size()) {
    size_t cut = value.find_first_of(u", ", start);
    if (cut == platform::WStringView::npos) cut = value.size();
    if (cut > start) tokens.push_back(platform::ToUpper(value.substr(start, cut - start)));
    start = cut + 1;
  }
  return tokens;
}

std::optional<AuthMethod> AuthenticationWord(platform::WStringView value) {
  if (value == u"NONE") return AuthMethod::None;
  if (value == u"PAP") return AuthMethod::Pap;
  if (value == u"CHAP") return AuthMethod::Chap;
  if (value == u"AUTO") return AuthMethod::Auto;
  return std::nullopt;
}

size_t MergeCountryCode(std::vector<int32_t>& countryNumbers, int32_t code, bool& added) {
  for (size_t i = 0; i < countryNumbers.size(); ++i) {
    if (countryNumbers[i] == code) {
      added = false;
      return i;
    }
  }
  countryNumbers.push_back(code);
  added = true;
  return countryNumbers.size() - 1;
}

}  // namespace applet::operator_keys
