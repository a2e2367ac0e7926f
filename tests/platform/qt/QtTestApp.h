// One QApplication for a whole test program, made on first use.
#pragma once

#include <QApplication>

namespace quendrel {

inline QApplication& QtTestApp() {
  static int argc = 1;
  static char name[] = "quendrel-platform-test";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

}  // namespace quendrel
