#include "graph/data/FormControls.h"

#include <algorithm>
#include <cctype>

namespace quendrel {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

void FormControls::Add(FormControl& control) { controls_.push_back(&control); }

void FormControls::Remove(const FormControl& control) {
  std::erase(controls_, &control);
}

FormControl* FormControls::Find(std::string_view name, FormControlKind kind) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(), [&](const FormControl* control) {
    return control->Kind() == kind && SameName(control->Name(), name);
  });
  return found == controls_.end() ? nullptr : *found;
}

}  // namespace quendrel
