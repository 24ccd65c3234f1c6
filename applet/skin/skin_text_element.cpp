#include "applet/skin/skin_text_element.h"

#include <algorithm>

#include "applet/skin/skin_shapes.h"
#include "base/clock.h"

namespace applet {

using platform::WString;
using platform::WStringView;

const SkinFont* SkinTextElement::LookUpFont(SkinLoadContext& context, WStringView key, WStringView fallback) {
  SkinDescription& d = context.Description();
  const bool named = d.Has(Name(), key);
  const WString name = d.Text(Name(), key, fallback);
  if (const SkinFont* font = context.FindFont(name)) return font;
  if (named) d.Note(Name(), key, u"no font " + name + u" is declared above this section; the default font is used");
  return &context.DefaultFont();
}

void SkinTextElement::LoadKind(SkinLoadContext& context) {
  SkinDescription& d = context.Description();
  const platform::Rect box = d.Rect(Name(), u"Window");
  SetRect(box);
  format_ = Type() == SkinSectionType::MultiLine ? static_cast<uint32_t>(d.Int(Name(), u"style", 0))
                                                 : d.TextFormat(Name(), u"Format");
  standardFont_ = LookUpFont(context, u"font", kDefaultFontName);
  const WString standardName = d.Text(Name(), u"font", kDefaultFontName);
  bigFont_ = LookUpFont(context, u"BigFont", standardName);
  disabledFont_ = LookUpFont(context, u"DisabledFont", kDefaultDisabledFontName);
  normalColour_ = currentColour_ = d.StickyColour(Name(), u"TextColor");
  disabledColour_ = d.Colour(Name(), u"TextColorDisabled", kDefaultDisabledColour);
  toolTip_ = d.Text(Name(), u"ToolTip", u"");
  if (!box.IsEmpty() && picture_.Create(box.Width(), box.Height(), 32) == SkinDib::kOk) Render(true);
}

void SkinTextElement::MakeBox(const platform::Rect& box, const SkinFont& font, uint32_t format, SkinColour colour,
                              WStringView text) {
  SetRect(box);
  standardFont_ = bigFont_ = disabledFont_ = &font;
  format_ = format;
  normalColour_ = currentColour_ = colour;
  ReplaceText(WString(text));
  if (!box.IsEmpty() && picture_.Create(box.Width(), box.Height(), 32) == SkinDib::kOk) Render(false);
}

void SkinTextElement::Render(bool autoFont) {
  if (picture_.IsEmpty()) return;
  picture_.FillWhite();
  picture_.SetAlpha(0);
  const platform::Rect box{0, 0, picture_.Width(), picture_.Height()};
  const SkinFont* font = standardFont_;
  if (!enabled_) {
    font = disabledFont_;
  } else if (autoFont && bigFont_ != nullptr &&
             bigFont_->DrawText(Text(), -1, box, format_ | text_format::kCalcRect, 0, nullptr).height < box.bottom) {
    font = bigFont_;
  }
  extent_ = font != nullptr ? font->DrawText(Text(), -1, box, format_, currentColour_, &picture_) : SkinTextExtent{};
}

void SkinTextElement::Show(WStringView text) {
  ReplaceText(WString(text));
  Render(true);
  RedrawSelf();
}

bool SkinTextElement::FitsAsTyped(WStringView text) const {
  const platform::Rect& box = Rect();
  if (bigFont_ != nullptr && bigFont_->Measure(text).width < box.Width()) return true;
  return standardFont_ != nullptr && standardFont_->Fits(text, {0, 0, box.Width(), box.Height()}, format_);
}

void SkinTextElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (IsVisible()) ComposeAt(window, clip, picture_);
}

bool SkinTextElement::HitTest(int x, int y) const {
  const platform::Rect& box = Rect();
  return box.Contains({x, y}) && x < box.left + extent_.width && y < box.top + extent_.height;
}

void SkinTextElement::SetText(WStringView text) {
  if (text != Text()) Show(text);
}

int SkinTextElement::GetText(std::span<char16_t> buffer) const {
  const WString& text = Text();
  if (text.size() >= buffer.size()) return 0;
  std::copy(text.begin(), text.end(), buffer.begin());
  buffer[text.size()] = u'\0';
  return 1;
}

void SkinTextElement::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  currentColour_ = enabled ? normalColour_ : disabledColour_;
  Render(false);
  RedrawSelf();
}

void SkinTextElement::ShowTooltip() {
  StopTooltipDelay();
  if (Owner() != nullptr) Owner()->ShowTooltip(toolTip_, Rect().left, Rect().top);
}

void SkinLinkElement::LoadKind(SkinLoadContext& context) {
  SkinTextElement::LoadKind(context);
  downColour_ = context.Description().StickyColour(Name(), u"TextColorDown");
}

