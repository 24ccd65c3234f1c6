#include "applet/device/modem_database.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

// Separates a modem name from its variant in a section name.
constexpr WStringView kVariantSeparator = u" - ";

// A speed lookup that finds nothing usable gives this, so that the general
// speed is tried next. GetInt never returns it for a value in the file,
// since it accepts digits only.
constexpr int32_t kNoSpeed = -1;

WStringView SpeedKey(DteUse use) {
  switch (use) {
    case DteUse::Fax: return u"DTESpeedFax";
    case DteUse::Phonebook: return u"DTESpeedPB";
    case DteUse::Sms: return u"DTESpeedSMS";
    case DteUse::DialUpNetworking: return u"DTESpeedDUN";
    case DteUse::Dialler: return u"DTESpeedDialer";
  }
  return u"DTESpeed";
}

}  // namespace

bool ModemDatabase::Load(WStringView folder) {
  if (!modemNames_.empty()) return true;

  folder_ = WString(folder);
  if (!reader_.Open(folder_ + kFileName)) return false;

  modemNames_.clear();
  variants_.clear();
  variantModem_.clear();
  std::vector<WString> sections;
  if (reader_.ListSections(sections) == 0) {
    // A file without modems is treated as a missing one, so that the
    // accessors give the same defaults after either failure.
    reader_.Close();
    return false;
  }

  for (const WString& section : sections) {
    const size_t cut = section.find(kVariantSeparator);
    if (cut == WString::npos) continue;
    WString left = section.substr(0, cut);
    const auto known = std::find(modemNames_.begin(), modemNames_.end(), left);
    if (known != modemNames_.end()) {
      variantModem_.push_back(static_cast<size_t>(std::distance(modemNames_.begin(), known)));
    } else {
      modemNames_.push_back(std::move(left));
      variantModem_.push_back(modemNames_.size() - 1);
    }
    variants_.push_back(section.substr(cut + kVariantSeparator.size()));
  }
  return true;
}

bool ModemDatabase::Select(WStringView folder, WStringView modemName, int32_t flag) {
  selectFlag_ = flag;
  if (!Load(folder)) return false;
  currentModem_ = WString(modemName);
  reader_.GetString(currentModem_, u"EOC", eoc_, u"");
  return true;
}

int32_t ModemDatabase::DteSpeed(DteUse use) {
  const int32_t speed = reader_.GetInt(currentModem_, SpeedKey(use), kNoSpeed);
  if (speed != kNoSpeed) return speed;
  return reader_.GetInt(currentModem_, u"DTESpeed", kDefaultDteSpeed);
}

bool ModemDatabase::Identification(WString& out) {
  out.clear();
  reader_.GetString(currentModem_, u"Identification", out, kDefaultIdentification);
  return !out.empty();
}

int32_t ModemDatabase::InterChar() {
  return reader_.GetInt(currentModem_, u"INTERCHAR", kDefaultInterChar);
}

bool ModemDatabase::IdentificationOf(WStringView section, WString& out, WStringView fallback) {
  // Emptied first so that a closed file, which leaves the out text alone,
  // also ends in the fallback.
  out.clear();
  reader_.GetString(section, u"Identification", out, u"");
  if (out.empty()) out = WString(fallback);
  return true;
}

}  // namespace applet
