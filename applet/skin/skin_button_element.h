#pragma once
// "button" and "switch": push buttons with up, down and disabled pictures.
//
//   File                  the picture file holding the state pictures
//   Size                  width and height of the button
//   Pos                   its top-left corner in the window
//   Up, Down, Disabled    top-left corners of the state pictures in the file;
//                         a picture is taken only when it lies wholly in the
//                         file, and a missing one shows the up picture
//   ToolTip               the tooltip text
//   Action                one or more actions separated by ","
//
// A button's actions are classified by its own rule: "(x)" is the character
// x, text that is not all digits a text action, digits a command. While the
// pen holds a button that fires on press, its actions repeat, one every
// 500 ms, in order and round again, with command 2028 posted between two
// character actions. A switch always fires on release and toggles its state
// between 0 and 1 with each tap.

#include <vector>

#include "applet/skin/skin_element.h"

namespace applet {

class SkinButtonElement : public SkinElement {
 public:
  enum State { kUp = 0, kDown = 1, kDisabled = 2 };

  explicit SkinButtonElement(platform::WString name, SkinSectionType type = SkinSectionType::Button)
      : SkinElement(type, std::move(name)) {}

  const std::vector<platform::WString>& Actions() const { return actions_; }
  const platform::WString& ToolTip() const { return toolTip_; }
  // The picture shown in a state: its own, or the up picture.
  const SkinDib& PictureFor(int state) const;

  void Draw(SkinDib& window, const platform::Rect& clip) override;
  void PenDown(uint32_t flags, int x, int y) override;
  void PenUp(uint32_t flags, int x, int y) override;
  void PenMove(uint32_t flags, int x, int y) override;
  int GetState() const override { return state_; }
  void SetEnabled(bool enabled) override;
  void ShowTooltip() override;
  void FireAction() override;

 protected:
  void LoadKind(SkinLoadContext& context) override;
  void SetButtonState(int state);

 private:
  enum class Fired { None, Character, Text, Command };

  SkinDib pictures_[3];
  int state_ = kUp;
  std::vector<platform::WString> actions_;
  size_t nextAction_ = 0;
  Fired lastFired_ = Fired::None;
  platform::Point pressPoint_;
  platform::WString toolTip_;
};

class SkinSwitchElement final : public SkinButtonElement {
 public:
  explicit SkinSwitchElement(platform::WString name) : SkinButtonElement(std::move(name), SkinSectionType::Switch) {}

  void PenDown(uint32_t flags, int x, int y) override;
  void PenUp(uint32_t flags, int x, int y) override;
  void SetState(int state) override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  int stateAtPress_ = kUp;
};

// Cuts a state picture of size at offset from image when it lies wholly in
// it; notes a picture outside. Nothing is cut for a size with a 0 in it.
void CutStatePicture(SkinLoadContext& context, platform::WStringView section, platform::WStringView key,
                     const SkinImageFile* image, SkinPoint offset, SkinPoint size, SkinDib& out);

}  // namespace applet
