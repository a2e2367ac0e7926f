#include "flash/qt/ReportBoxFeedback.h"

namespace quendrel {

void ReportBoxFeedback::SetText(const std::string& text) {
  if (box_.isNull()) return;
  // Reports end their lines with CR LF; the box wants one line break per line.
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box_->setPlainText(shown);
}

}  // namespace quendrel
