// Icons and type names for a file dialog's list taken from the name and the kind of entry alone, so
// drawing the list never reads a file: a read of "/proc/kmsg" or of a FIFO nobody writes to never
// returns, and the dialog runs on the main thread.
#pragma once

#include <QFileIconProvider>

namespace quendrel {

class PlainFileIconProvider : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override;
  // The extension's type ("KVB File"), "File" without one, "Folder" for a folder.
  QString type(const QFileInfo& info) const override;
};

}  // namespace quendrel
