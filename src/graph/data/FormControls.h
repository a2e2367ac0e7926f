// The controls of one window in creation order, so that a control naming another (a pane's data
// source) finds it by name and kind on the same window.
#pragma once

#include <string_view>
#include <vector>

#include "graph/data/FormControl.h"

namespace quendrel {

class FormControls {
 public:
  FormControls() = default;
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  // The registry does not own its controls; each leaves it when it ends.
  void Add(FormControl& control);
  void Remove(const FormControl& control);

  // The control of that name (letter case aside, as window control names are) when it is of the
  // kind asked for; none otherwise.
  FormControl* Find(std::string_view name, FormControlKind kind) const;
  template <typename T>
  T* Find(std::string_view name) const {
    return static_cast<T*>(Find(name, T::kKind));
  }

  const std::vector<FormControl*>& Controls() const { return controls_; }

 private:
  std::vector<FormControl*> controls_;
};

}  // namespace quendrel
