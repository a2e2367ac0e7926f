#include "foundation/text/ParameterId.h"

#include <cctype>

#include "platform/UiServices.h"

namespace quendrel {

namespace {

std::string TwoDigits(std::int32_t value) {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() < 2) text.insert(0, 2 - text.size(), '0');
  return value < 0 ? "-" + text : text;
}

bool IsDigitAt(const std::string& text, std::size_t at) {
  return text[at] >= '0' && text[at] <= '9';
}

int TwoDigitValueAt(const std::string& text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

bool IsParameterIdForm(const std::string& text) {
  if (text.size() != 6) return false;
  const auto upper = [&](std::size_t at) {
    return std::toupper(static_cast<unsigned char>(text[at]));
  };
  return upper(0) == 'M' && IsDigitAt(text, 1) && IsDigitAt(text, 2) &&
         (upper(3) == 'P' || upper(3) == 'B') && IsDigitAt(text, 4) && IsDigitAt(text, 5);
}

}  // namespace

std::string ParameterIdText(std::int32_t n) {
  return "M" + TwoDigits(n / 100) + "P" + TwoDigits(n % 100);
}

std::int32_t ParseParameterId(const std::string& text) {
  if (!IsParameterIdForm(text)) {
    Ui().MsgBox("'" + text + "' is an invalid parameter ID.", vbCritical | vbOKOnly, "Parse Error");
    return -1;
  }
  return TwoDigitValueAt(text, 1) * 100 + TwoDigitValueAt(text, 4);
}

}  // namespace quendrel
