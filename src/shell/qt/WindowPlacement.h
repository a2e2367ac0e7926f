// Keeps the main window's position, size and state in the user's registry settings
// (application "Quendrel", group "Settings") from one run to the next.
#pragma once

#include <QRect>

class QWidget;

namespace quendrel {

class WindowPlacement {
 public:
  // Window states as they are stored.
  static constexpr int Normal = 0;
  static constexpr int Minimized = 1;
  static constexpr int Maximized = 2;

  struct Placement {
    QRect Geometry;  // of the normal (not maximised) window
    int State = Normal;
  };

  static void Save(const QWidget& window);
  // Puts the window where it was; a window that was minimised comes back normal, and one that
  // would lie entirely off the screens now present comes back at its default place.
  static void Restore(QWidget& window, const QRect& fallback);

  static void Write(const Placement& placement);
  // False when nothing was stored yet.
  static bool Read(Placement& placement);
};

}  // namespace quendrel
