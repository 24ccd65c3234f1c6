#pragma once
// The run-time class record of the application framework: a class's name,
// its archive schema number, how to create an empty object of it and its
// base class. Archives name classes by these records, and loading creates
// objects from the name found in the file.
//
// Every record registers itself, while it exists, in one process-wide list
// (the list lives in the platform library, which every module of a process
// shares), so a document written by one module loads in another. A record is
// a static object of its class's implementation file (see object.h for the
// macros that define it); a module that is unloaded takes its records out of
// the list again.

#include <cstdint>
#include <memory>
#include <string_view>

namespace framework {

class CObject;

class CRuntimeClass {
 public:
  using Factory = std::unique_ptr<CObject> (*)();

  // The schema of a class that cannot be stored in an archive.
  static constexpr uint32_t kNoSchema = 0xFFFF;

  // Registers the record. name must outlive the record (a string literal).
  CRuntimeClass(const char* name, uint32_t schema, Factory factory, const CRuntimeClass* base);
  ~CRuntimeClass();
  CRuntimeClass(const CRuntimeClass&) = delete;
  CRuntimeClass& operator=(const CRuntimeClass&) = delete;

  std::string_view ClassName() const { return name_; }
  uint32_t Schema() const { return schema_; }
  const CRuntimeClass* BaseClass() const { return base_; }

  // Whether objects of the class can be created by name.
  bool IsDynCreate() const { return factory_ != nullptr; }
  // A new object with the class's default state; null when the class is not
  // creatable.
  std::unique_ptr<CObject> CreateObject() const;

  // True for the class itself and every class derived from base.
  bool IsDerivedFrom(const CRuntimeClass* base) const;

  // The first registered class of that exact name (case matters, as in the
  // archive); null when no class carries it.
  static const CRuntimeClass* FromName(std::string_view name);

 private:
  const char* name_;
  uint32_t schema_;
  Factory factory_;
  const CRuntimeClass* base_;
  // The process-wide list; mutable because records are const objects.
  mutable const CRuntimeClass* next_ = nullptr;
};

}  // namespace framework
