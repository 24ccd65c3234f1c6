#pragma once
// Resource libraries of the handheld: a compiled resource file (see
// resource_file.h) loaded from a device path as a resource-only module. No
// code runs from it; it is read once, checked as a whole (records, string
// tables, icons) and kept in memory.
//
// As on the handheld, one resource library at a time is the process's
// current resource source: the place that texts, dialog templates and icons
// are taken from when a caller names no library. A caller makes its library
// current and restores the previous source when it is done
// (ScopedResourceSource does both).
//
// A ResourceHandle keeps the library's contents alive for whoever holds it,
// so a source that stays current after its ResourceLibrary is freed, or a
// template still in use, never points at released memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "base/errors.h"
#include "base/text.h"
#include "platform/resource_file.h"
#include "platform/resource_icon.h"

namespace platform {

using ResourceHandle = std::shared_ptr<const ResourceFile>;

class ResourceLibrary {
 public:
  ResourceLibrary() = default;

  // Reads and checks the file at a device path (the whole path; searching a
  // folder for "RondelRes.*" is FileFinder's work). Errors:
  // kErrorModNotFound when no file is there, the path errors of the file
  // calls (file.h), a read error, or kErrorBadExeFormat when the file is
  // not a well-formed compiled resource file (LoadError tells what and at
  // which byte). On failure nothing stays loaded.
  ErrorCode Load(WStringView path);
  void Free();
  bool IsLoaded() const { return handle_ != nullptr; }

  // The loaded contents, or null.
  const ResourceHandle& Handle() const { return handle_; }
  const ResourceFileError& LoadError() const { return loadError_; }

 private:
  ResourceHandle handle_;
  ResourceFileError loadError_;
};

// The current resource source of the process (null when none is set).
ResourceHandle CurrentResourceSource();
// Makes `source` current (null clears it) and returns the previous source.
ResourceHandle SetResourceSource(ResourceHandle source);

// Makes a source current for the object's lifetime and then restores the
// one that was current before.
class ScopedResourceSource {
 public:
  explicit ScopedResourceSource(ResourceHandle source)
      : previous_(SetResourceSource(std::move(source))) {}
  ~ScopedResourceSource() { SetResourceSource(std::move(previous_)); }
  ScopedResourceSource(const ScopedResourceSource&) = delete;
  ScopedResourceSource& operator=(const ScopedResourceSource&) = delete;

 private:
  ResourceHandle previous_;
};

// Every lookup below sets the last error: kErrorSuccess when found;
// kErrorInvalidHandle when the source is null (no library given, or no
// current source); kErrorResourceTypeNotFound when the library holds no
// resource of the kind asked for; kErrorResourceNameNotFound when it holds
// none of that number; kErrorResourceDataNotFound when the resource is
// malformed (only possible for a ResourceFile that did not come through
// ResourceLibrary::Load, which rejects such files).

// LoadString with the handheld's buffer semantics: copies at most
// capacity - 1 UTF-16 units of string `number` into buffer and a 0
// terminator after them, and returns the number of units copied (a
// surrogate pair is never cut in half). An absent string returns 0 and
// still writes the terminator, so the buffer never keeps stale text. A null
// buffer or a negative capacity fails with kErrorInvalidParameter and writes
// nothing; capacity 0, which on the handheld asks for a pointer into the
// library, fails with kErrorNotSupported (use the form returning the text).
int LoadString(const ResourceHandle& source, uint32_t number, char16_t* buffer, int capacity);
// The whole text of string `number`, or nullopt when it is absent (an absent
// string is never reported as an empty one).
std::optional<WString> LoadString(const ResourceHandle& source, uint32_t number);
// The same from the current resource source.
std::optional<WString> LoadString(uint32_t number);

// A resource's data, as FindResource/LoadResource/SizeofResource give it.
// The bytes stay valid as long as the block (its owner) lives.
struct ResourceBlock {
  ResourceHandle owner;
  std::span<const uint8_t> bytes;
  uint16_t language = 0;
};

std::optional<ResourceBlock> FindResource(const ResourceHandle& source, const ResourceId& type,
                                          const ResourceId& name);
// The dialog template `number` (a DLGTEMPLATE or DLGTEMPLATEEX, raw).
std::optional<ResourceBlock> FindDialogTemplate(const ResourceHandle& source, uint16_t number);
std::optional<ResourceBlock> FindDialogTemplate(uint16_t number);

// ExtractIcon: the index-th icon of the library (0 is the first, in the
// order the library enumerates its icons), as its best image for a square
// of `size` pixels on the handheld's display (ChooseIconImage).
std::optional<IconImage> ExtractIcon(const ResourceHandle& source, size_t index, int size);
// The number of icons, as ExtractIcon with the index -1 reports it.
size_t ExtractIconCount(const ResourceHandle& source);

// ExtractIconEx's pair: the large (kLargeIconSize) and small
// (kSmallIconSize) image of one icon.
struct IconPair {
  IconImage large;
  IconImage small;
};
std::optional<IconPair> ExtractIconPair(const ResourceHandle& source, size_t index);

}  // namespace platform
