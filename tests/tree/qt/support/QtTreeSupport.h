// Helpers for the tree's widget tests: the application, a small icon set drawn on the spot,
// and where pictures for people to look at are written.
#pragma once

#include <QImage>
#include <QString>
#include <memory>

#include "platform/qt/QtImageList.h"

namespace quendrel::test {

void EnsureApp();

// The seven parameter icons and "blank", 16 x 16, simple shapes in distinct colours on a
// transparent ground.
std::unique_ptr<QtImageList> SampleIcons();

// Saves under $QUENDREL_TEST_OUTPUT/tree (or the working folder); returns the path, empty
// when saving failed.
QString SaveRender(const QImage& image, const QString& name);

}  // namespace quendrel::test
