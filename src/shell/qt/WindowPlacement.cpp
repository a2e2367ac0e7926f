#include "shell/qt/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace quendrel {

namespace {

QSettings Store() { return QSettings(QStringLiteral("Quendrel"), QStringLiteral("Quendrel")); }

bool OnSomeScreen(const QRect& geometry) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(geometry)) return true;
  }
  return false;
}

}  // namespace

void WindowPlacement::Write(const Placement& placement) {
  QSettings settings = Store();
  settings.beginGroup(QStringLiteral("Settings"));
  settings.setValue(QStringLiteral("MainLeft"), placement.Geometry.left());
  settings.setValue(QStringLiteral("MainTop"), placement.Geometry.top());
  settings.setValue(QStringLiteral("MainWidth"), placement.Geometry.width());
  settings.setValue(QStringLiteral("MainHeight"), placement.Geometry.height());
  settings.setValue(QStringLiteral("MainWindowState"), placement.State);
  settings.endGroup();
  settings.sync();
}

bool WindowPlacement::Read(Placement& placement) {
  QSettings settings = Store();
  settings.beginGroup(QStringLiteral("Settings"));
  if (!settings.contains(QStringLiteral("MainWidth"))) return false;
  placement.Geometry = QRect(settings.value(QStringLiteral("MainLeft")).toInt(),
                             settings.value(QStringLiteral("MainTop")).toInt(),
                             settings.value(QStringLiteral("MainWidth")).toInt(),
                             settings.value(QStringLiteral("MainHeight")).toInt());
  placement.State = settings.value(QStringLiteral("MainWindowState"), Normal).toInt();
  return true;
}

void WindowPlacement::Save(const QWidget& window) {
  Placement placement;
  placement.Geometry = window.isMaximized() || window.isMinimized() ? window.normalGeometry()
                                                                    : window.geometry();
  if (!placement.Geometry.isValid()) placement.Geometry = window.geometry();
  placement.State = window.isMaximized() ? Maximized : window.isMinimized() ? Minimized : Normal;
  Write(placement);
}

void WindowPlacement::Restore(QWidget& window, const QRect& fallback) {
  Placement placement;
  const bool stored = Read(placement) && placement.Geometry.width() > 0 &&
                      placement.Geometry.height() > 0;
  const QRect geometry =
      stored && OnSomeScreen(placement.Geometry) ? placement.Geometry : fallback;
  window.setGeometry(geometry);
  if (stored && placement.State == Maximized) window.setWindowState(Qt::WindowMaximized);
}

}  // namespace quendrel
