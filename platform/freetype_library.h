#pragma once
// The process's FreeType library, set up explicitly: the default modules and
// FreeType's built-in property values, never those of the environment
// (FREETYPE_PROPERTIES), so glyphs come out the same wherever the program
// runs. Faces are created and destroyed under FreeTypeMutex(), as FreeType
// requires of one library shared by threads.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

namespace platform {

// Null when FreeType cannot be started.
FT_Library FreeTypeLibrary();
std::mutex& FreeTypeMutex();

}  // namespace platform
