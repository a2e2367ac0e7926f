#include "platform/qt/QtUiServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

#include "platform/qt/FilterExtensionDialog.h"
#include "platform/qt/FontColorDialog.h"
#include "platform/qt/PlainFileIconProvider.h"
#include "platform/qt/QtConvert.h"

namespace quendrel {
namespace {

// A box without a title shows the program's name, as message boxes always did.
QString TitleOrProgramName(const std::string& title) {
  return title.empty() ? QStringLiteral("Quendrel") : ToQMessage(title);
}

QMessageBox::Icon IconOf(int style) {
  switch (style & vbIconMask) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButton QtButton(int button) {
  switch (button) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    case vbNo: return QMessageBox::No;
    default: return QMessageBox::NoButton;
  }
}

int VbButton(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return vbOK;
    case QMessageBox::Cancel: return vbCancel;
    case QMessageBox::Abort: return vbAbort;
    case QMessageBox::Retry: return vbRetry;
    case QMessageBox::Ignore: return vbIgnore;
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    default: return 0;
  }
}

// Escape answers Cancel where there is one, and OK in a box with OK alone.
int EscapeAnswer(int style) {
  for (int position = 1; position <= ButtonCount(style); ++position) {
    if (ButtonOfSet(style, position) == vbCancel) return vbCancel;
  }
  return ButtonCount(style) == 1 ? vbOK : 0;
}

QString FilterEntry(const QString& description, const QString& pattern) {
  QStringList globs = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& glob : globs) {
    glob = glob.trimmed();
    if (glob == QLatin1String("*.*")) glob = QStringLiteral("*");
  }
  QString name = description.trimmed();
  static const QRegularExpression trailingPattern(QStringLiteral("\\s*\\([^()]*\\)$"));
  name.remove(trailingPattern);
  return name + QStringLiteral(" (") + globs.join(QLatin1Char(' ')) + QLatin1Char(')');
}

void AddPopupItems(QMenu& menu, const std::vector<PopupMenuItem>& items) {
  for (const PopupMenuItem& item : items) {
    if (item.Caption.empty() && item.Submenu.empty()) {
      menu.addSeparator();
      continue;
    }
    if (!item.Submenu.empty()) {
      AddPopupItems(*menu.addMenu(ToQString(item.Caption)), item.Submenu);
      continue;
    }
    QAction* action = menu.addAction(ToQString(item.Caption));
    action->setData(item.Id);
    action->setCheckable(item.Checked);
    action->setChecked(item.Checked);
    if (!item.Default) continue;
    QFont bold = action->font();
    bold.setBold(true);
    action->setFont(bold);
    menu.setDefaultAction(action);
  }
}

void SelectFilter(QFileDialog& dialog, const std::string& filter, int index) {
  const QStringList filters = ToQtFilters(filter);
  if (filters.isEmpty()) return;
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters[std::clamp<qsizetype>(index, 1, filters.size()) - 1]);
}

}  // namespace

QStringList ToQtFilters(const std::string& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters.push_back(FilterEntry(parts[i], parts[i + 1]));
  }
  return filters;
}

int QtUiServices::ShowMessage(const std::string& prompt, int style, const std::string& title,
                              bool offerOptOut, bool* optedOut) {
  QMessageBox box(IconOf(style), TitleOrProgramName(title), ToQMessage(prompt),
                  QMessageBox::NoButton, parent_);
  for (int position = 1; position <= ButtonCount(style); ++position) {
    box.addButton(QtButton(ButtonOfSet(style, position)));
  }
  box.setDefaultButton(QtButton(DefaultButton(style)));
  if (const int escape = EscapeAnswer(style); escape != 0) box.setEscapeButton(QtButton(escape));
  if (offerOptOut) box.setCheckBox(new QCheckBox(QString::fromLatin1(OptOutCheckText), &box));
  box.exec();
  if (optedOut != nullptr) {
    *optedOut = box.checkBox() != nullptr && box.checkBox()->isChecked();
  }
  const int answer = VbButton(box.standardButton(box.clickedButton()));
  return answer != 0 ? answer : DefaultButton(style);
}

int QtUiServices::MsgBox(const std::string& prompt, int style, const std::string& title) {
  return ShowMessage(prompt, style, title, false, nullptr);
}

int QtUiServices::OptOutBox(const std::string& prompt, int style, const std::string& title,
                            bool offerOptOut, bool& optedOut) {
  return ShowMessage(prompt, style, title, offerOptOut, &optedOut);
}

std::string QtUiServices::InputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
  bool accepted = false;
  const QString text = QInputDialog::getText(parent_, TitleOrProgramName(title),
                                             ToQMessage(prompt), QLineEdit::Normal,
                                             ToQString(defaultText), &accepted);
  return accepted ? FromQString(text) : std::string();
}

std::string QtUiServices::FileDialog(const FileDialogRequest& request) {
  PlainFileIconProvider icons;  // outlives the dialog, whose list uses it to the end
  FilterExtensionDialog dialog(parent_, ToQMessage(request.Title));
  // Qt's own dialog on every desktop, so the rules below hold wherever the program runs.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&icons);
  dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.Save || (request.Flags & cdlOFNFileMustExist) == 0
                         ? QFileDialog::AnyFile
                         : QFileDialog::ExistingFile);
  if (request.Save && (request.Flags & cdlOFNOverwritePrompt) == 0) {
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  }
  SelectFilter(dialog, request.Filter, request.FilterIndex);
  // Saved as "x" or "Pump 2.5kW", a file would hide from its own filter afterwards.
  if (request.Save) dialog.GiveNamesTheFilterExtension();
  if (!request.InitialName.empty()) dialog.selectFile(ToQPath(request.InitialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return FromQPath(dialog.selectedFiles().front());
}

bool QtUiServices::ColorDialog(std::uint32_t& color, int flags) {
  // Without the start-colour flag the dialog opens on black, as the old one did.
  const QColor initial = (flags & cdlCCRGBInit) != 0 ? ToQColor(color) : QColor(Qt::black);
  const QColor chosen = QColorDialog::getColor(initial, parent_);
  if (!chosen.isValid()) return false;
  color = FromQColor(chosen);
  return true;
}

bool QtUiServices::FontDialog(FontDialogChoice& choice, int flags) {
  FontColorDialog dialog(choice, flags, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  choice = dialog.Choice();
  return true;
}

UiServices::PrintOutcome QtUiServices::PrintPicture(const std::function<CanvasImage()>& picture,
                                                    bool landscape) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPrintDialog dialog(&printer, parent_);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
  const CanvasImage image = picture();
  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome::Failed;
  // The picture keeps its size: pixels at 96 per inch.
  const double scale = printer.resolution() / 96.0;
  painter.scale(scale, scale);
  painter.drawImage(QPoint(0, 0), ToQImage(image));
  return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

int QtUiServices::PopupMenu(const PopupMenuRequest& request) {
  QMenu menu(parent_);
  AddPopupItems(menu, request.Items);
  ScreenPoint at{static_cast<int>(request.X / TwipsPerPixel), static_cast<int>(request.Y / TwipsPerPixel)};
  if (request.ToScreen) at = request.ToScreen(request.X, request.Y);
  QPoint point(at.X, at.Y);
  if (request.RightAligned) point.rx() -= menu.sizeHint().width();
  const QAction* chosen = menu.exec(point);
  return chosen == nullptr ? 0 : chosen->data().toInt();
}

void QtUiServices::Beep() { QApplication::beep(); }

void QtUiServices::PumpMessages() { QCoreApplication::processEvents(); }

}  // namespace quendrel
