#pragma once
// The connection document: the format version word, then an array of
// connection records (see CObArray for the array's encoding and
// CRASparam for a record's fields).
//
//   version  32-bit, kDocumentVersion when written
//   array    count, then each record with its class and fields
//
// Loading stores the version word in archiveVersion before any record is
// read. A derived document that keeps its records in an array of its own
// overrides Serialize and DeleteContents; this class's array then stays
// empty.

#include "applet/connections/ras_param_array.h"
#include "base/text.h"
#include "platform/framework/document.h"

namespace applet {

class CRASparamArrayDoc : public framework::CDocument {
  VELM_DECLARE_DYNCREATE(CRASparamArrayDoc)

 public:
  CRASparamArrayDoc();
  ~CRASparamArrayDoc() override;

  // Empties the records and remembers the path. When a file is there, loads
  // it and returns whether that worked (a file that does not load leaves no
  // records); otherwise false with no records.
  bool Open(platform::WStringView path);
  // Writes the document to the remembered path, replacing the old file only
  // once the new one is complete. The modified flag becomes the negation of
  // the result.
  bool Save();

  CRASparamArray& Array() { return array_; }
  const CRASparamArray& Array() const { return array_; }

  void Serialize(framework::CArchive& ar) override;
  void DeleteContents() override;

 private:
  CRASparamArray array_;
};

}  // namespace applet
