#include "flash/qt/ReportBoxFeedback.h"

#include <algorithm>

#include "platform/qt/QtConvert.h"

namespace quendrel {
namespace {

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void ReportBoxFeedback::SetText(const std::string& text) {
  pending_ = text;
  if (scheduled_) return;
  scheduled_ = true;
  QMetaObject::invokeMethod(
      &turn_,
      [this] {
        scheduled_ = false;
        Show();
      },
      Qt::QueuedConnection);
}

// The update already queued stays queued, so a handler that never lets the loop turn queues one at most.
void ReportBoxFeedback::Flush() { Show(); }

void ReportBoxFeedback::Show() {
  if (box_.isNull() || pending_ == shown_) return;
  shown_ = pending_;
  box_->setPlainText(Displayed(shown_));
}

QString ReportBoxFeedback::Displayed(const std::string& text) const {
  QString shown;
  std::size_t from = 0;
  // Plain ASCII reads the same either way.
  if (!fileName_.empty() && !IsAscii(fileName_)) {
    for (std::size_t at = text.find(fileName_); at != std::string::npos; at = text.find(fileName_, from)) {
      shown += ToQString(text.substr(from, at - from)) + ToQPath(fileName_);
      from = at + fileName_.size();
    }
  }
  shown += ToQString(text.substr(from));
  // Reports end their lines with CR LF; the box wants one line break per line.
  return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace quendrel
