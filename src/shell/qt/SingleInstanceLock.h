// The lock that keeps a second Quendrel from starting while one runs, held for the program's
// life and given up when the object goes (or the process dies).
#pragma once

#include <QLockFile>
#include <QString>

namespace quendrel {

class SingleInstanceLock {
 public:
  // The lock file in the user's runtime folder.
  static QString DefaultPath();

  explicit SingleInstanceLock(const QString& path = DefaultPath());
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // True when this object holds the lock now (taking it if it is free); false when another
  // running program holds it. A lock left by a program that died is taken over.
  bool Acquire();
  bool IsHeld() const { return lock_.isLocked(); }

 private:
  QLockFile lock_;
};

}  // namespace quendrel
