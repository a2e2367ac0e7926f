// The font dialog with the effects part's text colour: Qt's font lists and effects, a colour button
// beside them, OK and Cancel.
#pragma once

#include <QColor>
#include <QDialog>
#include <cstdint>

#include "platform/UiServices.h"

class QFontDialog;
class QPushButton;

namespace quendrel {

class FontColorDialog : public QDialog {
 public:
  // The colour button is offered only with cdlCFEffects in flags.
  FontColorDialog(const FontDialogChoice& start, int flags, QWidget* parent = nullptr);

  // The font and colour as the user left them; a colour the user never picked stays as given, so
  // a system colour comes back as the system colour, and so does a font the user left as it opened,
  // though Qt showed a face this machine lacks as another.
  FontDialogChoice Choice() const;
  QPushButton* ColorButton() const { return colorButton_; }

 private:
  void PickColor();
  void ShowColor();

  FontDialogChoice start_;
  QFontDialog* fonts_;
  // The start font as the lists show it, what an unchanged choice is told apart from.
  CanvasFont opened_;
  QPushButton* colorButton_ = nullptr;
  std::uint32_t color_;
  bool colorPicked_ = false;
};

}  // namespace quendrel
