#include "platform/windows/dialog_template.h"

#include <utility>

namespace platform {

namespace {

constexpr uint16_t kNumberMarker = 0xFFFF;
constexpr uint16_t kExtendedSignature = 0xFFFF;
constexpr uint32_t kSetFont = 0x0040;  // DS_SETFONT
// The smallest control: fixed fields, an empty class and title, no data.
constexpr size_t kMinPlainItem = 18 + 6;
constexpr size_t kMinExtendedItem = 24 + 6;

// Little-endian reads within the template; a short read fails and keeps the
// offset where it happened.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const uint8_t> data) : data_(data) {}

  size_t Position() const { return pos_; }
  size_t Left() const { return data_.size() - pos_; }
  bool Failed() const { return failed_; }
  size_t FailedAt() const { return failedAt_; }

  uint16_t U16() {
    if (!Need(2)) return 0;
    const uint16_t v = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
  }
  uint32_t U32() {
    const uint32_t low = U16();
    return low | static_cast<uint32_t>(U16()) << 16;
  }
  int S16() { return static_cast<int16_t>(U16()); }
  uint8_t U8() {
    if (!Need(1)) return 0;
    return data_[pos_++];
  }
  // Characters up to a 0 character.
  WString Text() {
    WString out;
    for (;;) {
      const uint16_t c = U16();
      if (failed_ || c == 0) return out;
      out.push_back(static_cast<char16_t>(c));
    }
  }
  // A text or a number.
  WString TextOrNumber(std::optional<uint16_t>* number) {
    const size_t start = pos_;
    const uint16_t first = U16();
    if (failed_ || first == 0) return {};
    if (first == kNumberMarker) {
      const uint16_t n = U16();
      if (number != nullptr) *number = n;
      return {};
    }
    pos_ = start;
    return Text();
  }
  void AlignTo4() {
    const size_t aligned = (pos_ + 3) & ~size_t{3};
    if (aligned <= data_.size()) {
      pos_ = aligned;
    } else {
      Need(aligned - pos_);
    }
  }
  std::vector<uint8_t> Bytes(size_t n) {
    if (!Need(n)) return {};
    std::vector<uint8_t> out(data_.begin() + static_cast<long>(pos_), data_.begin() + static_cast<long>(pos_ + n));
    pos_ += n;
    return out;
  }

 private:
  bool Need(size_t n) {
    if (failed_) return false;
    if (Left() >= n) return true;
    failed_ = true;
    failedAt_ = pos_;
    return false;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool failed_ = false;
  size_t failedAt_ = 0;
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
