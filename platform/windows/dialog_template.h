#pragma once
// Dialog templates (DLGTEMPLATE and DLGTEMPLATEEX) as the resource compiler
// writes them into a compiled resource file. All numbers little-endian; a
// "text or number" field is 0x0000 (nothing), 0xFFFF and a 16-bit number,
// or UTF-16 characters ended by a 0 character.
//
//   DLGTEMPLATE                        DLGTEMPLATEEX
//   4  style                           2  version (1)     2  signature (0xFFFF)
//   4  extended style                  4  help id         4  extended style
//   2  number of controls              4  style           2  number of controls
//   2  x  2 y  2 cx  2 cy              2  x  2 y  2 cx  2 cy
//   menu, class, title (text or number)    menu, class, title
//   with DS_SETFONT: 2 point size,         with DS_SETFONT: 2 point size, 2 weight,
//     face name                              1 italic, 1 character set, face name
//
//   each control, on a 4-byte boundary from the template's start:
//   DLGITEMTEMPLATE                    DLGITEMTEMPLATEEX
//   4  style                           4  help id
//   4  extended style                  4  extended style
//   2  x  2 y  2 cx  2 cy              4  style
//   2  id                              2  x  2 y  2 cx  2 cy
//                                      4  id
//   class (text or number: 0x80 button, 0x81 edit, 0x82 static,
//     0x83 list box, 0x84 scroll bar, 0x85 combo box), title (text or number)
//   2  size of the creation data, then that many bytes
//
// Positions and sizes are in dialog units (see dialog_units.h). Parsing
// checks every field against the bytes left and fails with the offset of
// the field that does not fit.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"

namespace platform {

// More controls than a handheld dialog holds; bounds the control count.
inline constexpr size_t kMaxDialogControls = 512;

struct DialogItemTemplate {
  uint32_t helpId = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  uint32_t id = 0;
  WString className;                   // the atoms as their names: "Button", "Edit", ...
  WString text;
  std::optional<uint16_t> textNumber;  // a title given as a number (an icon)
  std::vector<uint8_t> creationData;
};

struct DialogTemplate {
  bool extended = false;
  uint32_t helpId = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  WString menu;
  WString className;  // empty: the dialog class
  WString title;
  bool hasFont = false;
  int pointSize = 0;
  int weight = 0;
  bool italic = false;
  uint8_t charSet = 0;
  WString faceName;
  std::vector<DialogItemTemplate> items;
};

enum class DialogTemplateStatus {
  Ok,
  Truncated,       // a field runs past the end of the data
  BadVersion,      // an extended template of another version than 1
  TooManyControls  // above kMaxDialogControls
};

struct DialogTemplateError {
  DialogTemplateStatus status = DialogTemplateStatus::Ok;
  size_t offset = 0;
  std::string message;
};

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const uint8_t> data,
                                                  DialogTemplateError* error = nullptr);

// The class names of the control atoms.
WString ControlClassName(uint16_t atom);

}  // namespace platform
