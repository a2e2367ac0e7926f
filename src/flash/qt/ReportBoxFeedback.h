// Puts a drive function's report into the drive test window's report box, while the box lives.
// Laying out the box's text costs more than a drive exchange, and a command writes its report more
// than once (emptied first, then filled), so the box takes only the last text: when the command's
// handler ends, or at the next turn of the event loop for a transfer that pumps it meanwhile.
#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <string>

#include "comms/functions/TextFeedback.h"

namespace quendrel {

class ReportBoxFeedback final : public TextFeedback {
 public:
  explicit ReportBoxFeedback(QPlainTextEdit* box) : box_(box) {}
  void SetBox(QPlainTextEdit* box) { box_ = box; }
  // Shown by Flush or when the event loop next turns; a text equal to the one shown changes nothing.
  void SetText(const std::string& text) override;
  void Flush();
  // Reports are Latin-1, as the drive's texts are; a file name a report quotes is the file
  // system's bytes and is shown as such.
  void SetFileName(std::string path) { fileName_ = std::move(path); }

 private:
  void Show();
  QString Displayed(const std::string& text) const;

  QPointer<QPlainTextEdit> box_;
  // The context of the pending update: it goes with this sink, and the update with it.
  QObject turn_;
  std::string pending_;
  std::string shown_;
  bool scheduled_ = false;
  std::string fileName_;
};

}  // namespace quendrel
