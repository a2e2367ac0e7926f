#include "foundation/settings/OptOutMsgBox.h"

#include <array>
#include <optional>

#include "foundation/settings/Config.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

struct RememberedAnswer {
  int button;
  int bit;
  const char* text;
};

constexpr std::array<RememberedAnswer, 4> RememberedAnswers{{
    {vbOK, OptOutOK, "OK"},
    {vbCancel, OptOutCancel, "Cancel"},
    {vbYes, OptOutYes, "Yes"},
    {vbNo, OptOutNo, "No"},
}};

std::optional<RememberedAnswer> AnswerForText(const std::string& text) {
  for (const auto& answer : RememberedAnswers) {
    if (text == answer.text) return answer;
  }
  return std::nullopt;
}

std::optional<RememberedAnswer> AnswerForButton(int button) {
  for (const auto& answer : RememberedAnswers) {
    if (button == answer.button) return answer;
  }
  return std::nullopt;
}

}  // namespace

int OptOutMsgBox(const std::string& message, const std::string& title, int flags,
                 const std::string& key, bool offerNeverAgain) {
  if (const auto remembered = AnswerForText(Config().Value(key, OptOutSection)))
    return remembered->bit;

  bool optedOut = false;
  const int button = Ui().OptOutBox(message, flags, title, offerNeverAgain, optedOut);
  const auto answer = AnswerForButton(button);
  if (!answer) return 0;
  if (offerNeverAgain && optedOut) Config().SetValue(key, OptOutSection, std::string(answer->text));
  return answer->bit;
}

}  // namespace quendrel
