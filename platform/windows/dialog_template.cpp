#include "platform/windows/dialog_template.h"

#include <utility>

#include "base/byte_reader.h"

namespace platform {

namespace {

constexpr uint16_t kNumberMarker = 0xFFFF;
constexpr uint16_t kExtendedSignature = 0xFFFF;
constexpr uint32_t kSetFont = 0x0040;  // DS_SETFONT
// The smallest control: fixed fields, an empty class and title, no data.
constexpr size_t kMinPlainItem = 18 + 6;
constexpr size_t kMinExtendedItem = 24 + 6;

// The template's fields on top of the bounded reader; a short read leaves
// zeros and the reader failed, so a run of fields is checked once.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const uint8_t> data) : in_(data) {}

  size_t Position() const { return in_.Position(); }
  size_t Left() const { return in_.Left(); }
  bool Failed() const { return in_.Failed(); }
  size_t FailedAt() const { return in_.FailedAt(); }

  uint16_t U16() {
    uint16_t v = 0;
    in_.U16(v);
    return v;
  }
  uint32_t U32() {
    uint32_t v = 0;
    in_.U32(v);
    return v;
  }
  int S16() { return static_cast<int16_t>(U16()); }
  uint8_t U8() {
    uint8_t v = 0;
    in_.U8(v);
    return v;
  }
  // Characters up to a 0 character.
  WString Text() {
    WString out;
    if (!in_.Failed()) in_.Utf16UntilZero(out);
    return out;
  }
  // A text or a number.
  WString TextOrNumber(std::optional<uint16_t>* number) {
    const size_t start = in_.Position();
    const uint16_t first = U16();
    if (in_.Failed() || first == 0) return {};
    if (first == kNumberMarker) {
      const uint16_t n = U16();
      if (number != nullptr) *number = n;
      return {};
    }
    in_.SeekTo(start);
    return Text();
  }
  void AlignTo4() {
    if (!in_.Failed()) in_.SeekTo((in_.Position() + 3) & ~size_t{3});
  }
  std::vector<uint8_t> Bytes(size_t n) {
    std::span<const uint8_t> view;
    if (in_.Failed() || !in_.Bytes(n, view)) return {};
    return {view.begin(), view.end()};
  }

 private:
  ByteReader in_;
};

std::optional<DialogTemplate> Fail(DialogTemplateError* error, DialogTemplateStatus status, size_t offset,
                                   std::string what) {
  if (error != nullptr) {
    error->status = status;
    error->offset = offset;
    error->message = "byte " + std::to_string(offset) + ": " + std::move(what);
  }
  return std::nullopt;
}

std::optional<DialogTemplate> Truncated(DialogTemplateError* error, const TemplateReader& in, const char* where) {
  return Fail(error, DialogTemplateStatus::Truncated, in.FailedAt(),
              std::string("the template ends inside ") + where);
}

}  // namespace

WString ControlClassName(uint16_t atom) {
  switch (atom) {
    case 0x80: return u"Button";
    case 0x81: return u"Edit";
    case 0x82: return u"Static";
    case 0x83: return u"ListBox";
    case 0x84: return u"ScrollBar";
    case 0x85: return u"ComboBox";
    default: return u"#" + FormatInt(atom);
  }
}

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const uint8_t> data, DialogTemplateError* error) {
  if (error != nullptr) *error = {};
  TemplateReader in(data);
  DialogTemplate t;
  const uint16_t first = in.U16();
  const uint16_t second = in.U16();
  if (in.Failed()) return Truncated(error, in, "the header");
  t.extended = second == kExtendedSignature;
  size_t count = 0;
  if (t.extended) {
    if (first != 1)
      return Fail(error, DialogTemplateStatus::BadVersion, 0,
                  "extended template version " + std::to_string(first) + ", not 1");
    t.helpId = in.U32();
    t.exStyle = in.U32();
    t.style = in.U32();
  } else {
    t.style = first | static_cast<uint32_t>(second) << 16;
    t.exStyle = in.U32();
  }
  const size_t countAt = in.Position();
  count = in.U16();
  t.x = in.S16();
  t.y = in.S16();
  t.cx = in.S16();
  t.cy = in.S16();
  if (in.Failed()) return Truncated(error, in, "the header");
  if (count > kMaxDialogControls)
    return Fail(error, DialogTemplateStatus::TooManyControls, countAt,
                std::to_string(count) + " controls, more than a dialog may have");
  std::optional<uint16_t> number;
  t.menu = in.TextOrNumber(&number);
  number.reset();
  t.className = in.TextOrNumber(&number);
  if (number) t.className = ControlClassName(*number);
  t.title = in.TextOrNumber(nullptr);
  if ((t.style & kSetFont) != 0) {
    t.hasFont = true;
    t.pointSize = in.U16();
    if (t.extended) {
      t.weight = in.U16();
      t.italic = in.U8() != 0;
      t.charSet = in.U8();
    }
    t.faceName = in.Text();
  }
  if (in.Failed()) return Truncated(error, in, "the header");
  // Each control needs at least its fixed fields; a count the data cannot
  // hold fails before anything is made for it.
  const size_t minItem = t.extended ? kMinExtendedItem : kMinPlainItem;
  if (count * minItem > in.Left() + 3)
    return Fail(error, DialogTemplateStatus::Truncated, countAt,
                std::to_string(count) + " controls do not fit in the " + std::to_string(in.Left()) +
                    " bytes left");
  t.items.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    in.AlignTo4();
    DialogItemTemplate item;
    if (t.extended) {
      item.helpId = in.U32();
      item.exStyle = in.U32();
      item.style = in.U32();
    } else {
      item.style = in.U32();
      item.exStyle = in.U32();
    }
    item.x = in.S16();
    item.y = in.S16();
    item.cx = in.S16();
    item.cy = in.S16();
    item.id = t.extended ? in.U32() : in.U16();
    std::optional<uint16_t> atom;
    item.className = in.TextOrNumber(&atom);
    if (atom) item.className = ControlClassName(*atom);
    item.text = in.TextOrNumber(&item.textNumber);
    const uint16_t extra = in.U16();
    item.creationData = in.Bytes(extra);
    if (in.Failed()) return Truncated(error, in, ("control " + std::to_string(i + 1)).c_str());
    t.items.push_back(std::move(item));
  }
  return t;
}

}  // namespace platform
