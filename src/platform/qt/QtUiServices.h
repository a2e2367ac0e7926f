// The dialogs, beep and message pump of the desktop, on Qt widgets.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "platform/UiServices.h"

namespace quendrel {

// "Parameter Files (*.KVB)|*.KVB|All Files (*.*)|*.*" as Qt's name filters
// ("Parameter Files (*.KVB)", "All Files (*)"): a description's own pattern text in
// parentheses is replaced by the pattern, ";" separated globs become space separated, and
// "*.*" matches every file as it always did on the drive PCs.
QStringList ToQtFilters(const std::string& filter);

// The text the OptOutBox's tick carries.
inline constexpr const char* OptOutCheckText = "Do not show this message again";

class QtUiServices : public UiServices {
 public:
  // Dialogs are centred on parent when given (the main window), else on the screen.
  explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParentWidget(QWidget* parent) { parent_ = parent; }

  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  int OptOutBox(const std::string& prompt, int style, const std::string& title, bool offerOptOut,
                bool& optedOut) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  std::string FileDialog(const FileDialogRequest& request) override;
  bool ColorDialog(std::uint32_t& color, int flags) override;
  // With cdlCFEffects a colour button ("bFontColor") beside the font lists offers the text
  // colour; without it, or while the user leaves it alone, the choice's colour comes back as given.
  bool FontDialog(FontDialogChoice& choice, int flags) override;
  PrintOutcome PrintPicture(const std::function<CanvasImage()>& picture, bool landscape) override;
  int PopupMenu(const PopupMenuRequest& request) override;
  void Beep() override;
  void PumpMessages() override;

 private:
  int ShowMessage(const std::string& prompt, int style, const std::string& title,
                  bool offerOptOut, bool* optedOut);

  QPointer<QWidget> parent_;
};

}  // namespace quendrel
