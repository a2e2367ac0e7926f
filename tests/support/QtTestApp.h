// The one QApplication of a widget test program, made on first use with its per-user settings and
// runtime folder in a private temporary folder, so no test reads or writes the user's own.
#pragma once

#include <QApplication>

namespace quendrel {

QApplication& QtTestApp();

}  // namespace quendrel
