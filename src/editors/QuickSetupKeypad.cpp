#include "editors/QuickSetupKeypad.h"

#include <array>

#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"

namespace quendrel {

namespace {

constexpr std::size_t kKeypadNumberWidth = 6;

}  // namespace

std::string KeypadNumber(std::string_view valueText) {
  static constexpr std::array<std::string_view, 5> kPatterns = {"00000 ", "0000.0", "000.00", "00.000",
                                                                "0.0000"};
  const std::size_t point = valueText.find('.');
  const std::size_t decimals = point == std::string_view::npos ? 0 : valueText.size() - point - 1;
  if (decimals >= kPatterns.size()) return "";
  const std::string text = FormatNumber(LeadingNumber(valueText), kPatterns[decimals]);
  return text.size() <= kKeypadNumberWidth ? text : text.substr(text.size() - kKeypadNumberWidth);
}

std::string KeypadDisplayText(std::string_view line) {
  std::string field(line.substr(0, kKeypadLineWidth));
  field.resize(kKeypadLineWidth, ' ');
  std::string shown;
  for (const char c : field) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code > 122) break;
    shown += code == '\\' ? kKeypadYen : c;
  }
  return shown;
}

std::string KeypadNumberLine(std::int32_t slot, std::string_view valueText) {
  return ParameterIdText(slot) + "    " + KeypadNumber(valueText);
}

std::string KeypadValueNameLine(std::int32_t slot, std::string_view valueName) {
  return ParameterIdText(slot) + "  " + std::string(valueName);
}

std::string KeypadIdLine(std::int32_t slot) { return ParameterIdText(slot); }

std::int32_t MovePreviewPosition(std::int32_t start, bool up, std::int32_t count,
                                 const std::function<bool(std::int32_t)>& isSet) {
  std::int32_t position = start;
  do {
    position += up ? 1 : -1;
    if (position > count) position = 0;
    if (position < 0) position = count;
  } while (position != 0 && position != start && !isSet(position));
  return position;
}

}  // namespace quendrel
