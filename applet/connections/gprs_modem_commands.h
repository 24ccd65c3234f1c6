#pragma once
// The GPRS modem command templates of "GPRSmodems.inf": one section per
// modem command family (the "Identification" of the modem database) and a
// section "Default". Keys:
//
//   GPRSDialNumber      the number dialled for a GPRS connection
//   SetExtraDialString  the command string that sets up the GPRS context
//   MaxContextID        the highest context identifier, default 1
//
// Templates hold placeholders filled from a connection record, each
// replaced at its first occurrence only (see PlaceholderTable in the .cpp):
// %CID% (1 for the record's -1), %PDPTYPE%, %APN%, %PDPADDRESS%, the quoted
// "%PDPADDRESS_NONE%" (always empty, its quotes included), %DCOMP%,
// %HCOMP%, and the classes of the two QoS profiles, %REQ_x% and %MIN_x% for
// x = PRECEDENCE, DELAY, RELIABILITY, PEAK, MEAN, each also as %REQ_x_NONE%
// / %MIN_x_NONE%, which stays empty for a class that is not specified.

#include <cstdint>
#include <vector>

#include "applet/connections/ras_param.h"
#include "applet/device/sectioned_text_reader.h"
#include "base/text.h"

namespace applet {

class GprsModemCommands {
 public:
  static constexpr char16_t kFileName[] = u"GPRSmodems.inf";
  static constexpr char16_t kDefaultSection[] = u"Default";
  // The applet's resource text that names the phone's own modem; a record
  // with that modem name uses the "Default" commands.
  static constexpr uint32_t kDefaultModemString = 65091;
  static constexpr int32_t kDefaultMaxContextId = 1;

  GprsModemCommands() = default;
  GprsModemCommands(const GprsModemCommands&) = delete;
  GprsModemCommands& operator=(const GprsModemCommands&) = delete;

  // Opens folder + kFileName (false when it cannot be opened) and chooses
  // the section of the modem: its command family from the modem database
  // "ModemsCE.ini" in the same folder when the file has a section of that
  // name, else "Default". When the modem database cannot be read, no
  // section is chosen (true all the same).
  bool SelectModem(platform::WStringView folder, platform::WStringView modemName);
  // Opens folder + kFileName with a section given directly.
  bool OpenForSection(platform::WStringView folder, platform::WStringView section);

  // SelectModem for the record's modem, then the placeholder values of the
  // record. False, with no placeholders, when the file cannot be opened.
  bool BuildPlaceholders(platform::WStringView folder, const CRASparam& record);
  platform::WString ApplyPlaceholders(platform::WStringView text) const;

  // "GPRSDialNumber" of the chosen section (of "Default" when none is
  // chosen), placeholders applied.
  platform::WString GprsDialNumber();
  // "SetExtraDialString" of the chosen section, empty when none is chosen;
  // placeholders are left for the caller to apply.
  platform::WString ExtraDialString();
  int32_t MaxContextId();

  const platform::WString& ModemSection() const { return modemSection_; }
  int32_t DteSpeed() const { return dteSpeed_; }
  int32_t InterChar() const { return interChar_; }
  const std::vector<platform::WString>& Placeholders() const { return placeholders_; }
  const std::vector<platform::WString>& Values() const { return values_; }

 private:
  SectionedTextReader reader_;
  platform::WString modemSection_;
  int32_t dteSpeed_ = 19200;
  int32_t interChar_ = 0;
  std::vector<platform::WString> placeholders_;
  std::vector<platform::WString> values_;
};

}  // namespace applet
