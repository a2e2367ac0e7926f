#include "graph/controls/TimePicker.h"

#include <algorithm>
#include <cstdlib>

#include "foundation/text/NumberText.h"
#include "graph/data/FormControls.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

constexpr Color kButtonFace = 0x8000000Fu;
constexpr Color kGrayText = 0x80000011u;
constexpr Color kHighlight = 0x8000000Du;
constexpr Color kHighlightText = 0x8000000Eu;

const CanvasFont kDefaultFont{.Name = "MS Sans Serif", .Size = 8.0f};

constexpr PropertyKey<std::int32_t> kAppearanceKey{"Appearance", 1};
constexpr PropertyKey<std::int32_t> kAlignmentKey{"Alignment", 0};
constexpr PropertyKey<std::int32_t> kBackColorKey{"BackColor", static_cast<std::int32_t>(0x80000005u)};
constexpr PropertyKey<bool> kEnabledKey{"Enabled", true};
constexpr PropertyKey<std::int32_t> kForeColorKey{"ForeColor", static_cast<std::int32_t>(0x80000008u)};
constexpr PropertyKey<bool> kLockHeightKey{"LockHeight", true};
constexpr PropertyKey<std::int32_t> kBorderStyleKey{"BorderStyle", 1};

enum Alignment : std::int32_t { kLeft = 0, kRight = 1, kCenter = 2 };

// At least two digits, a minus sign before them for a negative part ("-05").
std::string TwoDigits(std::int32_t part) {
  std::string digits = std::to_string(std::abs(part));
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return part < 0 ? "-" + digits : digits;
}

std::int32_t PartCap(std::uint8_t part) { return part == tpHours ? 23 : 59; }

}  // namespace

TimePicker::TimePicker(FormControls* form, std::string name) : form_(form), name_(std::move(name)) {
  if (form_ != nullptr) form_->Add(*this);
  InitProperties();
}

TimePicker::~TimePicker() {
  if (form_ != nullptr) form_->Remove(*this);
}

void TimePicker::SetValueSeconds(double seconds) { SetTotalSeconds(RoundHalfEven(seconds)); }

void TimePicker::SetValue(double days) { SetTotalSeconds(RoundHalfEven(days * 86400.0)); }

void TimePicker::SetTotalSeconds(std::int32_t total) {
  // Remainders keep the sign of the total, so a negative value shows negative parts.
  seconds_ = total % 60;
  minutes_ = (total / 60) % 60;
  hours_ = (total / 3600) % 24;
  // The spin follows the new value at once, so the next Up or Down starts from what is shown.
  SetupTimeSpin();
  Raise(ControlEvent::Changed);
  Refresh();
  Notify("Value");
}

std::string TimePicker::FieldText() const {
  return TwoDigits(hours_) + ":" + TwoDigits(minutes_) + ":" + TwoDigits(seconds_);
}

void TimePicker::SetSelectedTimeField(std::uint8_t part) {
  selected_ = part;
  SetupTimeSpin();
  Refresh();
}

void TimePicker::SetupTimeSpin() {
  spinSetup_ = true;
  switch (selected_) {
    case tpHours: spinMin_ = 0, spinMax_ = 23, spinValue_ = hours_; break;
    case tpMinutes: spinMin_ = 0, spinMax_ = 59, spinValue_ = minutes_; break;
    case tpSeconds: spinMin_ = 0, spinMax_ = 59, spinValue_ = seconds_; break;
    default: break;
  }
  spinSetup_ = false;
}

void TimePicker::SetSpinValue(std::int32_t value) {
  if (value == spinValue_) return;
  spinValue_ = value;
  SpinChanged();
}

void TimePicker::SpinChanged() {
  if (spinSetup_) return;
  switch (selected_) {
    case tpHours: hours_ = spinValue_; break;
    case tpMinutes: minutes_ = spinValue_; break;
    case tpSeconds: seconds_ = spinValue_; break;
    default: break;
  }
  if (selected_ <= tpSeconds) Raise(ControlEvent::Changed);
  FocusField();
  Refresh();
}

void TimePicker::SpinUp() {
  if (spinValue_ < spinMax_) SetSpinValue(spinValue_ + 1);
}

void TimePicker::SpinDown() {
  if (spinValue_ > spinMin_) SetSpinValue(spinValue_ - 1);
}

void TimePicker::KeyDown(int keyCode, int shift) {
  switch (keyCode) {
    case vbKeyUp: SetSpinValue(spinValue_ >= spinMax_ ? 0 : spinValue_ + 1); break;
    case vbKeyDown: SetSpinValue(spinValue_ < 1 ? spinMax_ : spinValue_ - 1); break;
    case vbKeyLeft: PrevTimeField(); break;
    case vbKeyRight: NextTimeField(); break;
    default:
      if (keyCode >= '0' && keyCode <= '9' && shift == 0) TypeTimeDigit(keyCode - '0');
      break;
  }
  Refresh();
}

