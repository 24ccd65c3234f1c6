#pragma once
// What the Linux side of the Wine tests (tests/flashclient/wine_test.cpp)
// hands the Windows test programs it runs under Wine: the environment
// variables naming their devices and files, and the layout of the images
// the DLL host flashes. Included by both sides.

namespace winetest {

// A COM port that echoes every byte written to it.
inline constexpr char kLoopbackPortEnv[] = "DRKTEST_LOOPBACK_PORT";
// A COM port with bootloader-sim behind it, ready for one session after
// another.
inline constexpr char kSimPortEnv[] = "DRKTEST_SIM_PORT";
// The two image files of the flash through the DLL's exports, as Windows
// paths; each starts with a header of the given length that is not sent.
inline constexpr char kOsImageEnv[] = "DRKTEST_OS_IMAGE";
inline constexpr char kRadioImageEnv[] = "DRKTEST_RADIO_IMAGE";
inline constexpr int kOsHeaderLength = 8;
inline constexpr int kRadioHeaderLength = 10;

}  // namespace winetest
