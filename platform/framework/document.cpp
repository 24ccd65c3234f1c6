#include "platform/framework/document.h"

#include <algorithm>

#include "platform/device_path.h"
#include "platform/file.h"
#include "platform/file_finder.h"

namespace framework {

VELM_IMPLEMENT_DYNAMIC(CDocument, CObject)

namespace {

// The temporary file of a save is the document's name with this suffix and
// a number, in the document's folder, so that putting it in place is a
// rename within one file system.
constexpr char16_t kTemporarySuffix[] = u".~";

// Whether a file name is one of the temporaries a save of the document
// named name uses: name + ".~" + a number.
bool IsTemporaryOf(platform::WStringView candidate, platform::WStringView name) {
  const size_t prefix = name.size() + std::size(kTemporarySuffix) - 1;
  if (candidate.size() <= prefix) return false;
  const platform::WStringView number = candidate.substr(prefix);
  return platform::EqualsNoCase(candidate.substr(0, name.size()), name) &&
         candidate.substr(name.size(), prefix - name.size()) == kTemporarySuffix &&
         std::all_of(number.begin(), number.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// A save that was cut short (a crash, a power cut) leaves its temporary
// behind. Without removing these, every save would step over more names
// until none is left. A temporary that another save of this process still
// has open cannot be deleted and stays.
void RemoveLeftoverTemporaries(const platform::WString& folder, const platform::WString& name) {
  platform::FileFinder finder;
  platform::FindData found;
  platform::ErrorCode e = finder.FindFirst(folder + name + kTemporarySuffix + u"*", found);
  for (; e == platform::kErrorSuccess; e = finder.FindNext(found))
    if ((found.attributes & platform::kAttributeDirectory) == 0 && IsTemporaryOf(found.name, name))
      platform::DeleteDeviceFile(folder + found.name);
}

}  // namespace

CDocument::CDocument() = default;
CDocument::~CDocument() = default;

void CDocument::DeleteContents() {}

void CDocument::NoteFailure(const CArchive* ar, platform::ErrorCode fileError) {
  lastArchiveError_ = ar != nullptr ? ar->Error() : ArchiveError::None;
  lastErrorOffset_ = ar != nullptr ? ar->ErrorOffset() : 0;
  lastFileError_ = fileError;
}

bool CDocument::OnOpenDocument(platform::WStringView path) {
  DeleteContents();
  platform::File file;
  // Others may read the document meanwhile but not change it under us.
  if (platform::ErrorCode e = file.Open(path, platform::kGenericRead, platform::kShareRead,
                                        platform::CreationDisposition::OpenExisting);
      e != platform::kErrorSuccess) {
    NoteFailure(nullptr, e);
    return false;
  }
  CArchive ar(file, CArchive::Mode::Load);
  Serialize(ar);
  if (ar.Failed()) {
    NoteFailure(&ar, ar.FileError());
    DeleteContents();
    return false;
  }
  NoteFailure(nullptr, platform::kErrorSuccess);
  SetModifiedFlag(false);
  return true;
}

bool CDocument::OnSaveDocument(platform::WStringView path) {
  const platform::WString folder = platform::DeviceParentPath(path);
  const platform::WString name = platform::DeviceFileName(path);
  if (name.empty()) {
    NoteFailure(nullptr, platform::kErrorInvalidName);
    return false;
  }

  RemoveLeftoverTemporaries(folder, name);
  platform::File file;
  platform::WString temporary;
  platform::ErrorCode e = platform::kErrorFileExists;
  for (int i = 0; i < kMaxTemporaryNames && e == platform::kErrorFileExists; ++i) {
    temporary = folder + name + kTemporarySuffix + platform::FormatInt(i);
    e = file.Open(temporary, platform::kGenericWrite, platform::kShareNone,
                  platform::CreationDisposition::CreateNew);
  }
  if (e != platform::kErrorSuccess) {
    NoteFailure(nullptr, e);
    return false;
  }

  CArchive ar(file, CArchive::Mode::Store);
  Serialize(ar);
  ar.Flush();
  platform::ErrorCode fileError = ar.FileError();
  // The data must be on the medium before the new file takes the old one's
  // place, or a power cut could leave an empty document.
  if (!ar.Failed()) fileError = file.Flush();
  file.Close();
  if (ar.Failed() || fileError != platform::kErrorSuccess) {
    NoteFailure(&ar, fileError);
    platform::DeleteDeviceFile(temporary);
    return false;
  }
  if (e = platform::ReplaceDeviceFile(temporary, path); e != platform::kErrorSuccess) {
    NoteFailure(nullptr, e);
    platform::DeleteDeviceFile(temporary);
    return false;
  }
  NoteFailure(nullptr, platform::kErrorSuccess);
  SetModifiedFlag(false);
  return true;
}

}  // namespace framework
