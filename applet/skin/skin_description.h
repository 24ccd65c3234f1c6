#pragma once
// A skin description opened for loading: the sectioned text reader over the
// file, the folder its pictures are named from, and typed reads of its keys
// with the defaults of the format (see skin_values.h for the value forms).
//
// A value that is present but unusable (an integer with a non-digit, a pair
// that is empty or too long, an empty colour, an unknown text-format name)
// reads as its default, silently; when a diagnostics sink is attached it is
// told, so that authoring tools can list what the engine ignored.

#include <cstdint>
#include <vector>

#include "applet/device/sectioned_text_reader.h"
#include "applet/skin/skin_values.h"
#include "base/text.h"

namespace applet {

// Told about everything a load ignores. Keys are as the engine asked for
// them; an empty key is about the section as a whole.
class SkinDiagnostics {
 public:
  virtual ~SkinDiagnostics() = default;
  virtual void Note(platform::WStringView section, platform::WStringView key,
                    platform::WStringView message) = 0;
  // Every key the engine looks up, whether the file has it or not: what a
  // section holds beyond these, the engine never reads.
  virtual void Asked(platform::WStringView /*section*/, platform::WStringView /*key*/) {}
};

// Splits a description's full path at its last backslash into the folder
// (keeping the backslash) and the file name. False for a path without a
// backslash or one that ends with it.
bool SplitSkinPath(platform::WStringView path, platform::WString& folder, platform::WString& fileName);

class SkinDescription {
 public:
  static constexpr char16_t kGeneralSection[] = u"General";
  static constexpr SkinPoint kDefaultSize{240, 268};

  SkinDescription() = default;
  SkinDescription(const SkinDescription&) = delete;
  SkinDescription& operator=(const SkinDescription&) = delete;

  // Remembers the folder (ending with a backslash) and opens folder +
  // fileName. A file that does not open reads as a file without sections.
  bool Open(platform::WStringView folder, platform::WStringView fileName);
  void Close() { reader_.Close(); }
  bool IsOpen() const { return reader_.IsOpen(); }

  const platform::WString& Folder() const { return folder_; }
  const platform::WString& Path() const { return reader_.Path(); }
  SectionedTextReader& Reader() { return reader_; }

  void SetDiagnostics(SkinDiagnostics* sink) { diagnostics_ = sink; }
  // Passes a remark on to the attached sink, if any.
  void Note(platform::WStringView section, platform::WStringView key, platform::WStringView message);

  // Section names in file order.
  std::vector<platform::WString> Sections();

  // The window picture's size: "size" of "General" when both numbers are
  // non-zero, else kDefaultSize.
  SkinPoint WindowSize();

  // Typed reads; see the header comment for unusable values.
  platform::WString Text(platform::WStringView section, platform::WStringView key,
                         platform::WStringView defaultValue);
  bool Has(platform::WStringView section, platform::WStringView key);
  int32_t Int(platform::WStringView section, platform::WStringView key, int32_t defaultValue);
  // The point, or (0, 0) with *present false when absent or unusable.
  SkinPoint Pair(platform::WStringView section, platform::WStringView key, bool* present = nullptr);
  // The rectangle, or the empty one with *present false when absent or
  // unusable.
  SkinRect Rect(platform::WStringView section, platform::WStringView key, bool* present = nullptr);
  SkinColour Colour(platform::WStringView section, platform::WStringView key, SkinColour defaultValue);
  uint32_t TextFormat(platform::WStringView section, platform::WStringView key);

  // "TextColor" and "TextColorDown" are sticky: a value given by one section
  // becomes the default of every later section, also in descriptions loaded
  // later by the same process. Black before any section gives one.
  SkinColour StickyColour(platform::WStringView section, platform::WStringView key);
  // Forgets the sticky colours (a fresh process, for tests and tools).
  static void ResetStickyColours();

  // Where a "File" value is read from: a value with a backslash is a full
  // path, any other a name in the description's folder.
  platform::WString PicturePath(platform::WStringView fileValue) const;

 private:
  SectionedTextReader reader_;
  platform::WString folder_;
  // Every typed read looks its value up here.
  bool Lookup(platform::WStringView section, platform::WStringView key, platform::WString& value,
              platform::WStringView defaultValue);

  SkinDiagnostics* diagnostics_ = nullptr;
};

}  // namespace applet
