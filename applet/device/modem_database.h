#pragma once
// The modem database "ModemsCE.ini": one section per modem, named as the
// platform reports the modem of a connection, with the serial speeds, the
// command family and a few line parameters of that modem:
//
//   [QZ7100 - GPRS]          a name "left - right" also lists the modem
//   Identification=QZ7100    under left with the variant right; the
//   DTESpeed=115200          command family ("Default" when absent)
//   DTESpeedDUN=115200       speeds (bits per second) by use, falling back
//   INTERCHAR=0              to DTESpeed and then to 19200; INTERCHAR
//   EOC=\r                   defaults to 0, EOC to empty
//
// Numbers are read as SectionedTextReader::GetInt reads them: anything but
// plain digits counts as absent.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "applet/device/sectioned_text_reader.h"
#include "base/text.h"

namespace applet {

// What a serial speed is wanted for. Any value other than the named ones
// asks for the general speed.
enum class DteUse : int32_t {
  Fax = 1,
  Phonebook = 2,
  Sms = 3,
  DialUpNetworking = 4,
  Dialler = 5,
};

class ModemDatabase {
 public:
  static constexpr char16_t kFileName[] = u"ModemsCE.ini";
  static constexpr int32_t kDefaultDteSpeed = 19200;
  static constexpr int32_t kDefaultInterChar = 0;
  static constexpr char16_t kDefaultIdentification[] = u"Default";

  ModemDatabase() = default;
  ModemDatabase(const ModemDatabase&) = delete;
  ModemDatabase& operator=(const ModemDatabase&) = delete;

  // Opens folder + kFileName (the folder ends with a path separator) and
  // fills the name lists from its sections. False when the file is missing
  // or has no sections. Once the lists hold a modem name the file is not
  // read again and the result is true, whatever the folder.
  bool Load(platform::WStringView folder);
  // Loads, and on success makes modemName the current modem and reads its
  // "EOC". On failure the current modem stays as it was. The flag is kept
  // for callers that pass it and has no effect.
  bool Select(platform::WStringView folder, platform::WStringView modemName, int32_t flag);

  // The current modem's speed for a use: its use-specific key, else
  // "DTESpeed", else kDefaultDteSpeed.
  int32_t DteSpeed(DteUse use);
  // Sets out to the current modem's command family (kDefaultIdentification
  // when the key is absent); true when out is not empty, which fails only
  // when no file is open or the value is written empty.
  bool Identification(platform::WString& out);
  // The current modem's "INTERCHAR", else kDefaultInterChar.
  int32_t InterChar();
  // Sets out to the command family of any section, or to the fallback when
  // the section has none or an empty one. Always true.
  bool IdentificationOf(platform::WStringView section, platform::WString& out,
                        platform::WStringView fallback);

  const platform::WString& Folder() const { return folder_; }
  const platform::WString& CurrentModem() const { return currentModem_; }
  const platform::WString& Eoc() const { return eoc_; }
  int32_t SelectFlag() const { return selectFlag_; }
  // Distinct left parts of the "left - right" section names, first seen
  // first.
  const std::vector<platform::WString>& ModemNames() const { return modemNames_; }
  // For each "left - right" section in file order: right, and the index of
  // left in ModemNames().
  const std::vector<platform::WString>& Variants() const { return variants_; }
  const std::vector<size_t>& VariantModem() const { return variantModem_; }

 private:
  SectionedTextReader reader_;
  platform::WString folder_;
  platform::WString currentModem_;
  platform::WString eoc_;
  int32_t selectFlag_ = 0;
  std::vector<platform::WString> modemNames_;
  std::vector<platform::WString> variants_;
  std::vector<size_t> variantModem_;
};

}  // namespace applet
