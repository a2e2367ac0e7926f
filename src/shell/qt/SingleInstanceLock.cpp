#include "shell/qt/SingleInstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace quendrel {

QString SingleInstanceLock::DefaultPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/quendrel.lock");
}

SingleInstanceLock::SingleInstanceLock(const QString& path) : lock_(path) {
  // A running program may hold the lock for days; only a dead owner makes it stale.
  lock_.setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() {
  if (lock_.isLocked()) lock_.unlock();
}

bool SingleInstanceLock::Acquire() { return lock_.isLocked() || lock_.tryLock(0); }

}  // namespace quendrel
