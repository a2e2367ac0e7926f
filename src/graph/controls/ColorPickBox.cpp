#include "graph/controls/ColorPickBox.h"

#include "foundation/text/NumberText.h"
#include "graph/data/FormControls.h"
#include "platform/KeyCodes.h"
#include "platform/UiServices.h"

namespace quendrel {
namespace {

constexpr PropertyKey<std::int32_t> kFlagsKey{"Flags", cdlCCFullOpen};
constexpr PropertyKey<std::int32_t> kChosenColorKey{"ChosenColor", 255};
constexpr PropertyKey<std::int32_t> kAppearanceKey{"Appearance", 1};
constexpr PropertyKey<std::int32_t> kBorderStyleKey{"BorderStyle", 1};

}  // namespace

ColorPickBox::ColorPickBox(FormControls* form, std::string name) : form_(form), name_(std::move(name)) {
  if (form_ != nullptr) form_->Add(*this);
  InitProperties();
}

ColorPickBox::~ColorPickBox() {
  if (form_ != nullptr) form_->Remove(*this);
}

void ColorPickBox::SetChosenColor(Color color) {
  color_ = color;
  Refresh();
  Notify("ChosenColor");
}

void ColorPickBox::SetBorderStyle(std::int32_t style) {
  borderStyle_ = ToInt16Checked(style);
  Refresh();
  Notify("BorderStyle");
}

void ColorPickBox::SetAppearance(std::int32_t appearance) {
  appearance_ = ToInt16Checked(appearance);
  Refresh();
  Notify("Appearance");
}

bool ColorPickBox::FullOpen() const { return (flags_ & cdlCCFullOpen) != 0; }
void ColorPickBox::SetFullOpen(bool on) { SetFlag(cdlCCFullOpen, on, "FullOpen"); }
bool ColorPickBox::HelpButton() const { return (flags_ & cdlCCHelpButton) != 0; }
void ColorPickBox::SetHelpButton(bool on) { SetFlag(cdlCCHelpButton, on, "HelpButton"); }
bool ColorPickBox::AllowFullOpen() const { return (flags_ & cdlCCPreventFullOpen) == 0; }
void ColorPickBox::SetAllowFullOpen(bool on) { SetFlag(cdlCCPreventFullOpen, !on, "AllowFullOpen"); }

void ColorPickBox::SetFlag(std::int32_t flag, bool on, std::string_view property) {
  flags_ = on ? (flags_ | flag) : (flags_ & ~flag);
  Notify(property);
  Notify("Flags");
}

void ColorPickBox::Refresh() const {
  if (refresh_) refresh_();
}

void ColorPickBox::DoDialog() {
  // The start-colour flag stays set from now on, and is saved with the other flags.
  flags_ |= cdlCCRGBInit;
  Color chosen = color_;
  if (!Ui().ColorDialog(chosen, flags_)) return;
  color_ = chosen;
  Refresh();
  Notify("ChosenColor");
  Raise(ControlEvent::Changed);
}

int ColorPickBox::FocusInset() const {
  if (borderStyle_ == 0) return 1;
  return appearance_ == 1 ? 5 : 3;
}

void ColorPickBox::Paint(Canvas& canvas) const {
  canvas.SetBackColor(color_);
  canvas.Cls();
  if (!hasFocus_) return;
  const int inset = FocusInset();
  const int right = RoundHalfEven(Canvas::TwipsToPixelsX(canvas.ScaleWidth()) - static_cast<float>(inset));
  const int bottom = RoundHalfEven(Canvas::TwipsToPixelsY(canvas.ScaleHeight()) - static_cast<float>(inset));
  canvas.DrawFocusRect(1, 1, right, bottom);
}

void ColorPickBox::GotFocus() {
  hasFocus_ = true;
  Refresh();
}

void ColorPickBox::LostFocus() {
  hasFocus_ = false;
  Refresh();
}

void ColorPickBox::Click() {
  DoDialog();
  Raise(ControlEvent::Click);
}

void ColorPickBox::KeyDown(int keyCode, int shift) {
  if (keyCode == vbKeyReturn || keyCode == vbKeySpace) DoDialog();
  Raise(ControlEvent::KeyDown, {.KeyCode = keyCode, .Shift = shift});
}

void ColorPickBox::InitProperties() {
  flags_ = kFlagsKey.Default;
  color_ = static_cast<Color>(kChosenColorKey.Default);
  appearance_ = static_cast<std::int16_t>(kAppearanceKey.Default);
  borderStyle_ = static_cast<std::int16_t>(kBorderStyleKey.Default);
}

void ColorPickBox::ReadProperties(const PropertyBag& bag) {
  flags_ = bag.Read(kFlagsKey);
  SetAppearance(bag.Read(kAppearanceKey));
  SetBorderStyle(bag.Read(kBorderStyleKey));
  color_ = static_cast<Color>(bag.Read(kChosenColorKey));
  Refresh();
}

void ColorPickBox::WriteProperties(PropertyBag& bag) const {
  bag.Write(kFlagsKey, flags_);
  bag.Write(kChosenColorKey, static_cast<std::int32_t>(color_));
  bag.Write(kAppearanceKey, static_cast<std::int32_t>(appearance_));
  bag.Write(kBorderStyleKey, static_cast<std::int32_t>(borderStyle_));
}

}  // namespace quendrel
