// An hh:mm:ss time-span control of less than a day: three parts picked by mouse or arrow keys and
// changed by a spin, the Up and Down keys or two typed digits, drawn as a text field through the
// canvas beside its spin, with its stored settings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "graph/controls/ControlEvent.h"
#include "graph/data/FormControl.h"
#include "platform/Canvas.h"
#include "platform/CanvasFont.h"
#include "platform/PropertyBag.h"

namespace quendrel {

class FormControls;

enum TimePickerPart : std::uint8_t { tpHours = 0, tpMinutes = 1, tpSeconds = 2 };

// Where the field and the spin lie within the control, all in twips; the height is the control's
// own, shortened when LockHeight fits it to its font.
struct TimePickerLayout {
  float Height = 0.0f;
  float FieldWidth = 0.0f;
  float SpinLeft = 0.0f;
  float SpinHeight = 0.0f;
};

class TimePicker : public FormControl {
 public:
  static constexpr FormControlKind kKind = FormControlKind::TimePicker;

  // Joins the window's registry under that name, when there is one, until it ends; starts with
  // the settings of a freshly placed control and the value 00:00:00.
  TimePicker(FormControls* form, std::string name);
  ~TimePicker() override;
  TimePicker(const TimePicker&) = delete;
  TimePicker& operator=(const TimePicker&) = delete;

  FormControlKind Kind() const override { return kKind; }
  const std::string& Name() const override { return name_; }

  // Told the name of each setting that changed ("Value" for either form of the value).
  void OnPropertyChanged(std::function<void(std::string_view)> hook) { propertyChanged_ = std::move(hook); }
  // Told when the field must be drawn again.
  void OnRefresh(std::function<void()> hook) { refresh_ = std::move(hook); }
  // Told when a setting changed the layout (font, borders, LockHeight); the widget runs Resize.
  void OnLayout(std::function<void()> hook) { layout_ = std::move(hook); }
  // Asked to give the input focus to the field, when it lacks it.
  void OnFocusRequest(std::function<void()> hook) { focusRequest_ = std::move(hook); }
  // Told of every event the control raises to its window.
  void OnEvent(std::function<void(ControlEvent, const ControlEventArgs&)> hook) { event_ = std::move(hook); }

  // Both setters round to whole seconds (halves to even), hold the count to the 32-bit range (NaN
  // is 0) and wrap it within the day; each raises Changed, even for the value already held.
  double ValueSeconds() const { return static_cast<double>(TotalSeconds()); }
  void SetValueSeconds(double seconds);
  // The value as a fraction of a day.
  double Value() const { return static_cast<double>(TotalSeconds()) / 86400.0; }
  void SetValue(double days);
  std::int32_t Hours() const { return hours_; }
  std::int32_t Minutes() const { return minutes_; }
  std::int32_t Seconds() const { return seconds_; }

  std::uint8_t SelectedTimeField() const { return selected_; }

  std::int32_t Alignment() const { return alignment_; }
  void SetAlignment(std::int32_t alignment);
  std::int32_t Appearance() const { return appearance_; }
  void SetAppearance(std::int32_t appearance);
  std::int32_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(std::int32_t style);
  // The colours as set; while the control is disabled the field shows greys instead.
  Color BackColor() const { return enabledBack_; }
  void SetBackColor(Color color);
  Color ForeColor() const { return enabledFore_; }
  void SetForeColor(Color color);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& font);
  bool LockHeight() const { return lockHeight_; }
  void SetLockHeight(bool lock);

  // What the field shows now.
  Color FieldBackColor() const { return fieldBack_; }
  Color FieldForeColor() const { return fieldFore_; }
  Color ControlBackColor() const { return controlBack_; }
  std::string FieldText() const;
  int SelectionStart() const { return selected_ * 3; }
  int SelectionLength() const { return 2; }
  bool MaskShown() const { return maskShown_; }
  bool HasFocus() const { return hasFocus_; }