void SkinLinkElement::Press(bool pressed) {
  const int state = pressed ? kPressed : kNormal;
  if (state == state_) return;
  state_ = state;
  SetCurrentColour(pressed ? downColour_ : NormalColour());
  Render(false);
  RedrawSelf();
}

void SkinLinkElement::PenDown(uint32_t, int, int) {
  if (state_ == kDisabled) return;
  Capture();
  state_ = kNormal;
  Press(true);
}

void SkinLinkElement::PenMove(uint32_t, int x, int y) {
  if (HoldsCapture() && state_ != kDisabled) Press(HitTest(x, y));
}

void SkinLinkElement::PenUp(uint32_t, int, int) {
  if (!HoldsCapture()) return;
  ReleaseCapture();
  if (state_ != kPressed) return;
  Press(false);
  FireAction();
}

void SkinLinkElement::SetEnabled(bool enabled) {
  state_ = enabled ? kNormal : kDisabled;
  if (enabled) SetCurrentColour(NormalColour());
  SkinTextElement::SetEnabled(enabled);
}

void SkinChronoElement::Start() {
  startTick_ = platform::CurrentClock().TickCount();
  running_ = true;
  Update();
}

void SkinChronoElement::Stop() {
  Update();
  running_ = false;
}

void SkinChronoElement::Tick() {
  if (running_) Update();
}

void SkinChronoElement::Update() {
  const uint32_t seconds = (platform::CurrentClock().TickCount() - startTick_) / 1000;
  // "%H:%M:%S" of the elapsed time: hours of the day, minutes, seconds.
  const WString text = platform::Format(u"%02d:%02d:%02d", {static_cast<long long>(seconds / 3600 % 24),
                                                            static_cast<long long>(seconds / 60 % 60),
                                                            static_cast<long long>(seconds % 60)});
  SetText(text);
}

void SkinEditElement::LoadKind(SkinLoadContext& context) {
  SkinTextElement::LoadKind(context);
  style_ = context.Description().Int(Name(), u"style", 0);
}

void SkinEditElement::SetText(WStringView text) {
  SkinTextElement::SetText(text);
  caret_ = Text().size();
}

int SkinEditElement::InsertCharacter(char16_t character) {
  const WString candidate = Text() + character;
  if (FitsAsTyped(candidate)) {
    ReplaceText(candidate);
    ++caret_;
  }
  Render(true);
  RedrawSelf();
  return 1;
}

void SkinEditElement::Backspace() {
  if (caret_ > 0 && caret_ <= Text().size()) {
    WString text = Text();
    text.erase(caret_ - 1, 1);
    ReplaceText(std::move(text));
    --caret_;
  }
  Render(true);
  RedrawSelf();
}

void SkinMultiLineElement::LoadKind(SkinLoadContext& context) { SkinTextElement::LoadKind(context); }

void SkinMultiLineElement::SetTextPart(WStringView text, int part) {
  typed_.clear();
  typedCount_ = 0;
  WString shown;
  if (part == 1 || part == 2) {
    (part == 1 ? firstPart_ : secondPart_) = WString(text);
    shown = firstPart_ + u"\n" + secondPart_;
  } else {
    firstPart_.clear();
    secondPart_.clear();
    shown = WString(text);
  }
  SetFormat(Format() | text_format::kWordBreak);
  Show(shown);
}

int SkinMultiLineElement::InsertCharacter(char16_t character) {
  SetFormat(Format() & ~text_format::kWordBreak);
  const WString candidate = typed_ + character;
  if (FitsAsTyped(candidate)) {
    typed_ = candidate;
    ++typedCount_;
  }
  Show(typed_);
  return 1;
}

void SkinMultiLineElement::Backspace() {
  if (typedCount_ > 0 && !typed_.empty()) {
    typed_.pop_back();
    --typedCount_;
  }
  Show(typed_);
}

int SkinMultiLineElement::GetText(std::span<char16_t> buffer) const {
  if (typed_.empty()) return SkinTextElement::GetText(buffer);
  if (typed_.size() >= buffer.size()) return 0;
  std::copy(typed_.begin(), typed_.end(), buffer.begin());
  buffer[typed_.size()] = u'\0';
  return 1;
}

void SkinTooltipElement::Make(const platform::Rect& box, const SkinFont& font, WStringView text, SkinColour colour) {
  MakeBox(box, font, text_format::kCenter | text_format::kWordBreak, colour, text);
}

void SkinTooltipElement::Draw(SkinDib& window, const platform::Rect& clip) {
  if (!IsVisible()) return;
  const platform::Rect& box = Rect();
  // A black frame one pixel wide around a white inside, the text over it.
  FillSolidRect(window, box, clip, SkinRgb(0, 0, 0));
  FillSolidRect(window, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, clip, SkinRgb(255, 255, 255));
  SkinTextElement::Draw(window, clip);
}

}  // namespace applet
