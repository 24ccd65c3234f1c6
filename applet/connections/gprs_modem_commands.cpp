#include "applet/connections/gprs_modem_commands.h"

#include <algorithm>

#include "applet/device/modem_database.h"
#include "platform/resource_library.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

// A class as its plain placeholder gives it, and as its _NONE form does.
WString Number(int32_t value) { return platform::FormatInt(value); }
WString NumberOrNothing(int32_t value) { return value != 0 ? Number(value) : WString(); }

// The placeholders in the order they are applied, with the record's values.
void FillTable(const CRASparam& r, std::vector<WString>& names, std::vector<WString>& values) {
  auto add = [&](const char16_t* name, WString value) {
    names.emplace_back(name);
    values.push_back(std::move(value));
  };
  add(u"%CID%", Number(r.contextId == CRASparam::kDefaultContextId ? 1 : r.contextId));
  add(u"%PDPTYPE%", r.pdpType);
  add(u"%APN%", r.apn);
  add(u"%PDPADDRESS%", r.pdpAddress);
  add(u"\"%PDPADDRESS_NONE%\"", WString());
  add(u"%DCOMP%", Number(r.dataCompression));
  add(u"%HCOMP%", Number(r.headerCompression));
  struct Profile {
    const CQualityOfService& qos;
    const char16_t* prefix;
  };
  for (Profile p : {Profile{r.qosRequested, u"%REQ_"}, Profile{r.qosMinimum, u"%MIN_"}}) {
    struct Class {
      const char16_t* name;
      int32_t value;
    };
    for (Class c : {Class{u"PRECEDENCE", p.qos.precedence}, Class{u"DELAY", p.qos.delay},
                    Class{u"RELIABILITY", p.qos.reliability}, Class{u"PEAK", p.qos.peakClass},
                    Class{u"MEAN", p.qos.meanClass}}) {
      add((WString(p.prefix) + c.name + u"%").c_str(), Number(c.value));
      add((WString(p.prefix) + c.name + u"_NONE%").c_str(), NumberOrNothing(c.value));
    }
  }
}

}  // namespace

bool GprsModemCommands::OpenForSection(WStringView folder, WStringView section) {
  modemSection_ = WString(section);
  return reader_.Open(WString(folder) + kFileName);
}

bool GprsModemCommands::SelectModem(WStringView folder, WStringView modemName) {
  modemSection_.clear();
  if (!reader_.Open(WString(folder) + kFileName)) return false;

  const auto defaultModem = platform::LoadString(kDefaultModemString);
  const WString lookup = defaultModem && modemName == *defaultModem ? WString(kDefaultSection)
                                                                     : WString(modemName);
  ModemDatabase modems;
  if (!modems.Select(folder, lookup, 1)) return true;
  dteSpeed_ = modems.DteSpeed(DteUse::DialUpNetworking);
  interChar_ = modems.InterChar();
  WString family;
  modems.IdentificationOf(lookup, family, ModemDatabase::kDefaultIdentification);
  std::vector<WString> sections;
  reader_.ListSections(sections);
  modemSection_ = std::find(sections.begin(), sections.end(), family) != sections.end()
                      ? family
                      : WString(kDefaultSection);
  return true;
}

bool GprsModemCommands::BuildPlaceholders(WStringView folder, const CRASparam& record) {
  placeholders_.clear();
  values_.clear();
  if (!SelectModem(folder, record.modemName)) return false;
  FillTable(record, placeholders_, values_);
  return true;
}

WString GprsModemCommands::ApplyPlaceholders(WStringView text) const {
  WString out(text);
  for (size_t i = 0; i < placeholders_.size(); ++i) {
    const size_t at = out.find(placeholders_[i]);
    if (at != WString::npos) out.replace(at, placeholders_[i].size(), values_[i]);
  }
  return out;
}

WString GprsModemCommands::GprsDialNumber() {
  WString number;
  reader_.GetString(modemSection_.empty() ? WStringView(kDefaultSection) : modemSection_,
                    u"GPRSDialNumber", number, u"");
  return ApplyPlaceholders(number);
}

WString GprsModemCommands::ExtraDialString() {
  WString commands;
  if (!modemSection_.empty()) reader_.GetString(modemSection_, u"SetExtraDialString", commands, u"");
  return commands;
}

int32_t GprsModemCommands::MaxContextId() {
  return reader_.GetInt(modemSection_, u"MaxContextID", kDefaultMaxContextId);
}

}  // namespace applet
