#pragma once
// The connection records of a document: an object array that owns
// CRASparam objects (or objects of a class derived from it) and refuses
// anything else, also when loading, so GetAt never hands out a stranger.

#include <cstddef>
#include <memory>

#include "applet/connections/ras_param.h"
#include "platform/framework/object_array.h"

namespace applet {

class CRASparamArray : public framework::CObArray {
  VELM_DECLARE_SERIAL(CRASparamArray)

 public:
  CRASparamArray();
  ~CRASparamArray() override;

  // The i-th record; null when i is out of range.
  CRASparam* GetAt(size_t i) const;
  // Appends a record; -1 when record is null.
  std::ptrdiff_t Add(std::unique_ptr<CRASparam> record);

 protected:
  const framework::CRuntimeClass* ElementClass() const override { return &CRASparam::kClass; }
  bool AllowsNullElements() const override { return false; }
};

}  // namespace applet
