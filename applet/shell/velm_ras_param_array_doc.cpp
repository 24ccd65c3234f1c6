#include "applet/shell/velm_ras_param_array_doc.h"

#include "applet/connections/archive_version.h"
#include "platform/framework/archive.h"

namespace applet {

VELM_IMPLEMENT_DYNCREATE(CVELMRASparamArrayDoc, CRASparamArrayDoc)

CVELMRASparamArrayDoc::CVELMRASparamArrayDoc() = default;
CVELMRASparamArrayDoc::~CVELMRASparamArrayDoc() = default;

CVELMRASparam& CVELMRASparamArrayDoc::CurrentRecord() {
  if (records_.IsEmpty()) records_.Add(std::make_unique<CVELMRASparam>());
  return *records_.GetAt(0);
}

void CVELMRASparamArrayDoc::Serialize(framework::CArchive& ar) {
  if (ar.IsStoring()) {
    ar << kDocumentVersion;
  } else {
    const int32_t version = ar.ReadInt();
    if (ar.Failed()) return;
    archiveVersion = version;
  }
  records_.Serialize(ar);
}

void CVELMRASparamArrayDoc::DeleteContents() {
  CRASparamArrayDoc::DeleteContents();
  records_.RemoveAll();
}

}  // namespace applet
