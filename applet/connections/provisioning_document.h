#pragma once
// A WAP provisioning document as the applet builds it: one UTF-16 text,
// appended to block by block, every element followed by CR LF:
//
//   <wap-provisioningdoc>
//   <characteristic type="TYPE">          the type escaped
//   <parm name="NAME" value="VALUE"/>     the name as given, the value escaped
//   <nocharacteristic type="TYPE"/>       the type escaped
//   </characteristic>
//   </wap-provisioningdoc>
//
// Escaping (EscapeXml) turns the five characters that XML reserves into
// their entities, so that no value, whatever it holds, can break the
// document: & &amp;  < &lt;  > &gt;  " &quot;  ' &apos;. Parameter names are
// the applet's own fixed texts and are not escaped.

#include <cstdint>

#include "applet/connections/adresse_ip.h"
#include "base/text.h"

namespace applet {

platform::WString EscapeXml(platform::WStringView text);

class ProvisioningDocument {
 public:
  void Start();
  void End();
  void OpenCharacteristic(platform::WStringView type);
  void CloseCharacteristic();
  void TextParm(platform::WStringView name, platform::WStringView value);
  void IntParm(platform::WStringView name, int32_t value);  // "%i"
  void BoolParm(platform::WStringView name, int32_t value);  // "1" when not 0, else "0"
  void AddressParm(platform::WStringView name, const CAdresseIP& address);  // a.b.c.d
  void Removal(platform::WStringView type);

  const platform::WString& Text() const { return text_; }

 private:
  // A parameter whose value needs no escaping.
  void RawParm(platform::WStringView name, platform::WStringView value);
  void Line(platform::WStringView text);

  platform::WString text_;
};

}  // namespace applet
