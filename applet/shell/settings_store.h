#pragma once
// The applet's link to its persistent state and to the platform: its two
// data folders and "HardReset" from the registry, the resource library, the
// shared databases and connection document (applet_data.h), and the apply
// that turns the current record into connections.
//
// Registry, HKEY_CURRENT_USER "\SOFTWARE\ORLO\GSM/GPRS Settings\Settings"
// (made by the installation; the applet only opens it), all REG_SZ:
//   installedFolder  the data that came with the handheld
//                    (default "\Yvra ROM\GPRS Settings")
//   workingFolder    the document and customised databases
//                    (default "\Yvra File Store\GPRS Settings", created)
//   HardReset        "N" once the settings are applied since the registry
//                    was last reset
//
// Apply removes what the previous apply wrote (the names the stored record
// held at the last Load), then writes the MMS connection, the MMS client's
// settings and account, the Internet connection, the WAP connection and its
// proxies, saves the document and sets "HardReset" to "N".
//
// A "VELM.DAT" that is there but cannot be read (cut short, damaged, or
// written by a newer version) is not overwritten: Load moves it aside as
// "VELM.DAT.bad" (replacing an older one) and journals that, before the
// fresh document is saved, so the user's stored record can still be
// recovered.

#include <cstdint>

#include "applet/shell/velm_ras_param.h"
#include "base/text.h"
#include "platform/resource_library.h"

namespace applet {

class CSettingsStore {
 public:
  static constexpr char16_t kHardResetValue[] = u"HardReset";
  static constexpr char16_t kSettingsApplied[] = u"N";
  static constexpr char16_t kBadDocumentSuffix[] = u".bad";
  // Values are read into buffers of this many characters.
  static constexpr size_t kValueCapacity = 260;
  // The user's country name is read into a buffer of this size.
  static constexpr int kCountryNameCapacity = 128;

  // Texts of the resource library the store uses.
  static constexpr uint32_t kNoCountryString = 65084;
  static constexpr uint32_t kPlaceholderString = 65085;
  static constexpr uint32_t kMmsClientNameString = 65094;
  static constexpr uint32_t kMmsContextMenuString = 65095;
  static constexpr uint32_t kMmsNetworkNameString = 65096;

  // Reads the registry; creates the default working folder when the
  // registry names none. The store reads the registry only here.
  CSettingsStore();
  virtual ~CSettingsStore();
  CSettingsStore(const CSettingsStore&) = delete;
  CSettingsStore& operator=(const CSettingsStore&) = delete;

  // Loads the first "RondelRes.*" of the installed folder and makes it the
  // current resource source; FreeResourceLibrary restores the one before.
  bool LoadResourceLibrary();
  void FreeResourceLibrary();
  const platform::ResourceHandle& ResourceLibrary() const { return resourceLibrary_.Handle(); }

  // Loads the databases (working folder first, then the installed folder)
  // and the document, saves the document at once in the current format and
  // takes the names of what the last apply wrote from the current record.
  virtual void Load();
  virtual void Apply();

  // Fills the current record from the operator database for the operator
  // (its GPRS connection, else its CSD one); false, the record reset, when
  // the operator offers neither.
  bool LoadOperatorSettings(platform::WStringView country, platform::WStringView operatorName);

  // Element 0 of the document, created when the document has none.
  CVELMRASparam& CurrentRecord();
  // The record's country, or the user's country by the device's locale.
  const platform::WString& CountryOfRecord();
  // The record's entry name for the custom connection, else its operator.
  const platform::WString& OperatorOfRecord();

  const platform::WString& InstalledFolder() const { return installedFolder_; }
  const platform::WString& WorkingFolder() const { return workingFolder_; }
  const platform::WString& SmsCenterFolder() const { return smsCenterFolder_; }
  const platform::WString& OperatorFolder() const { return operatorFolder_; }
  const platform::WString& HardReset() const { return hardReset_; }

 private:
  void OpenDocument();
  int ApplyMmsSettings(CVELMRASparam& record);
  void WriteMmsClientSettings(const CVELMRASparam& record, int linkKind);
  void ApplyWapSettings(CVELMRASparam& record);
  void MarkApplied();

  platform::WString installedFolder_;
  platform::WString workingFolder_;
  platform::WString smsCenterFolder_;
  platform::WString operatorFolder_;
  platform::ResourceHandle previousResourceSource_;
  platform::ResourceLibrary resourceLibrary_;
  bool resourceSourceSet_ = false;
  platform::WString hardReset_;
  platform::WString lastOperatorText_;
  platform::WString lastCountryText_;
  platform::WString previousEntryName_;
  platform::WString previousMmsEntryName_;
  platform::WString previousWapEntryName_;
  platform::WString previousReservedEntryName_;
  platform::WString previousWapProxyName_;
  platform::WString previousWtlsProxyName_;
};

}  // namespace applet
