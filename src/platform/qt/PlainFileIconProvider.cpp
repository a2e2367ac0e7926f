#include "platform/qt/PlainFileIconProvider.h"

#include <QFileInfo>

namespace quendrel {

QIcon PlainFileIconProvider::icon(const QFileInfo& info) const {
  if (info.isRoot()) return icon(Drive);
  if (info.isDir()) return icon(Folder);
  return icon(File);
}

QString PlainFileIconProvider::type(const QFileInfo& info) const {
  if (info.isRoot()) return QStringLiteral("Drive");
  if (info.isDir()) return QStringLiteral("Folder");
  const QString suffix = info.suffix();
  return suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
}

}  // namespace quendrel
