#pragma once
// The application framework's document: content that lives in one file,
// read with Open and written with Save through an archive.
//
// A derived document says what its content is with Serialize and how to
// empty it with DeleteContents. Opening empties the content first and
// again when the file does not load, so a failed open never leaves half a
// document behind. Saving writes a temporary file beside the document
// (its name + ".~" + a number) and then puts it in the document's place in
// one step, so a crash or a full disk during a save leaves the previous
// file as it was; the next save removes the temporaries such a crash left.

#include <cstdint>

#include "base/errors.h"
#include "base/text.h"
#include "platform/framework/archive.h"
#include "platform/framework/object.h"

namespace framework {

class CDocument : public CObject {
  VELM_DECLARE_DYNAMIC(CDocument)

 public:
  // Temporary names tried beside the document before a save gives up (only
  // temporaries that other saves of this process hold open are in the way).
  static constexpr int kMaxTemporaryNames = 100;

  CDocument();
  ~CDocument() override;
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  // Empties the content and loads the file at the device path. False when
  // the file cannot be opened or does not load; the content is then empty.
  virtual bool OnOpenDocument(platform::WStringView path);
  // Writes the content to the device path. False when nothing was stored;
  // the file that was there is then unchanged.
  virtual bool OnSaveDocument(platform::WStringView path);
  // Empties the content; the base has none.
  virtual void DeleteContents();

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }
  const platform::WString& GetPathName() const { return pathName_; }
  void SetPathName(platform::WStringView path) { pathName_ = platform::WString(path); }

  // Why the last open or save failed: the archive's fault and its offset,
  // or ArchiveError::None with the platform's code when the file itself failed.
  ArchiveError LastArchiveError() const { return lastArchiveError_; }
  uint64_t LastErrorOffset() const { return lastErrorOffset_; }
  platform::ErrorCode LastFileError() const { return lastFileError_; }

 private:
  void NoteFailure(const CArchive* ar, platform::ErrorCode fileError);

  bool modified_ = false;
  platform::WString pathName_;
  ArchiveError lastArchiveError_ = ArchiveError::None;
  uint64_t lastErrorOffset_ = 0;
  platform::ErrorCode lastFileError_ = platform::kErrorSuccess;
};

}  // namespace framework
