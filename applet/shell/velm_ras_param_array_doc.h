#pragma once
// The applet's connection document "VELM.DAT": the version word 6, then the
// applet's array of CVELMRASparam records (the base document's own array
// stays empty). Element 0 is the current record, the one the applet edits
// and applies; further elements are kept and written back as they were.
//
//   version  32-bit, kDocumentVersion
//   array    count, then each record with its class ("CVELMRASparam",
//            schema 1) and its fields

#include "applet/connections/ras_param_array_doc.h"
#include "applet/shell/velm_ras_param_array.h"

namespace applet {

class CVELMRASparamArrayDoc : public CRASparamArrayDoc {
  VELM_DECLARE_DYNCREATE(CVELMRASparamArrayDoc)

 public:
  static constexpr char16_t kFileName[] = u"VELM.DAT";

  CVELMRASparamArrayDoc();
  ~CVELMRASparamArrayDoc() override;

  CVELMRASparamArray& Records() { return records_; }
  const CVELMRASparamArray& Records() const { return records_; }

  // Element 0, created with its reset values when the array is empty.
  CVELMRASparam& CurrentRecord();

  // Loading sets archiveVersion from the version word before any record is
  // read.
  void Serialize(framework::CArchive& ar) override;
  void DeleteContents() override;

 private:
  CVELMRASparamArray records_;
};

}  // namespace applet
