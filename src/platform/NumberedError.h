// An error that carries the number users quote when they report it. The run-time errors of the
// layers above derive from it, so the widget boundary can show the number without knowing them.
#pragma once

#include <stdexcept>
#include <string>

namespace quendrel {

class NumberedError : public std::runtime_error {
 public:
  NumberedError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}

  int Number() const { return number_; }

 private:
  int number_;
};

}  // namespace quendrel
