#include "platform/framework/runtime_class.h"

#include <mutex>

#include "platform/framework/object.h"

namespace framework {

namespace {

// The list head and its lock are constant-initialised and have no
// destructor to speak of, so records of other modules may register during
// their static initialisation and unregister during their static
// destruction in any order relative to this library's.
std::mutex g_classesMutex;
const CRuntimeClass* g_firstClass = nullptr;

}  // namespace

CRuntimeClass::CRuntimeClass(const char* name, uint32_t schema, Factory factory,
                             const CRuntimeClass* base)
    : name_(name), schema_(schema), factory_(factory), base_(base) {
  std::lock_guard guard(g_classesMutex);
  // Appended at the end, so that FromName finds the first module's class
  // when two modules of one process carry the same class.
  const CRuntimeClass** link = &g_firstClass;
  while (*link != nullptr) link = &(*link)->next_;
  *link = this;
}

CRuntimeClass::~CRuntimeClass() {
  std::lock_guard guard(g_classesMutex);
  for (const CRuntimeClass** link = &g_firstClass; *link != nullptr; link = &(*link)->next_) {
    if (*link == this) {
      *link = next_;
      break;
    }
  }
}

std::unique_ptr<CObject> CRuntimeClass::CreateObject() const {
  if (factory_ == nullptr) return nullptr;
  return factory_();
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->base_)
    if (c == base) return true;
  return false;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
  std::lock_guard guard(g_classesMutex);
  for (const CRuntimeClass* c = g_firstClass; c != nullptr; c = c->next_)
    if (c->ClassName() == name) return c;
  return nullptr;
}

}  // namespace framework
