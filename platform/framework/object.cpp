#include "platform/framework/object.h"

namespace framework {

const CRuntimeClass CObject::kClass("CObject", CRuntimeClass::kNoSchema, nullptr, nullptr);

const CRuntimeClass* CObject::GetRuntimeClass() const { return &kClass; }

void CObject::Serialize(CArchive&) {}

}  // namespace framework
