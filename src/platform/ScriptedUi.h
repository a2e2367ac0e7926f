// The UiServices of tests: answers questions from queues the test fills, records every
// question, and fails the running test on a question nobody expected, so no test can hang on
// a dialog.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/UiServices.h"

namespace quendrel {

enum class UiQuestionKind { MsgBox, OptOutBox, InputBox, FileDialog, ColorDialog, FontDialog, PrintDialog, PopupMenu };

const char* UiQuestionKindText(UiQuestionKind kind);

struct UiQuestion {
  UiQuestionKind Kind = UiQuestionKind::MsgBox;
  std::string Prompt;       // the message or input prompt; a file dialog's filter
  std::string Title;
  int Style = 0;            // message box style, or the dialog's flags
  bool OptOutOffered = false;
  std::string DefaultText;  // an input box's preset text, a file dialog's initial name
  int FilterIndex = 0;
  bool Save = false;        // a file dialog for saving
};

class ScriptedUi : public UiServices {
 public:
  // Installs itself as Ui() while it lives.
  ScriptedUi();
  // Fails the test for answers that no question took, and leaves the silent default as Ui().
  ~ScriptedUi() override;
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  // Answers are taken in order, each queue by its kind of question.
  void AnswerMsgBox(int button) { msgBoxAnswers_.push_back(button); }
  void AnswerOptOutBox(int button, bool optOut = false) { optOutAnswers_.push_back({button, optOut}); }
  void AnswerInputBox(std::string text) { inputAnswers_.push_back(std::move(text)); }
  // An empty path answers as Cancel does.
  void AnswerFileDialog(std::string path) { fileAnswers_.push_back(std::move(path)); }
  void AnswerColorDialog(std::uint32_t color) { colorAnswers_.push_back(color); }
  void CancelColorDialog() { colorAnswers_.push_back(std::nullopt); }
  void AnswerFontDialog(const FontDialogChoice& choice) { fontAnswers_.push_back(choice); }
  void CancelFontDialog() { fontAnswers_.push_back(std::nullopt); }
  void AnswerPrintDialog(bool print) {
    printAnswers_.push_back(print ? PrintOutcome::Printed : PrintOutcome::Cancelled);
  }
  // The dialog is confirmed but the job fails.
  void FailPrintJob() { printAnswers_.push_back(PrintOutcome::Failed); }
  // The Id to choose from the next popup menu (0 closes it without a choice); the menu shown is
  // kept for the test to look at.
  void AnswerPopupMenu(int id) { popupAnswers_.push_back(id); }
  const std::vector<PopupMenuRequest>& Menus() const { return menus_; }

  // Runs at every PumpMessages, where a test can play the user clicking during a long operation.
  void OnPump(std::function<void()> action) { onPump_ = std::move(action); }
  // Runs while each question is open, before it is answered, where a test can fire what would
  // fire behind a modal dialog or menu (a window's timers).
  void WhileAsked(std::function<void(const UiQuestion&)> action) { whileAsked_ = std::move(action); }

  const std::vector<UiQuestion>& Questions() const { return questions_; }
  // Titles and prompts of the questions in order, for short assertions.
  std::vector<std::string> Titles() const;
  std::vector<std::string> Prompts() const;
  int Beeps() const { return beeps_; }
  int Pumps() const { return pumps_; }
  const std::vector<CanvasImage>& Printed() const { return printed_; }
  // Answers still queued.
  std::size_t PendingAnswers() const;

  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  int OptOutBox(const std::string& prompt, int style, const std::string& title, bool offerOptOut,
                bool& optedOut) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  std::string FileDialog(const FileDialogRequest& request) override;
  bool ColorDialog(std::uint32_t& color, int flags) override;
  bool FontDialog(FontDialogChoice& choice, int flags) override;
  PrintOutcome PrintPicture(const std::function<CanvasImage()>& picture, bool landscape) override;
  int PopupMenu(const PopupMenuRequest& request) override;
  void Beep() override { ++beeps_; }
  void PumpMessages() override;

 private:
  struct OptOutAnswer {
    int Button;
    bool OptOut;
  };

  const UiQuestion& Ask(UiQuestion question);
  static void Unexpected(const UiQuestion& question);

  std::deque<int> msgBoxAnswers_;
  std::deque<OptOutAnswer> optOutAnswers_;
  std::deque<std::string> inputAnswers_;
  std::deque<std::string> fileAnswers_;
  std::deque<std::optional<std::uint32_t>> colorAnswers_;
  std::deque<std::optional<FontDialogChoice>> fontAnswers_;
  std::deque<PrintOutcome> printAnswers_;
  std::deque<int> popupAnswers_;
  std::vector<PopupMenuRequest> menus_;
  std::function<void()> onPump_;
  std::function<void(const UiQuestion&)> whileAsked_;
  std::vector<UiQuestion> questions_;
  std::vector<CanvasImage> printed_;
  int beeps_ = 0;
  int pumps_ = 0;
};

}  // namespace quendrel
