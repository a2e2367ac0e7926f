// Helpers for the tree's widget tests: the application, the program's own functional icon set,
// and where pictures for people to look at are written.
#pragma once

#include <QImage>
#include <QString>
#include <memory>

#include "platform/qt/QtImageList.h"

namespace quendrel::test {

void EnsureApp();

// The seven parameter icons and "blank" of the functional set, as the program shows them.
std::unique_ptr<QtImageList> SampleIcons();

// Saves under $QUENDREL_TEST_OUTPUT/tree (or the working folder); returns the path, empty
// when saving failed.
QString SaveRender(const QImage& image, const QString& name);

}  // namespace quendrel::test
