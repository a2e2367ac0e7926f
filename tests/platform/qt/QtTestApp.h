// The platform tests share the widget tests' application: it ends after the last test, before Qt's
// own statics, which a file dialog's threads and completer leave behind, are gone.
#pragma once

#include "support/QtTestApp.h"
