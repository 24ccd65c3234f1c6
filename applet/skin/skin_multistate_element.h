#pragma once
// "multistate": a picture with numbered states, and "slider": a cursor
// dragged along a background.
//
// multistate  File, Size, Pos, ToolTip as for a button; state1, state2, ...
//             the top-left corners of the states' pictures, read until the
//             first missing number (a state whose picture lies outside the
//             file is left out); Action the command number posted when the
//             pen is lifted (0).
// slider      File; background, the slider's picture as a rectangle of the
//             file (also its size); pos, its top-left corner in the window;
//             Size, the cursor's size; Cursor and CursorDisabled, the
//             cursor pictures' corners in the file; start and End, the
//             cursor's position (relative to the slider) at the lowest and
//             highest value; ToolTip; Action, the command number posted
//             when a drag ends or the value changed since.
//
// The slider's file is meant to have 32 bits (a PNG with alpha, or a GIF
// with a transparent colour); from a file of fewer bits the pictures are
// made 32 bits and opaque, so that the cursor is drawn over the background
// as it is. A slider whose start and End have the same height cannot be
// dragged (its value changes only through SetValue and SetPercent), and a
// range whose minimum equals its maximum is refused.

#include <vector>

#include "applet/skin/skin_element.h"

namespace applet {

class SkinMultistateElement final : public SkinElement {
 public:
  explicit SkinMultistateElement(platform::WString name)
      : SkinElement(SkinSectionType::Multistate, std::move(name)) {}

  size_t StateCount() const { return states_.size(); }
  uint32_t Command() const { return command_; }
  // The picture shown: the current state's, else the first; null without
  // states.
  const SkinDib* ShownPicture() const;

  void Draw(SkinDib& window, const platform::Rect& clip) override;
  void PenDown(uint32_t flags, int x, int y) override;
  void PenUp(uint32_t flags, int x, int y) override;
  void SetPercent(int percent) override;
  void SetState(int state) override;
  int GetState() const override { return state_; }
  int GetPercent() const override { return percent_; }
  void SetEnabled(bool enabled) override;
  void ShowTooltip() override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  std::vector<SkinDib> states_;
  int state_ = 0;
  int percent_ = 0;
  bool enabled_ = true;
  uint32_t command_ = 0;
  platform::WString toolTip_;
};

class SkinSliderElement final : public SkinElement {
 public:
  explicit SkinSliderElement(platform::WString name) : SkinElement(SkinSectionType::Slider, std::move(name)) {}

  uint32_t Command() const { return command_; }
  // The cursor's top-left corner relative to the slider.
  platform::Point CursorPosition() const;
  const SkinDib& Composition() const { return composition_; }

  void Draw(SkinDib& window, const platform::Rect& clip) override;
  void PenDown(uint32_t flags, int x, int y) override;
  void PenUp(uint32_t flags, int x, int y) override;
  void PenMove(uint32_t flags, int x, int y) override;
  void Tick() override;
  void SetPercent(int percent) override;
  int SetRange(int minimum, int maximum) override;
  void SetValue(int value) override;
  int GetPercent() const override;
  int GetValue() const override { return value_; }
  void SetEnabled(bool enabled) override;
  void ShowTooltip() override;

 protected:
  void LoadKind(SkinLoadContext& context) override;

 private:
  // Background, then the cursor at its place.
  void Recompose();
  void ValueFromPen(int y);

  SkinDib background_;
  SkinDib cursor_;
  SkinDib disabledCursor_;
  SkinDib composition_;
  platform::Point start_;
  platform::Point end_;
  int minimum_ = 0;
  int maximum_ = 100;
  int value_ = 0;
  int committed_ = 0;
  int grabOffset_ = -1;
  bool enabled_ = true;
  uint32_t command_ = 0;
  platform::WString toolTip_;
};

}  // namespace applet
