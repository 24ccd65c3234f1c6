#include "applet/connections/ras_param_array.h"

namespace applet {

VELM_IMPLEMENT_SERIAL(CRASparamArray, framework::CObArray, 0)

CRASparamArray::CRASparamArray() = default;
CRASparamArray::~CRASparamArray() = default;

CRASparam* CRASparamArray::GetAt(size_t i) const {
  // Only records get in (see ElementClass), so the cast holds.
  return static_cast<CRASparam*>(framework::CObArray::GetAt(i));
}

std::ptrdiff_t CRASparamArray::Add(std::unique_ptr<CRASparam> record) {
  return framework::CObArray::Add(std::move(record));
}

}  // namespace applet
