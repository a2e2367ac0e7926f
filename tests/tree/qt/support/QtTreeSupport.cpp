#include "tree/qt/support/QtTreeSupport.h"

#include "support/QtTestApp.h"
#include "support/TestOutput.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel::test {

void EnsureApp() { QtTestApp(); }

std::unique_ptr<QtImageList> SampleIcons() {
  EnsureApp();
  auto icons = std::make_unique<QtImageList>(Artwork::TreeIconSize, Artwork::TreeIconSize);
  Artwork::FillTreeIcons(*icons, IconSetKind::Functional);
  return icons;
}

QString SaveRender(const QImage& image, const QString& name) {
  const QString path = QString::fromStdString(TestOutputPath("tree", name.toStdString()));
  return image.save(path) ? path : QString();
}

}  // namespace quendrel::test
