// A colour swatch that the user changes through the desktop's colour dialog: it holds the chosen
// colour, the dialog's option flags and its own frame, and raises Changed for a confirmed colour.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "graph/controls/ControlEvent.h"
#include "graph/data/FormControl.h"
#include "platform/Canvas.h"
#include "platform/PropertyBag.h"

namespace quendrel {

class FormControls;

class ColorPickBox : public FormControl {
 public:
  static constexpr FormControlKind kKind = FormControlKind::ColorPickBox;

  // Joins the window's registry under that name, when there is one, until it ends; starts with
  // the settings of a freshly placed control.
  ColorPickBox(FormControls* form, std::string name);
  ~ColorPickBox() override;
  ColorPickBox(const ColorPickBox&) = delete;
  ColorPickBox& operator=(const ColorPickBox&) = delete;

  FormControlKind Kind() const override { return kKind; }
  const std::string& Name() const override { return name_; }

  // Told the name of each stored setting that changed, so the host saves the settings again.
  void OnPropertyChanged(std::function<void(std::string_view)> hook) { propertyChanged_ = std::move(hook); }
  // Told when the swatch must be drawn again.
  void OnRefresh(std::function<void()> hook) { refresh_ = std::move(hook); }
  // Told of every event the control raises to its window.
  void OnEvent(std::function<void(ControlEvent, const ControlEventArgs&)> hook) { event_ = std::move(hook); }

  Color ChosenColor() const { return color_; }
  // A colour set from code raises no Changed: only the user's choice does.
  void SetChosenColor(Color color);
  // Values outside the 16-bit range raise RuntimeError 6 (Overflow).
  std::int32_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(std::int32_t style);
  std::int32_t Appearance() const { return appearance_; }
  void SetAppearance(std::int32_t appearance);
  bool FullOpen() const;
  void SetFullOpen(bool on);
  bool HelpButton() const;
  void SetHelpButton(bool on);
  bool AllowFullOpen() const;
  void SetAllowFullOpen(bool on);
  // The colour dialog's flags as a whole (cdlCCRGBInit...cdlCCHelpButton in UiServices.h).
  std::int32_t Flags() const { return flags_; }
  bool HasFocus() const { return hasFocus_; }

  void Refresh() const;
  // Asks Ui() for a colour starting from the chosen one; a cancelled dialog changes nothing.
  void DoDialog();

  // The swatch, with the focus rectangle while the control has the focus.
  void Paint(Canvas& canvas) const;

  void GotFocus();
  void LostFocus();
  void Click();
  void DblClick() { Raise(ControlEvent::DblClick); }
  // Enter and Space open the dialog; every key is passed on.
  void KeyDown(int keyCode, int shift);
  void KeyPress(int character) { Raise(ControlEvent::KeyPress, {.KeyCode = character}); }
  void KeyUp(int keyCode, int shift) { Raise(ControlEvent::KeyUp, {.KeyCode = keyCode, .Shift = shift}); }
  void MouseDown(const ControlEventArgs& mouse) { Raise(ControlEvent::MouseDown, mouse); }
  void MouseMove(const ControlEventArgs& mouse) { Raise(ControlEvent::MouseMove, mouse); }
  void MouseUp(const ControlEventArgs& mouse) { Raise(ControlEvent::MouseUp, mouse); }

  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

 private:
  void SetFlag(std::int32_t flag, bool on, std::string_view property);
  void Notify(std::string_view property) const {
    if (propertyChanged_) propertyChanged_(property);
  }
  void Raise(ControlEvent event, const ControlEventArgs& args = {}) const {
    if (event_) event_(event, args);
  }
  // How far in from the surface's right and bottom edges the focus rectangle ends, in pixels.
  int FocusInset() const;

  FormControls* form_;
  std::string name_;
  std::function<void(std::string_view)> propertyChanged_;
  std::function<void()> refresh_;
  std::function<void(ControlEvent, const ControlEventArgs&)> event_;

  Color color_ = 255;
  std::int32_t flags_ = 2;
  std::int16_t borderStyle_ = 1;
  std::int16_t appearance_ = 1;
  bool hasFocus_ = false;
};

}  // namespace quendrel
