#include "applet/connections/ras_param_array_doc.h"

#include "applet/connections/archive_version.h"
#include "platform/file.h"
#include "platform/framework/archive.h"

namespace applet {

VELM_IMPLEMENT_DYNCREATE(CRASparamArrayDoc, framework::CDocument)

CRASparamArrayDoc::CRASparamArrayDoc() = default;
CRASparamArrayDoc::~CRASparamArrayDoc() = default;

bool CRASparamArrayDoc::Open(platform::WStringView path) {
  DeleteContents();
  SetPathName(path);
  if (!platform::FileExists(path)) return false;
  return OnOpenDocument(path);
}

bool CRASparamArrayDoc::Save() {
  const bool saved = OnSaveDocument(GetPathName());
  SetModifiedFlag(!saved);
  return saved;
}

void CRASparamArrayDoc::Serialize(framework::CArchive& ar) {
  if (ar.IsStoring()) {
    ar << kDocumentVersion;
  } else {
    const int32_t version = ar.ReadInt();
    if (ar.Failed()) return;
    archiveVersion = version;
  }
  array_.Serialize(ar);
}

void CRASparamArrayDoc::DeleteContents() { array_.RemoveAll(); }

}  // namespace applet
