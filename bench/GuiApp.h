// An application for benchmarks that draw on images: made on first use, on the offscreen platform
// unless the environment names another.
#pragma once

#include <stdlib.h>

#include <QGuiApplication>

namespace quendrel::bench {

inline void EnsureGuiApp() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(argc, argv);
}

}  // namespace quendrel::bench
