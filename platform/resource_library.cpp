#include "platform/resource_library.h"

#include <algorithm>
#include <mutex>

#include "platform/file.h"
#include "platform/resource_strings.h"

namespace platform {

namespace {

// The current source is shared by every thread of the process (the busy
// indicator's thread reads texts from the same library as the dialog's).
std::mutex g_sourceMutex;
ResourceHandle g_currentSource;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

ErrorCode ReadWholeFile(WStringView path, std::string& out, ResourceFileError& error) {
  File file;
  ErrorCode e = file.Open(path, kGenericRead, kShareRead, CreationDisposition::OpenExisting);
  if (e == kErrorFileNotFound) return kErrorModNotFound;
  if (e != kErrorSuccess) return e;
  uint64_t size = 0;
  if ((e = file.Size(&size)) != kErrorSuccess) return e;
  if (size > kMaxResourceFileSize) {
    error.status = ResourceFileStatus::TooLarge;
    error.offset = 0;
    error.message = "the file has " + std::to_string(size) + " bytes, more than a resource file may";
    return kErrorBadExeFormat;
  }
  out.assign(static_cast<size_t>(size), '\0');
  size_t got = 0;
  if ((e = file.Read(out.data(), out.size(), &got)) != kErrorSuccess) return e;
  out.resize(got);
  return kErrorSuccess;
}

template <typename T>
std::optional<T> Fail(ErrorCode code) {
  SetLastError(code);
  return std::nullopt;
}

}  // namespace

ErrorCode ResourceLibrary::Load(WStringView path) {
  Free();
  loadError_ = {};
  if (IsDirectory(path)) {
    SetLastError(kErrorModNotFound);
    return kErrorModNotFound;
  }
  std::string bytes;
  if (ErrorCode e = ReadWholeFile(path, bytes, loadError_); e != kErrorSuccess) {
    SetLastError(e);
    return e;
  }
  auto file = std::make_shared<ResourceFile>();
  if (!file->Parse(std::move(bytes), &loadError_) || !CheckStringTables(*file, &loadError_) ||
      !CheckIcons(*file, &loadError_)) {
    SetLastError(kErrorBadExeFormat);
    return kErrorBadExeFormat;
  }
  handle_ = std::move(file);
  SetLastError(kErrorSuccess);
  return kErrorSuccess;
}

void ResourceLibrary::Free() { handle_.reset(); }

ResourceHandle CurrentResourceSource() {
  std::lock_guard lock(g_sourceMutex);
  return g_currentSource;
}

ResourceHandle SetResourceSource(ResourceHandle source) {
  std::lock_guard lock(g_sourceMutex);
  std::swap(g_currentSource, source);
  return source;
}

std::optional<WString> LoadString(const ResourceHandle& source, uint32_t number) {
  if (source == nullptr) return Fail<WString>(kErrorInvalidHandle);
  WString text;
  switch (FindString(*source, number, text)) {
    case StringLookup::Found: SetLastError(kErrorSuccess); return text;
    case StringLookup::NoStringTables: return Fail<WString>(kErrorResourceTypeNotFound);
    case StringLookup::NotDefined: return Fail<WString>(kErrorResourceNameNotFound);
    case StringLookup::Malformed: return Fail<WString>(kErrorResourceDataNotFound);
  }
  return Fail<WString>(kErrorResourceDataNotFound);
}

std::optional<WString> LoadString(uint32_t number) {
  return LoadString(CurrentResourceSource(), number);
}

int LoadString(const ResourceHandle& source, uint32_t number, char16_t* buffer, int capacity) {
  if (buffer == nullptr || capacity < 0) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  if (capacity == 0) {
    SetLastError(kErrorNotSupported);
    return 0;
  }
  std::optional<WString> text = LoadString(source, number);
  const ErrorCode result = LastError();
  size_t count = 0;
  if (text) {
    count = std::min(text->size(), static_cast<size_t>(capacity) - 1);
    if (count > 0 && count < text->size() && IsHighSurrogate((*text)[count - 1])) --count;
    std::copy_n(text->data(), count, buffer);
  }
  buffer[count] = u'\0';
  SetLastError(result);
  return static_cast<int>(count);
}

std::optional<ResourceBlock> FindResource(const ResourceHandle& source, const ResourceId& type,
                                          const ResourceId& name) {
  if (source == nullptr) return Fail<ResourceBlock>(kErrorInvalidHandle);
  if (const ResourceRecord* r = source->Find(type, name)) {
    SetLastError(kErrorSuccess);
    return ResourceBlock{source, source->Data(*r), r->language};
  }
  const bool anyOfType = std::any_of(source->Records().begin(), source->Records().end(),
                                     [&](const ResourceRecord& r) { return r.type == type; });
  return Fail<ResourceBlock>(anyOfType ? kErrorResourceNameNotFound : kErrorResourceTypeNotFound);
}

std::optional<ResourceBlock> FindDialogTemplate(const ResourceHandle& source, uint16_t number) {
  return FindResource(source, ResourceId(kResourceTypeDialog), ResourceId(number));
}

std::optional<ResourceBlock> FindDialogTemplate(uint16_t number) {
  return FindDialogTemplate(CurrentResourceSource(), number);
}

std::optional<IconImage> ExtractIcon(const ResourceHandle& source, size_t index, int size) {
  if (source == nullptr) return Fail<IconImage>(kErrorInvalidHandle);
  IconImage image;
  switch (platform::ExtractIcon(*source, index, size, kDisplayBitCount, image)) {
    case IconLookup::Found: SetLastError(kErrorSuccess); return image;
    case IconLookup::NoIcons: return Fail<IconImage>(kErrorResourceTypeNotFound);
    case IconLookup::IndexOutOfRange: return Fail<IconImage>(kErrorResourceNameNotFound);
    case IconLookup::Malformed: return Fail<IconImage>(kErrorResourceDataNotFound);
  }
  return Fail<IconImage>(kErrorResourceDataNotFound);
}

size_t ExtractIconCount(const ResourceHandle& source) {
  if (source == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return 0;
  }
  SetLastError(kErrorSuccess);
  return IconCount(*source);
}

std::optional<IconPair> ExtractIconPair(const ResourceHandle& source, size_t index) {
  IconPair pair;
  auto large = ExtractIcon(source, index, kLargeIconSize);
  if (!large) return std::nullopt;
  auto small = ExtractIcon(source, index, kSmallIconSize);
  if (!small) return std::nullopt;
  pair.large = std::move(*large);
  pair.small = std::move(*small);
  return pair;
}

}  // namespace platform
