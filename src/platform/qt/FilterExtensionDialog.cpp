#include "platform/qt/FilterExtensionDialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

namespace quendrel {

namespace {

// The globs inside a Qt name filter's last parentheses ("*.KVB", "*.KVD").
QStringList GlobsOfFilter(const QString& nameFilter) {
  static const QRegularExpression globList(QStringLiteral("\\(([^()]*)\\)$"));
  const QRegularExpressionMatch match = globList.match(nameFilter.trimmed());
  if (!match.hasMatch()) return {};
  return match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

QString ExtensionOfFilter(const QString& nameFilter) {
  static const QRegularExpression firstGlob(QStringLiteral("\\(\\*\\.([^ *?\\[\\]()]+)[^()]*\\)$"));
  const QRegularExpressionMatch match = firstGlob.match(nameFilter);
  return match.hasMatch() ? match.captured(1) : QString();
}

bool FilterListsName(const QString& nameFilter, const QString& fileName) {
  const QStringList globs = GlobsOfFilter(nameFilter);
  return std::any_of(globs.begin(), globs.end(), [&fileName](const QString& glob) {
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(glob),
                                     QRegularExpression::CaseInsensitiveOption);
    return pattern.match(fileName).hasMatch();
  });
}

void FilterExtensionDialog::GiveNamesTheFilterExtension() {
  givesExtension_ = true;
  // Qt's own suffix covers a name with no dot at all; AddMissingExtension the rest ("Pump 2.5kW").
  setDefaultSuffix(ExtensionOfFilter(selectedNameFilter()));
  connect(this, &QFileDialog::filterSelected, this,
          [this](const QString& filter) { setDefaultSuffix(ExtensionOfFilter(filter)); });
}

void FilterExtensionDialog::accept() {
  if (givesExtension_) AddMissingExtension();
  QFileDialog::accept();
}

void FilterExtensionDialog::AddMissingExtension() {
  const QStringList files = selectedFiles();
  auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (files.isEmpty() || nameBox == nullptr) return;
  const QString filter = selectedNameFilter();
  const QString extension = ExtensionOfFilter(filter);
  const QFileInfo chosen(files.front());
  if (extension.isEmpty() || chosen.isDir() || FilterListsName(filter, chosen.fileName())) return;
  QString name = chosen.fileName();
  if (name.endsWith(QLatin1Char('.'))) name.chop(1);
  name += QLatin1Char('.') + extension;
  // The name box is what the dialog takes the file from; a name in the folder shown stays short there.
  const bool shownFolder = chosen.absolutePath() == directory().absolutePath();
  nameBox->setText(shownFolder ? name : chosen.absolutePath() + QLatin1Char('/') + name);
}

}  // namespace quendrel
