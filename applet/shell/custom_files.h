#pragma once
// Customisation files: whatever an operator or a support person drops into
// the folder "velmCustom" (at the root of the file system) replaces the
// same-named file of the applet's working folder when the library next
// loads. Each file that was copied is deleted from "velmCustom", and then
// the folder is removed; a file whose copy failed stays, and so does the
// folder with it. A missing folder is nothing to do.

#include "base/text.h"

namespace applet {

inline constexpr char16_t kCustomFolder[] = u"velmCustom";

// workingFolder ends with a separator.
void MoveCustomFiles(platform::WStringView workingFolder);

}  // namespace applet
