#pragma once
// Fields that a record stores and loads with the same call.

#include <cstdint>

#include "base/text.h"
#include "platform/framework/archive.h"

namespace applet {

inline void SerializeText(framework::CArchive& ar, platform::WString& text) {
  if (ar.IsStoring())
    ar << text;
  else
    ar >> text;
}

inline void SerializeInt(framework::CArchive& ar, int32_t& value) {
  if (ar.IsStoring())
    ar << value;
  else
    ar >> value;
}

}  // namespace applet
