// What a window's registry knows of each control placed on it: its kind and its name.
#pragma once

#include <string>

namespace quendrel {

enum class FormControlKind { GraphDataControl, GraphPane, SeriesListBox, TimePicker, ColorPickBox };

class FormControl {
 public:
  virtual ~FormControl() = default;
  virtual FormControlKind Kind() const = 0;
  virtual const std::string& Name() const = 0;
};

}  // namespace quendrel
