#pragma once
// The root of the application framework's classes: an object that knows its
// run-time class and can be written to and read from an archive.
//
// A class joins the framework with two macros, as the framework's own
// classes do:
//
//   class CPoint3 : public framework::CObject {
//     VELM_DECLARE_SERIAL(CPoint3)
//    public:
//     void Serialize(framework::CArchive& ar) override;
//   };
//   VELM_IMPLEMENT_SERIAL(CPoint3, framework::CObject, 1)   // in the .cpp
//
// VELM_DECLARE_SERIAL/VELM_IMPLEMENT_SERIAL make the class creatable by name
// with the given archive schema; VELM_DECLARE_DYNCREATE/IMPLEMENT_DYNCREATE
// make it creatable but not storable as an object (documents);
// VELM_DECLARE_DYNAMIC/VELM_IMPLEMENT_DYNAMIC only give it a run-time class. The class name stored in archives is the
// name as written in the macro, so use the macro inside the class's
// namespace with the plain class name.

#include <memory>

#include "platform/framework/runtime_class.h"

namespace framework {

class CArchive;

class CObject {
 public:
  static const CRuntimeClass kClass;

  virtual ~CObject() = default;

  virtual const CRuntimeClass* GetRuntimeClass() const;
  // Writes the object's fields to the archive or reads them back, whichever
  // way the archive goes. The root has no fields.
  virtual void Serialize(CArchive& ar);

  bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
  bool IsSerializable() const { return GetRuntimeClass()->Schema() != CRuntimeClass::kNoSchema; }

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

}  // namespace framework

#define VELM_DECLARE_DYNAMIC(class_name)                           \
 public:                                                           \
  static const ::framework::CRuntimeClass kClass;                  \
  const ::framework::CRuntimeClass* GetRuntimeClass() const override; \
                                                                   \
 private:

#define VELM_DECLARE_SERIAL(class_name)                            \
 public:                                                           \
  static const ::framework::CRuntimeClass kClass;                  \
  const ::framework::CRuntimeClass* GetRuntimeClass() const override; \
  static std::unique_ptr<::framework::CObject> CreateObject();     \
                                                                   \
 private:

#define VELM_DECLARE_DYNCREATE(class_name) VELM_DECLARE_SERIAL(class_name)

#define VELM_IMPLEMENT_DYNCREATE(class_name, base_class) \
  VELM_IMPLEMENT_SERIAL(class_name, base_class, ::framework::CRuntimeClass::kNoSchema)

#define VELM_IMPLEMENT_DYNAMIC(class_name, base_class)                                        \
  const ::framework::CRuntimeClass class_name::kClass(                                        \
      #class_name, ::framework::CRuntimeClass::kNoSchema, nullptr, &base_class::kClass);     \
  const ::framework::CRuntimeClass* class_name::GetRuntimeClass() const { return &kClass; }

#define VELM_IMPLEMENT_SERIAL(class_name, base_class, schema)                                  \
  std::unique_ptr<::framework::CObject> class_name::CreateObject() {                          \
    return std::make_unique<class_name>();                                                    \
  }                                                                                           \
  const ::framework::CRuntimeClass class_name::kClass(#class_name, schema,                    \
                                                      &class_name::CreateObject,              \
                                                      &base_class::kClass);                   \
  const ::framework::CRuntimeClass* class_name::GetRuntimeClass() const { return &kClass; }
