#include "platform/code_page.h"

#include <unicode/ucnv.h>

#include <map>
#include <memory>
#include <string>

#include "platform/device.h"

namespace platform {

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(unsigned codePage) {
  const std::string number = std::to_string(codePage);
  const std::string candidates[] = {"windows-" + number, "cp" + number, "ibm-" + number};
  for (const auto& name : candidates) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open(name.c_str(), &status);
    if (U_SUCCESS(status) && c != nullptr) {
      status = U_ZERO_ERROR;
      ucnv_setSubstChars(c, "?", 1, &status);
      return ConverterPtr(c);
    }
  }
  return nullptr;
}

// ICU converters are not thread safe; each thread keeps its own.
UConverter* Converter(unsigned codePage) {
  thread_local std::map<unsigned, ConverterPtr> cache;
  auto it = cache.find(codePage);
  if (it == cache.end()) it = cache.emplace(codePage, OpenConverter(codePage)).first;
  if (it->second) ucnv_reset(it->second.get());
  return it->second.get();
}

}  // namespace

unsigned DeviceCodePage() { return CurrentDevice().Config().ansiCodePage; }

bool IsCodePageSupported(unsigned codePage) { return Converter(codePage) != nullptr; }

WString MultiByteToWide(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  UConverter* c = Converter(codePage);
  if (c == nullptr) c = Converter(1252);
  if (c == nullptr) {
    // No converter at all: keep the bytes as Latin-1 rather than lose them.
    return WString(bytes.begin(), bytes.end());
  }
  WString out(bytes.size() * 2 + 2, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t len = ucnv_toUChars(c, reinterpret_cast<UChar*>(out.data()),
                              static_cast<int32_t>(out.size()), bytes.data(),
                              static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) return WString(bytes.begin(), bytes.end());
  out.resize(static_cast<size_t>(len));
  return out;
}

std::string WideToMultiByte(unsigned codePage, WStringView text, bool* lossy) {
  if (lossy != nullptr) *lossy = false;
  if (text.empty()) return {};
  UConverter* c = Converter(codePage);
  if (c == nullptr) c = Converter(1252);
  std::string out;
  if (c == nullptr) {
    for (char16_t ch : text) out.push_back(ch < 0x100 ? static_cast<char>(ch) : '?');
    return out;
  }
  out.assign(text.size() * 4 + 4, '\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t len = ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()),
                                reinterpret_cast<const UChar*>(text.data()),
                                static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) len = 0;
  out.resize(static_cast<size_t>(len));
  if (lossy != nullptr) {
    // A round trip that does not give the text back lost something.
    *lossy = MultiByteToWide(codePage, out) != text;
  }
  return out;
}

WString AnsiToWide(std::string_view bytes) { return MultiByteToWide(DeviceCodePage(), bytes); }
std::string WideToAnsi(WStringView text, bool* lossy) {
  return WideToMultiByte(DeviceCodePage(), text, lossy);
}

}  // namespace platform