  // The up-down control beside the field, tied to the selected part.
  std::int32_t SpinValue() const { return spinValue_; }
  std::int32_t SpinMin() const { return spinMin_; }
  std::int32_t SpinMax() const { return spinMax_; }
  // The spin's own arrows, which stop at the ends of its range.
  void SpinUp();
  void SpinDown();

  void Refresh() const;
  // The field, or the mask while a button is held on it, on a canvas of the field's size.
  void Paint(Canvas& canvas) const;
  // Lays the control out for a size (twips) and a spin width; measure gets the control's font.
  TimePickerLayout Resize(Canvas& measure, float width, float height, float spinWidth);

  // The field's input; the mouse is in twips within the field.
  void GotFocus();
  void LostFocus();
  // Every key is taken: nothing the user types reaches the text.
  void KeyDown(int keyCode, int shift);
  void KeyUp() const { Refresh(); }
  void MouseDown(Canvas& measure, const ControlEventArgs& mouse);
  void MouseMove(const ControlEventArgs& mouse) const { Raise(ControlEvent::MouseMove, mouse); }
  void MouseUp(const ControlEventArgs& mouse);
  void Click() const;
  void DblClick() const;

  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

 private:
  std::int32_t TotalSeconds() const { return hours_ * 3600 + minutes_ * 60 + seconds_; }
  void SetTotalSeconds(std::int32_t total);
  void SetSelectedTimeField(std::uint8_t part);
  void NextTimeField() { SetSelectedTimeField(static_cast<std::uint8_t>((selected_ + 1) % 3)); }
  void PrevTimeField() { SetSelectedTimeField(static_cast<std::uint8_t>((selected_ + 2) % 3)); }
  void SetupTimeSpin();
  void SetSpinValue(std::int32_t value);
  void SpinChanged();
  void TypeTimeDigit(int digit);
  void TimeFieldFromX(Canvas& measure, float x);
  float TextOffset(const Canvas& measure) const;
  void PaintText(Canvas& canvas, Color back, Color fore, bool highlight) const;
  void FocusField() const;
  void UseFont(Canvas& canvas) const;
  void Notify(std::string_view property) const {
    if (propertyChanged_) propertyChanged_(property);
  }
  void Relayout() const {
    if (layout_) layout_();
  }
  void Raise(ControlEvent event, const ControlEventArgs& args = {}) const {
    if (event_) event_(event, args);
  }

  FormControls* form_;
  std::string name_;
  std::function<void(std::string_view)> propertyChanged_;
  std::function<void()> refresh_;
  std::function<void()> layout_;
  std::function<void()> focusRequest_;
  std::function<void(ControlEvent, const ControlEventArgs&)> event_;

  std::int32_t hours_ = 0;
  std::int32_t minutes_ = 0;
  std::int32_t seconds_ = 0;
  std::uint8_t selected_ = tpHours;
  // The first digit typed into each part, or a blank; it waits for its partner even while the
  // user visits another part.
  std::array<char, 3> pending_ = {' ', ' ', ' '};

  std::int32_t spinValue_ = 0;
  std::int32_t spinMin_ = 0;
  std::int32_t spinMax_ = 23;
  // Set while the spin is tied to a part, so its own change notice is not taken as the user's.
  bool spinSetup_ = false;

  std::int32_t alignment_ = 0;
  std::int32_t appearance_ = 1;
  std::int32_t borderStyle_ = 1;
  bool enabled_ = true;
  bool lockHeight_ = true;
  CanvasFont font_;
  Color enabledBack_ = 0x80000005u;
  Color enabledFore_ = 0x80000008u;
  Color fieldBack_ = 0x80000005u;
  Color fieldFore_ = 0x80000008u;
  Color controlBack_ = 0x80000005u;

  bool hasFocus_ = false;
  bool maskShown_ = false;
  Color maskBack_ = 0x80000005u;
  Color maskFore_ = 0x80000008u;
  float fieldWidth_ = 0.0f;
};

}  // namespace quendrel
