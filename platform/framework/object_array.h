#pragma once
// The application framework's object array: an array that owns its
// elements and stores them with the classic object-array encoding, the
// element count (see CArchive::WriteCount) and then each element as an
// object with its class (CArchive::WriteObject), so elements of derived
// classes come back as such.
//
// A derived array narrows what it holds by naming the element class: adding
// or loading an element of another class is refused, so a derived array's
// accessors may cast without checking.

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/framework/archive.h"
#include "platform/framework/object.h"

namespace framework {

class CObArray : public CObject {
  VELM_DECLARE_SERIAL(CObArray)

 public:
  CObArray();
  ~CObArray() override;
  CObArray(const CObArray&) = delete;
  CObArray& operator=(const CObArray&) = delete;

  size_t GetSize() const { return elements_.size(); }
  bool IsEmpty() const { return elements_.empty(); }
  // Null when i is out of range.
  CObject* GetAt(size_t i) const;
  // Appends and returns the element's index; an element that the array
  // does not accept (see ElementClass) is dropped and the result is -1.
  std::ptrdiff_t Add(std::unique_ptr<CObject> element);
  // Destroys every element, then empties the array.
  void RemoveAll();

  // Loading replaces the content. An element of another class than
  // ElementClass, or a null element where AllowsNullElements is false,
  // fails the archive; the elements read before the fault stay.
  void Serialize(CArchive& ar) override;

 protected:
  // The class every element is or derives from.
  virtual const CRuntimeClass* ElementClass() const { return &CObject::kClass; }
  // The framework's array holds null elements; arrays of records do not.
  virtual bool AllowsNullElements() const { return true; }

 private:
  bool Accepts(const CObject* element) const;

  std::vector<std::unique_ptr<CObject>> elements_;
};

}  // namespace framework
