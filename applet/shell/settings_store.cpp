#include "applet/shell/settings_store.h"

#include <array>
#include <string>

#include "applet/connections/archive_version.h"
#include "applet/shell/applet_data.h"
#include "applet/shell/applet_folders.h"
#include "applet/shell/operator_dialog_lists.h"
#include "platform/file.h"
#include "platform/file_finder.h"
#include "platform/journal.h"
#include "platform/locale.h"
#include "platform/registry.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

constexpr char16_t kResourceLibraryPattern[] = u"\\RondelRes.*";

// A REG_SZ value read into a buffer of kValueCapacity characters; a value
// that does not fit, or any failure, reads as empty.
WString ReadTextValue(WStringView name) {
  platform::RegistryKey key;
  if (key.Open(platform::Hive::CurrentUser, kSettingsKey) != platform::kErrorSuccess) return {};
  std::array<char16_t, CSettingsStore::kValueCapacity> buffer{};
  uint32_t type = 0;
  uint32_t size = sizeof(buffer);
  if (key.QueryValue(name, &type, buffer.data(), &size) != platform::kErrorSuccess ||
      type != platform::kRegSz)
    return {};
  const WStringView text(buffer.data(), size / sizeof(char16_t));
  return WString(text.substr(0, text.find(u'\0')));
}

}  // namespace

CSettingsStore::CSettingsStore() {
  const AppletFolders folders = ReadAppletFolders();
  installedFolder_ = folders.installed;
  workingFolder_ = folders.working;
  // The default working folder is the applet's own to make.
  if (workingFolder_ == WString(kDefaultWorkingFolder) + u"\\")
    platform::CreateDeviceDirectory(kDefaultWorkingFolder);
  hardReset_ = ReadTextValue(kHardResetValue);
}

CSettingsStore::~CSettingsStore() { FreeResourceLibrary(); }

bool CSettingsStore::LoadResourceLibrary() {
  FreeResourceLibrary();
  platform::FileFinder finder;
  platform::FindData found;
  if (finder.FindFirst(installedFolder_ + kResourceLibraryPattern, found) != platform::kErrorSuccess)
    return false;
  // The folder ends with a separator already; the doubled one counts as one.
  if (resourceLibrary_.Load(installedFolder_ + u"\\" + found.name) != platform::kErrorSuccess)
    return false;
  previousResourceSource_ = platform::SetResourceSource(resourceLibrary_.Handle());
  resourceSourceSet_ = true;
  return true;
}

void CSettingsStore::FreeResourceLibrary() {
  if (resourceSourceSet_) {
    platform::SetResourceSource(std::move(previousResourceSource_));
    previousResourceSource_.reset();
    resourceSourceSet_ = false;
  }
  resourceLibrary_.Free();
}

void CSettingsStore::Load() {
  AppletData& data = SharedAppletData();
  data.ForgetDatabases();

  smsCenterFolder_ = workingFolder_;
  if (!data.SmsCenters().Open(workingFolder_, SmsCenterDatabase::kFileName)) {
    smsCenterFolder_ = installedFolder_;
    data.SmsCenters().Open(installedFolder_, SmsCenterDatabase::kFileName);
  }
  operatorFolder_ = workingFolder_;
  if (!data.Operators().Open(workingFolder_, u"")) {
    operatorFolder_ = installedFolder_;
    data.Operators().Open(installedFolder_, u"");
  }
  UseDialogListTexts(data.Operators());

  OpenDocument();

  const CVELMRASparam& record = CurrentRecord();
  previousEntryName_ = record.entryName;
  previousMmsEntryName_ = record.mmsEntryName;
  previousWapEntryName_ = record.wapEntryName;
  previousReservedEntryName_ = record.reservedEntryName;
  previousWapProxyName_ = record.wapProxyName;
  previousWtlsProxyName_ = record.wtlsProxyName;
}

void CSettingsStore::OpenDocument() {
  CVELMRASparamArrayDoc& document = SharedAppletData().Document();
  const WString path = workingFolder_ + CVELMRASparamArrayDoc::kFileName;
  const bool present = platform::FileExists(path);
  const bool opened = document.Open(path);
  if (present && opened && archiveVersion <= kDocumentVersion) {
    document.Save();
    return;
  }
  if (present) {
    const std::string shown = platform::ToUtf8(path);
    std::string why;
    if (opened) {
      why = "written by a newer version (" + std::to_string(archiveVersion) + ")";
      // Records of a format we do not know are not ours to keep using.
      document.DeleteContents();
    } else if (document.LastArchiveError() != framework::ArchiveError::None) {
      why = std::string(framework::ArchiveErrorName(document.LastArchiveError())) + " at byte " +
            std::to_string(document.LastErrorOffset());
    } else {
      // The file is there but could not be opened or read: it may be fine,
      // so nothing is written over it now.
      platform::JournalEvent("document " + shown + " cannot be opened (error " +
                             std::to_string(document.LastFileError()) + "): not saved over");
      return;
    }
    const WString aside = path + kBadDocumentSuffix;
    if (platform::ReplaceDeviceFile(path, aside) != platform::kErrorSuccess) {
      platform::JournalEvent("document " + shown + " cannot be read (" + why +
                             ") nor kept aside: not saved over");
      return;
    }
    platform::JournalEvent("document " + shown + " cannot be read (" + why + "): kept as " +
                           platform::ToUtf8(aside));
  }
  document.Save();
}

CVELMRASparam& CSettingsStore::CurrentRecord() { return SharedAppletData().Document().CurrentRecord(); }

const WString& CSettingsStore::CountryOfRecord() {
  lastCountryText_ = CurrentRecord().countryName;
  if (lastCountryText_.empty()) {
    std::array<char16_t, kCountryNameCapacity> buffer{};
    if (platform::GetLocaleInfo(platform::kLocaleUserDefault, platform::kLocaleEnglishCountryName,
                                buffer.data(), kCountryNameCapacity) > 0)
      lastCountryText_ = buffer.data();
  }
  return lastCountryText_;
}

const WString& CSettingsStore::OperatorOfRecord() {
  const CVELMRASparam& record = CurrentRecord();
  lastOperatorText_ = record.isCustom != 0 ? record.entryName : record.operatorName;
  return lastOperatorText_;
}

}  // namespace applet
