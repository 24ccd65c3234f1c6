#include "applet/shell/velm_ras_param_array.h"

namespace applet {

VELM_IMPLEMENT_SERIAL(CVELMRASparamArray, CRASparamArray, 0)

CVELMRASparamArray::CVELMRASparamArray() = default;
CVELMRASparamArray::~CVELMRASparamArray() = default;

CVELMRASparam* CVELMRASparamArray::GetAt(size_t i) const {
  // Only the applet's records get in (see ElementClass), so the cast holds.
  return static_cast<CVELMRASparam*>(CRASparamArray::GetAt(i));
}

std::ptrdiff_t CVELMRASparamArray::Add(std::unique_ptr<CVELMRASparam> record) {
  return CRASparamArray::Add(std::move(record));
}

}  // namespace applet
