// Quendrel's own pictures, drawn with QPainter when first needed: the four sets of parameter
// tree icons, the window icon and the wizard pictures.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

#include "platform/qt/QtImageList.h"
#include "widgets/TreeIcons.h"

namespace quendrel {

class Artwork {
 public:
  static constexpr int TreeIconSize = 16;

  // One of the eight keys of TreeIconKeys; "blank" and unknown keys give a transparent icon.
  static QPixmap TreeIcon(IconSetKind set, const std::string& key);
  // A list holding every key of TreeIconKeys.
  static void FillTreeIcons(QtImageList& list, IconSetKind set);

  // The program icon in the sizes window managers ask for.
  static QIcon WindowIcon();
  static QPixmap WindowPicture(int size);

  // Bitmap resource 101 (the wizard's tall side picture, 164 x 314) and 102 (its 64 x 64
  // page heading picture); a null pixmap for any other number.
  static QPixmap WizardPicture(int number);
};

}  // namespace quendrel
