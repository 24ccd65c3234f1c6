#include "applet/shell/sim_identity.h"

#include <algorithm>
#include <array>

#include "platform/module.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

using GetSimStatusFunction = uint32_t (*)();
using GetImsiFunction = int (*)(char16_t* buffer, uint32_t* length);

// The failure statuses the library is known to give.
constexpr uint32_t kStatusFF000001 = 0xFF000001;
constexpr uint32_t kStatusFF000002 = 0xFF000002;
constexpr uint32_t kStatusFF000003 = 0xFF000003;

}  // namespace

SimReadResult ReadSimIdentity(WString& imsi) {
  platform::Module library;
  if (library.Load(kSimLibrary) != platform::kErrorSuccess) return SimReadResult::NoLibrary;
  auto getStatus = library.ExportAs<GetSimStatusFunction>(kSimStatusExport);
  if (getStatus == nullptr) return SimReadResult::NoFunction;

  const uint32_t status = getStatus();
  switch (status) {
    case kSimReady: {
      auto getImsi = library.ExportAs<GetImsiFunction>(kImsiExport);
      if (getImsi == nullptr) return SimReadResult::NoFunction;
      std::array<char16_t, kImsiCapacity> buffer{};
      uint32_t length = kImsiCapacity;
      if (getImsi(buffer.data(), &length) == 0) return SimReadResult::SimUnreadable;
      // A length beyond the buffer would be the library's fault; the text
      // cannot be longer than what the buffer holds.
      imsi.assign(buffer.data(), std::min<uint32_t>(length, kImsiCapacity - 1));
      return SimReadResult::Read;
    }
    case kStatusFF000001: return SimReadResult::StatusFF000001;
    case kStatusFF000002: return SimReadResult::StatusFF000002;
    case kStatusFF000003: return SimReadResult::SimUnreadable;
    default: return SimReadResult::OtherStatus;
  }
}

WString HomeNetworkCode(WStringView imsi) {
  WStringView code = imsi.substr(0, imsi.find(u','));
  return WString(code.substr(0, kHomeNetworkCodeLength));
}

}  // namespace applet
