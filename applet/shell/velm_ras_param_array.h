#pragma once
// The applet's records of a connection document: an array that holds only
// CVELMRASparam objects.

#include <cstddef>
#include <memory>

#include "applet/connections/ras_param_array.h"
#include "applet/shell/velm_ras_param.h"

namespace applet {

class CVELMRASparamArray : public CRASparamArray {
  VELM_DECLARE_SERIAL(CVELMRASparamArray)

 public:
  CVELMRASparamArray();
  ~CVELMRASparamArray() override;

  // The i-th record; null when i is out of range.
  CVELMRASparam* GetAt(size_t i) const;
  std::ptrdiff_t Add(std::unique_ptr<CVELMRASparam> record);

 protected:
  const framework::CRuntimeClass* ElementClass() const override { return &CVELMRASparam::kClass; }
};

}  // namespace applet