void TimePicker::TypeTimeDigit(int digit) {
  if (selected_ > tpSeconds) return;
  char& pending = pending_[selected_];
  if (pending < '0' || pending > '9') pending = ' ';
  const char typed = static_cast<char>('0' + digit);
  std::int32_t value = 0;
  if (pending == ' ') {
    value = digit;
    pending = typed;
  } else {
    value = (pending - '0') * 10 + digit;
    pending = ' ';
  }
  SetSpinValue(std::min(value, PartCap(selected_)));
  FocusField();
  // A second notice follows every digit, even one that left the part as it was: owners read and
  // clamp the value anew at each notice, so a repeated one costs them nothing.
  Raise(ControlEvent::Changed);
}

void TimePicker::UseFont(Canvas& canvas) const {
  // A font object per drawing call would cost more than the field's drawing itself.
  if (!(canvas.Font() == font_)) canvas.SetFont(font_);
}

void TimePicker::FocusField() const {
  if (!hasFocus_ && focusRequest_) focusRequest_();
}

void TimePicker::GotFocus() {
  hasFocus_ = true;
  SetSelectedTimeField(selected_);
  Refresh();
}

void TimePicker::LostFocus() {
  hasFocus_ = false;
  Refresh();
}

float TimePicker::TextOffset(const Canvas& measure) const {
  const float textWidth = measure.TextWidth("00:00:00");
  switch (alignment_) {
    case kRight: return static_cast<float>(RoundHalfEven(fieldWidth_ - textWidth));
    case kCenter: return static_cast<float>(RoundHalfEven(fieldWidth_ / 2.0f - textWidth / 2.0f));
    default: return 0.0f;
  }
}

void TimePicker::TimeFieldFromX(Canvas& measure, float x) {
  UseFont(measure);
  const float partWidth = measure.TextWidth("00");
  const float hoursEnd = static_cast<float>(
      RoundHalfEven(TextOffset(measure) + partWidth + Canvas::PixelsToTwipsX(4.0f)));
  const float minutesEnd =
      static_cast<float>(RoundHalfEven(hoursEnd + partWidth + Canvas::PixelsToTwipsX(2.0f)));
  std::uint8_t part = tpSeconds;
  if (x < hoursEnd) {
    part = tpHours;
  } else if (x < minutesEnd) {
    part = tpMinutes;
  }
  if (part == selected_) return;
  SetSelectedTimeField(part);
  Refresh();
}

void TimePicker::MouseDown(Canvas& measure, const ControlEventArgs& mouse) {
  maskBack_ = fieldBack_;
  maskFore_ = fieldFore_;
  maskShown_ = true;
  Refresh();
  TimeFieldFromX(measure, mouse.X);
  Raise(ControlEvent::MouseDown, mouse);
}

void TimePicker::MouseUp(const ControlEventArgs& mouse) {
  maskShown_ = false;
  FocusField();
  Refresh();
  Raise(ControlEvent::MouseUp, mouse);
}

void TimePicker::Click() const {
  Refresh();
  Raise(ControlEvent::Click);
}

void TimePicker::DblClick() const {
  Raise(ControlEvent::DblClick);
  Refresh();
}

void TimePicker::Refresh() const {
  if (refresh_) refresh_();
}

void TimePicker::Paint(Canvas& canvas) const {
  UseFont(canvas);
  if (maskShown_) {
    PaintText(canvas, maskBack_, maskFore_, true);
  } else {
    PaintText(canvas, fieldBack_, fieldFore_, hasFocus_ && enabled_);
  }
}

void TimePicker::PaintText(Canvas& canvas, Color back, Color fore, bool highlight) const {
  canvas.SetBackColor(back);
  canvas.Cls();
  const float offset = TextOffset(canvas);
  const std::string text = FieldText();
  canvas.SetForeColor(fore);
  canvas.SetCurrentX(offset);
  canvas.SetCurrentY(0.0f);
  canvas.Print(text);
  if (!highlight || selected_ > tpSeconds) return;
  const char* const before[] = {"", "00:", "00:00:"};
  const float x = offset + canvas.TextWidth(before[selected_]);
  const float width = static_cast<float>(RoundHalfEven(canvas.TextWidth("00")));
  const float height = static_cast<float>(RoundHalfEven(canvas.TextHeight("00") - Canvas::PixelsToTwipsY(1.0f)));
  canvas.FilledBox(x, 0.0f, x + width, height, kHighlight);
  canvas.SetForeColor(kHighlightText);
  canvas.SetCurrentX(x);
  canvas.SetCurrentY(0.0f);
  canvas.Print(text.substr(static_cast<std::size_t>(SelectionStart()), 2));
}

