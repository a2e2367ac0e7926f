// What the main window lends every window it opens: the area that holds child windows, the tree
// icons, and the owner that modal dialogs and tool windows sit over. Windows take this instead of
// reaching for the main window, so none of them depends on it.
#pragma once

class QMdiArea;
class QWidget;

namespace quendrel {

class ImageList;

struct WindowHost {
  QMdiArea* MdiArea = nullptr;
  const ImageList* Icons = nullptr;  // the tree icons of the chosen set; never null when opened
  QWidget* Owner = nullptr;
};

}  // namespace quendrel
