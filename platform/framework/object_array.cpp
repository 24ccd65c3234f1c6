#include "platform/framework/object_array.h"

namespace framework {

VELM_IMPLEMENT_SERIAL(CObArray, CObject, 0)

namespace {

// The smallest stored element is its tag word.
constexpr uint64_t kMinElementSize = 2;

}  // namespace

CObArray::CObArray() = default;

CObArray::~CObArray() { RemoveAll(); }

CObject* CObArray::GetAt(size_t i) const {
  return i < elements_.size() ? elements_[i].get() : nullptr;
}

bool CObArray::Accepts(const CObject* element) const {
  if (element == nullptr) return AllowsNullElements();
  return element->IsKindOf(ElementClass());
}

std::ptrdiff_t CObArray::Add(std::unique_ptr<CObject> element) {
  if (!Accepts(element.get())) return -1;
  elements_.push_back(std::move(element));
  return static_cast<std::ptrdiff_t>(elements_.size() - 1);
}

void CObArray::RemoveAll() { elements_.clear(); }

void CObArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(elements_.size());
    for (auto& element : elements_) ar.WriteObject(element.get());
    return;
  }
  RemoveAll();
  const uint64_t count = ar.ReadCount();
  if (!ar.Require(count, kMinElementSize)) return;
  for (uint64_t i = 0; i < count && !ar.Failed(); ++i) {
    std::unique_ptr<CObject> element = ar.ReadObject(ElementClass());
    if (ar.Failed()) return;
    if (!Accepts(element.get())) {
      ar.Fail(ArchiveError::NullObject);
      return;
    }
    elements_.push_back(std::move(element));
  }
}

}  // namespace framework