TimePickerLayout TimePicker::Resize(Canvas& measure, float width, float height, float spinWidth) {
  TimePickerLayout layout;
  layout.Height = height;
  if (lockHeight_) {
    UseFont(measure);
    const float fitted =
        static_cast<float>(RoundHalfEven(measure.TextHeight("00:00:00") + Canvas::PixelsToTwipsY(8.0f)));
    layout.Height = std::min(height, fitted);
  }
  float insetPixels = 0.0f;
  if (borderStyle_ != 0) insetPixels = appearance_ == 1 ? 4.0f : 1.0f;
  const float insetX = Canvas::PixelsToTwipsX(insetPixels);
  const float insetY = Canvas::PixelsToTwipsY(insetPixels);
  // A control narrower than its spin keeps an empty field rather than a negative one.
  layout.FieldWidth = std::max(0.0f, width - spinWidth - insetX);
  layout.SpinLeft = layout.FieldWidth;
  layout.SpinHeight = std::max(0.0f, layout.Height - insetY);
  fieldWidth_ = layout.FieldWidth;
  return layout;
}

void TimePicker::SetAlignment(std::int32_t alignment) {
  alignment_ = alignment;
  Refresh();
  Notify("Alignment");
}

void TimePicker::SetAppearance(std::int32_t appearance) {
  appearance_ = appearance;
  Relayout();
  Refresh();
  Notify("Appearance");
}

void TimePicker::SetBorderStyle(std::int32_t style) {
  borderStyle_ = style;
  Relayout();
  Refresh();
  Notify("BorderStyle");
}

void TimePicker::SetBackColor(Color color) {
  enabledBack_ = color;
  if (enabled_) fieldBack_ = controlBack_ = color;
  Refresh();
  Notify("BackColor");
}

void TimePicker::SetForeColor(Color color) {
  enabledFore_ = color;
  if (enabled_) fieldFore_ = color;
  Refresh();
  Notify("ForeColor");
}

void TimePicker::SetEnabled(bool enabled) {
  if (enabled && !enabled_) {
    fieldBack_ = controlBack_ = enabledBack_;
    fieldFore_ = enabledFore_;
  } else if (!enabled && enabled_) {
    enabledBack_ = fieldBack_;
    enabledFore_ = fieldFore_;
    fieldBack_ = controlBack_ = kButtonFace;
    fieldFore_ = kGrayText;
  }
  enabled_ = enabled;
  Refresh();
  Notify("Enabled");
}

void TimePicker::SetFont(const CanvasFont& font) {
  font_ = font;
  Relayout();
  Refresh();
}

void TimePicker::SetLockHeight(bool lock) {
  lockHeight_ = lock;
  Relayout();
  Notify("LockHeight");
}

void TimePicker::InitProperties() {
  SetAppearance(kAppearanceKey.Default);
  SetAlignment(kAlignmentKey.Default);
  SetFont(kDefaultFont);
  SetLockHeight(kLockHeightKey.Default);
  SetEnabled(kEnabledKey.Default);
  SetBackColor(static_cast<Color>(kBackColorKey.Default));
  SetForeColor(static_cast<Color>(kForeColorKey.Default));
  SetBorderStyle(kBorderStyleKey.Default);
}

void TimePicker::ReadProperties(const PropertyBag& bag) {
  SetAppearance(bag.Read(kAppearanceKey));
  SetAlignment(bag.Read(kAlignmentKey));
  SetBackColor(static_cast<Color>(bag.Read(kBackColorKey)));
  SetEnabled(bag.Read(kEnabledKey));
  SetForeColor(static_cast<Color>(bag.Read(kForeColorKey)));
  SetFont(bag.Read(PropertyKey<CanvasFont>{"Font", kDefaultFont}));
  SetLockHeight(bag.Read(kLockHeightKey));
  SetBorderStyle(bag.Read(kBorderStyleKey));
}

void TimePicker::WriteProperties(PropertyBag& bag) const {
  bag.Write(kAppearanceKey, appearance_);
  bag.Write(kAlignmentKey, alignment_);
  bag.Write(kBackColorKey, static_cast<std::int32_t>(enabledBack_));
  bag.Write(kEnabledKey, enabled_);
  bag.Write(kForeColorKey, static_cast<std::int32_t>(enabledFore_));
  bag.Write(kBorderStyleKey, borderStyle_);
  bag.Write(PropertyKey<CanvasFont>{"Font", kDefaultFont}, font_);
  bag.Write(kLockHeightKey, lockHeight_);
}

}  // namespace quendrel
