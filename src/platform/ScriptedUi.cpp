#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

namespace quendrel {
namespace {

template <typename T>
std::optional<T> Take(std::deque<T>& answers) {
  if (answers.empty()) return std::nullopt;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

UiQuestion MakeQuestion(UiQuestionKind kind, std::string prompt, std::string title,
                        int style) {
  UiQuestion question;
  question.Kind = kind;
  question.Prompt = std::move(prompt);
  question.Title = std::move(title);
  question.Style = style;
  return question;
}

}  // namespace

const char* UiQuestionKindText(UiQuestionKind kind) {
  switch (kind) {
    case UiQuestionKind::MsgBox: return "message box";
    case UiQuestionKind::OptOutBox: return "opt-out message box";
    case UiQuestionKind::InputBox: return "input box";
    case UiQuestionKind::FileDialog: return "file dialog";
    case UiQuestionKind::ColorDialog: return "colour dialog";
    case UiQuestionKind::FontDialog: return "font dialog";
    case UiQuestionKind::PrintDialog: return "print dialog";
    case UiQuestionKind::PopupMenu: return "popup menu";
  }
  return "question";
}

ScriptedUi::ScriptedUi() { SetUi(this); }

ScriptedUi::~ScriptedUi() {
  if (&Ui() == this) SetUi(nullptr);
  if (PendingAnswers() != 0) {
    ADD_FAILURE() << PendingAnswers() << " scripted answer(s) were never asked for; "
                  << questions_.size() << " question(s) came";
  }
}

std::vector<std::string> ScriptedUi::Titles() const {
  std::vector<std::string> titles;
  for (const UiQuestion& question : questions_) titles.push_back(question.Title);
  return titles;
}

std::vector<std::string> ScriptedUi::Prompts() const {
  std::vector<std::string> prompts;
  for (const UiQuestion& question : questions_) prompts.push_back(question.Prompt);
  return prompts;
}

std::size_t ScriptedUi::PendingAnswers() const {
  return msgBoxAnswers_.size() + optOutAnswers_.size() + inputAnswers_.size() +
         fileAnswers_.size() + colorAnswers_.size() + fontAnswers_.size() + printAnswers_.size() +
         popupAnswers_.size();
}

const UiQuestion& ScriptedUi::Ask(UiQuestion question) {
  const std::size_t at = questions_.size();
  questions_.push_back(std::move(question));
  if (whileAsked_) {
    // The action may ask questions of its own.
    const UiQuestion asked = questions_[at];
    whileAsked_(asked);
  }
  return questions_[at];
}

void ScriptedUi::Unexpected(const UiQuestion& question) {
  ADD_FAILURE() << "Unexpected " << UiQuestionKindText(question.Kind) << " titled \""
                << question.Title << "\": \"" << question.Prompt << "\" (style "
                << question.Style << ")";
}

int ScriptedUi::MsgBox(const std::string& prompt, int style, const std::string& title) {
  const UiQuestion& question = Ask(MakeQuestion(UiQuestionKind::MsgBox, prompt, title, style));
  if (const auto answer = Take(msgBoxAnswers_)) return *answer;
  Unexpected(question);
  return DefaultButton(style);
}

int ScriptedUi::OptOutBox(const std::string& prompt, int style, const std::string& title,
                          bool offerOptOut, bool& optedOut) {
  UiQuestion asked = MakeQuestion(UiQuestionKind::OptOutBox, prompt, title, style);
  asked.OptOutOffered = offerOptOut;
  const UiQuestion& question = Ask(std::move(asked));
  optedOut = false;
  if (const auto answer = Take(optOutAnswers_)) {
    // A tick the box never offered cannot be ticked.
    optedOut = answer->OptOut && offerOptOut;
    return answer->Button;
  }
  Unexpected(question);
  return DefaultButton(style);
}

std::string ScriptedUi::InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
  UiQuestion asked = MakeQuestion(UiQuestionKind::InputBox, prompt, title, 0);
  asked.DefaultText = defaultText;
  const UiQuestion& question = Ask(std::move(asked));
  if (auto answer = Take(inputAnswers_)) return std::move(*answer);
  Unexpected(question);
  return defaultText;
}

std::string ScriptedUi::FileDialog(const FileDialogRequest& request) {
  UiQuestion asked =
      MakeQuestion(UiQuestionKind::FileDialog, request.Filter, request.Title, request.Flags);
  asked.DefaultText = request.InitialName;
  asked.FilterIndex = request.FilterIndex;
  asked.Save = request.Save;
  const UiQuestion& question = Ask(std::move(asked));
  if (auto answer = Take(fileAnswers_)) return std::move(*answer);
  Unexpected(question);
  return {};
}

bool ScriptedUi::ColorDialog(std::uint32_t& color, int flags) {
  const UiQuestion& question = Ask(MakeQuestion(UiQuestionKind::ColorDialog, "", "", flags));
  const auto answer = Take(colorAnswers_);
  if (!answer) {
    Unexpected(question);
    return false;
  }
  if (!answer->has_value()) return false;
  color = **answer;
  return true;
}

bool ScriptedUi::FontDialog(FontDialogChoice& choice, int flags) {
  const UiQuestion& question = Ask(MakeQuestion(UiQuestionKind::FontDialog, choice.Font.Name, "", flags));
  const auto answer = Take(fontAnswers_);
  if (!answer) {
    Unexpected(question);
    return false;
  }
  if (!answer->has_value()) return false;
  choice = **answer;
  return true;
}

UiServices::PrintOutcome ScriptedUi::PrintPicture(const std::function<CanvasImage()>& picture,
                                                  bool landscape) {
  const UiQuestion& question = Ask(MakeQuestion(UiQuestionKind::PrintDialog, "", "", landscape ? 1 : 0));
  const auto answer = Take(printAnswers_);
  if (!answer) {
    Unexpected(question);
    return PrintOutcome::Cancelled;
  }
  if (*answer == PrintOutcome::Cancelled) return *answer;
  // Confirmed: the picture is taken now, also for a job that then fails, as on the desktop.
  CanvasImage image = picture();
  if (*answer == PrintOutcome::Printed) printed_.push_back(std::move(image));
  return *answer;
}

int ScriptedUi::PopupMenu(const PopupMenuRequest& request) {
  menus_.push_back(request);
  const UiQuestion& question = Ask(MakeQuestion(UiQuestionKind::PopupMenu, "", "", 0));
  if (const auto answer = Take(popupAnswers_)) return *answer;
  Unexpected(question);
  return 0;
}

void ScriptedUi::PumpMessages() {
  ++pumps_;
  if (onPump_) onPump_();
}

}  // namespace quendrel
