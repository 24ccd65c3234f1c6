#include "applet/connections/provisioning_document.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

constexpr WStringView kLineEnd = u"\r\n";

}  // namespace

WString EscapeXml(WStringView text) {
  WString out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&apos;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

void ProvisioningDocument::Line(WStringView text) {
  text_ += text;
  text_ += kLineEnd;
}

void ProvisioningDocument::Start() { Line(u"<wap-provisioningdoc>"); }

void ProvisioningDocument::End() { Line(u"</wap-provisioningdoc>"); }

void ProvisioningDocument::OpenCharacteristic(WStringView type) {
  Line(u"<characteristic type=\"" + EscapeXml(type) + u"\">");
}

void ProvisioningDocument::CloseCharacteristic() { Line(u"</characteristic>"); }

void ProvisioningDocument::RawParm(WStringView name, WStringView value) {
  Line(u"<parm name=\"" + WString(name) + u"\" value=\"" + WString(value) + u"\"/>");
}

void ProvisioningDocument::TextParm(WStringView name, WStringView value) {
  RawParm(name, EscapeXml(value));
}

void ProvisioningDocument::IntParm(WStringView name, int32_t value) {
  RawParm(name, platform::FormatInt(value));
}

void ProvisioningDocument::BoolParm(WStringView name, int32_t value) {
  RawParm(name, value != 0 ? u"1" : u"0");
}

void ProvisioningDocument::AddressParm(WStringView name, const CAdresseIP& address) {
  CAdresseIP copy(address);
  RawParm(name, copy.ToText());
}

void ProvisioningDocument::Removal(WStringView type) {
  Line(u"<nocharacteristic type=\"" + EscapeXml(type) + u"\"/>");
}

}  // namespace applet
