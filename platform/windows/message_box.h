#pragma once
// Message boxes: a caption, an icon, a text and a row of buttons in a small
// window centred on the working area, run modally over its owner until a
// button is pressed. The answer is the button's command (IDOK, IDYES, ...).
// Escape and closing the box answer Cancel when the box offers it, OK when
// OK is its only button, and do nothing otherwise.
//
// Every box is journalled when it is answered:
//   message box "Caption": "Text" (question; yes/no) answered yes
//
// Who answers is the person in front of the device (person.h): a test, a
// script, or nobody, in which case the device's answer queue decides
// (platform/automation/answer_queue.h).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/windows/window_types.h"

namespace platform {

inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_RETRYCANCEL = 0x5;
inline constexpr uint32_t MB_TYPEMASK = 0xF;
inline constexpr uint32_t MB_ICONHAND = 0x10;  // MB_ICONSTOP, MB_ICONERROR
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;  // MB_ICONWARNING
inline constexpr uint32_t MB_ICONASTERISK = 0x40;     // MB_ICONINFORMATION
inline constexpr uint32_t MB_ICONMASK = 0xF0;
inline constexpr uint32_t MB_DEFBUTTON1 = 0x000;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t MB_DEFBUTTON3 = 0x200;
inline constexpr uint32_t MB_DEFMASK = 0xF00;
inline constexpr uint32_t MB_APPLMODAL = 0x0000;
inline constexpr uint32_t MB_SETFOREGROUND = 0x10000;
inline constexpr uint32_t MB_TOPMOST = 0x40000;

// Shows the box and waits for the answer; 0 when the box could not be made.
int MessageBox(Hwnd owner, WStringView text, WStringView caption, uint32_t type);

// The buttons of a box type, in their order on the screen.
std::vector<int> MessageBoxButtons(uint32_t type);
// The answer of a box nobody answers: Cancel or No when offered, else the
// first button.
int MessageBoxDismissAnswer(uint32_t type);
// "ok", "cancel", "abort", "retry", "ignore", "yes", "no"; nullopt for
// anything else.
std::optional<std::string> AnswerName(int id);
std::optional<int> AnswerFromName(std::string_view name);

struct MessageBoxContent {
  WString text;
  WString caption;
  uint32_t type = 0;
  std::vector<int> buttons;
};
// What a shown box says; nullopt when the window is not a message box.
std::optional<MessageBoxContent> GetMessageBoxContent(Hwnd hwnd);

}  // namespace platform
