// Qt's file dialog that, when saving, gives a name the chosen filter's extension unless the name
// already ends in one of the filter's, so the saved file shows under that filter afterwards.
#pragma once

#include <QFileDialog>

namespace quendrel {

// The extension a Qt name filter's first glob names ("KVB" for "... (*.KVB *.KVD)"); none for a
// filter of every file.
QString ExtensionOfFilter(const QString& nameFilter);

// Whether the file name is one the name filter lists, in any letter case as the dialog lists them.
bool FilterListsName(const QString& nameFilter, const QString& fileName);

class FilterExtensionDialog : public QFileDialog {
 public:
  FilterExtensionDialog(QWidget* parent, const QString& caption) : QFileDialog(parent, caption) {}

  // From now on a name the user accepts takes the chosen filter's extension. Call once the filters
  // are set.
  void GiveNamesTheFilterExtension();

 protected:
  // The name is completed before Qt's own accept asks about replacing an existing file, so the
  // question names the file that will be written.
  void accept() override;

 private:
  void AddMissingExtension();

  bool givesExtension_ = false;
};

}  // namespace quendrel
