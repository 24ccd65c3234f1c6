#pragma once
// The text boxes: "text", "link" (changes colour while pressed), "chrono"
// (an elapsed time), "edit" (takes typed characters) and "MultiLine" (a
// text with a numeric style), and the tooltip the surface shows.
//
//   Window             the box in the window (no box, no picture)
//   Format             text format (MultiLine: "style", the flags as a number)
//   font               the font for normal text ("StandardFont")
//   BigFont            tried first, used when the text fits with it (font)
//   DisabledFont       for disabled text ("DisabledFont")
//   TextColor          sticky (see SkinDescription::StickyColour)
//   TextColorDisabled  (128, 128, 128)
//   TextColorDown      link only, sticky
//   ToolTip            the tooltip text
//   style              edit: a number kept for the owner
//
// Fonts are looked up by name among the font sections above this one; any
// other name gives the default font. Each box owns a 32-bit picture of its
// size: the text colour everywhere, the ink's coverage as alpha.

#include <cstdint>

#include "applet/skin/skin_element.h"
#include "applet/skin/skin_font.h"

namespace applet {

class SkinTextElement : public SkinElement {
 public:
  static constexpr SkinColour kDefaultDisabledColour = SkinRgb(128, 128, 128);
  static constexpr char16_t kDefaultFontName[] = u"StandardFont";
  static constexpr char16_t kDefaultDisabledFontName[] = u"DisabledFont";

  explicit SkinTextElement(platform::WString name, SkinSectionType type = SkinSectionType::Text)
      : SkinElement(type, std::move(name)) {}

  const SkinDib& Picture() const { return picture_; }
  uint32_t Format() const { return format_; }
  SkinTextExtent Extent() const { return extent_; }
  SkinColour CurrentColour() const { return currentColour_; }
  bool IsEnabled() const { return enabled_; }
  const SkinFont* StandardFont() const { return standardFont_; }
  const SkinFont* BigFont() const { return bigFont_; }
  const SkinFont* DisabledFont() const { return disabledFont_; }
  const platform::WString& ToolTip() const { return toolTip_; }

  void Draw(SkinDib& window, const platform::Rect& clip) override;
  // Inside the box and inside the drawn text's extent from its corner.
  bool HitTest(int x, int y) const override;
  void SetText(platform::WStringView text) override;
  int GetText(std::span<char16_t> buffer) const override;
  void SetEnabled(bool enabled) override;
  void ShowTooltip() override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

  // Draws the text into the picture: the disabled font when disabled, else
  // the big font when asked and the text fits the box with it, else the
  // standard font.
  void Render(bool autoFont);
  // Shows a text: replaces it, renders with the automatic font and redraws.
  void Show(platform::WStringView text);
  // Whether a text fits the box as typed (edit and MultiLine).
  bool FitsAsTyped(platform::WStringView text) const;

  // Sets up a box made by code rather than a section: one font for every
  // use, the colour, the format, and the text rendered.
  void MakeBox(const platform::Rect& box, const SkinFont& font, uint32_t format, SkinColour colour,
               platform::WStringView text);

  void SetCurrentColour(SkinColour colour) { currentColour_ = colour; }
  void SetFormat(uint32_t format) { format_ = format; }
  SkinColour NormalColour() const { return normalColour_; }

 private:
  const SkinFont* LookUpFont(SkinLoadContext& context, platform::WStringView key, platform::WStringView fallback);

  SkinDib picture_;
  const SkinFont* standardFont_ = nullptr;
  const SkinFont* bigFont_ = nullptr;
  const SkinFont* disabledFont_ = nullptr;
  SkinColour normalColour_ = 0;
  SkinColour currentColour_ = 0;
  SkinColour disabledColour_ = kDefaultDisabledColour;
  uint32_t format_ = 0;
  bool enabled_ = true;
  SkinTextExtent extent_;
  platform::WString toolTip_;
};

class SkinLinkElement final : public SkinTextElement {
 public:
  enum State { kNormal = 0, kPressed = 1, kDisabled = 2 };

  explicit SkinLinkElement(platform::WString name) : SkinTextElement(std::move(name), SkinSectionType::Link) {}

  int GetState() const override { return state_; }
  void PenDown(uint32_t flags, int x, int y) override;
  void PenMove(uint32_t flags, int x, int y) override;
  void PenUp(uint32_t flags, int x, int y) override;
  void SetEnabled(bool enabled) override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  void Press(bool pressed);

  SkinColour downColour_ = 0;
  int state_ = kNormal;
};

class SkinChronoElement final : public SkinTextElement {
 public:
  explicit SkinChronoElement(platform::WString name) : SkinTextElement(std::move(name), SkinSectionType::Chrono) {}

  bool IsRunning() const { return running_; }
  void Tick() override;
  void Start() override;
  void Stop() override;

 private:
  void Update();

  uint32_t startTick_ = 0;
  bool running_ = false;
};

class SkinEditElement final : public SkinTextElement {
 public:
  explicit SkinEditElement(platform::WString name) : SkinTextElement(std::move(name), SkinSectionType::Edit) {}

  int Style() const { return style_; }
  size_t Caret() const { return caret_; }
  void SetText(platform::WStringView text) override;
  int InsertCharacter(char16_t character) override;
  void Backspace() override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  int style_ = 0;
  size_t caret_ = 0;
};

class SkinMultiLineElement final : public SkinTextElement {
 public:
  explicit SkinMultiLineElement(platform::WString name)
      : SkinTextElement(std::move(name), SkinSectionType::MultiLine) {}

  // 0: the text alone; 1 and 2: the first and the second part, shown
  // as first part, line feed, second part.
  void SetTextPart(platform::WStringView text, int part);
  void SetText(platform::WStringView text) override { SetTextPart(text, 0); }
  int InsertCharacter(char16_t character) override;
  void Backspace() override;
  // The typed characters when there are any, else the text.
  int GetText(std::span<char16_t> buffer) const override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  platform::WString firstPart_;
  platform::WString secondPart_;
  platform::WString typed_;
  size_t typedCount_ = 0;
};

// The tooltip: a text box made by the surface, drawn as a white rectangle
// with a black one-pixel border under its text.
class SkinTooltipElement final : public SkinTextElement {
 public:
  explicit SkinTooltipElement(platform::WString name) : SkinTextElement(std::move(name), SkinSectionType::Text) {}

  // Lays the tooltip out: the box, the font, the text drawn centred with
  // word breaks in the colour.
  void Make(const platform::Rect& box, const SkinFont& font, platform::WStringView text, SkinColour colour);
  void Draw(SkinDib& window, const platform::Rect& clip) override;

 protected:
  void LoadKind(SkinLoadContext&) override {}
};

}  // namespace applet
