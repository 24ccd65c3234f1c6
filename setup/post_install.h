#pragma once
// What the setup extension does once the cabinet installer has put the
// bundle's files in place (Install_Exit), each step on its own and best
// effort: a step that finds nothing to do is skipped in silence.
//
//   1. tells every top-level window that settings changed
//      (WM_SETTINGCHANGE, 242, 0);
//   2. stops the SIM toolkit loader: its window (class "STK_LOADER", title
//      "STK_Loader") is looked for up to four times, 500 ms apart, and
//      posted WM_QUIT when found;
//   3. removes the toolkit's start menu shortcut named by the registry
//      value "shortcut" of HKEY_LOCAL_MACHINE "SOFTWARE\QZ\STK", first from
//      "Programs", and only when that worked from the start menu itself;
//   4. removes "\Windows\Help\QZ SIM Toolkit.lnk";
//   5. starts "\windows\VELM.exe";
//   6. on a handheld without a camera (the device utility library
//      "Yvrautil.dll" says so), starts the registry fix "\Yvra ROM\regfix.exe".

#include <cstdint>

namespace setup {

inline constexpr uint32_t kSettingChangeWParam = 242;
inline constexpr char16_t kLoaderClass[] = u"STK_LOADER";
inline constexpr char16_t kLoaderTitle[] = u"STK_Loader";
inline constexpr int kLoaderLooks = 4;
inline constexpr uint32_t kLoaderLookIntervalMs = 500;
inline constexpr char16_t kToolkitKey[] = u"SOFTWARE\\QZ\\STK";
inline constexpr char16_t kShortcutValue[] = u"shortcut";
// The value is read into a buffer of this many bytes.
inline constexpr uint32_t kShortcutBufferBytes = 260;
inline constexpr char16_t kProgramsFolder[] = u"\\Windows\\Start Menu\\Programs\\";
inline constexpr char16_t kStartMenuFolder[] = u"\\Windows\\Start Menu\\";
inline constexpr char16_t kShortcutExtension[] = u".lnk";
inline constexpr char16_t kHelpShortcut[] = u"\\Windows\\Help\\QZ SIM Toolkit.lnk";
inline constexpr char16_t kSettingsProgram[] = u"\\windows\\VELM.exe";
inline constexpr char16_t kDeviceLibrary[] = u"Yvrautil.dll";
inline constexpr char kCameraExport[] = "YvraGetCameraPresent";
inline constexpr char16_t kRegistryFix[] = u"\\Yvra ROM\\regfix.exe";

void RunPostInstall();

}  // namespace setup
