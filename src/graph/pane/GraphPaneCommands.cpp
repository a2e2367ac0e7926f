// The graph pane's mouse rules, its popup menu and the three output commands.
#include <utility>

#include "foundation/files/BrowseForFile.h"
#include "foundation/files/ReplaceFile.h"
#include "foundation/values/RuntimeError.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphPane.h"
#include "platform/BitmapFile.h"

namespace quendrel {
namespace {

enum MenuId {
  kPrintScreenshot = 1,
  kSnapshot,
  kSaveGraph,
  kTypeLine,
  kTypeHiLo,
  kTypeBar,
  kShowAverage,
  kShowCurrent,
  kProperties
};

constexpr int kRightButton = 2;
constexpr char kErrorTitle[] = "Graph Error";

std::function<void(GraphPane&)>& PreferencesDialog() {
  static std::function<void(GraphPane&)> dialog;
  return dialog;
}

void ShowError(const std::string& message) { Ui().MsgBox(message, vbExclamation, kErrorTitle); }

void ShowSaveError(const std::string& path, const std::string& reason) {
  ShowError("Unable to save " + path + ".\n" + reason);
}

}  // namespace

void GraphPane::SetPreferencesDialog(std::function<void(GraphPane&)> dialog) {
  PreferencesDialog() = std::move(dialog);
}

PopupMenuRequest GraphPane::Menu(float x, float y) const {
  PopupMenuRequest menu;
  menu.X = x;
  menu.Y = y;
  menu.ToScreen = toScreen_;
  menu.Items = {
      {kPrintScreenshot, "&Print Screenshot...", false, false, {}},
      {kSnapshot, "Save &Screenshot...", false, false, {}},
      {kSaveGraph, "Save Graph to &File...", false, false, {}},
      {},
      {0, "&Change Type", false, false,
       {{kTypeLine, "&Line", graphType_ == gpLine, false, {}},
        {kTypeHiLo, "&Hi/Lo", graphType_ == gpHiLo, false, {}},
        {kTypeBar, "&Bar", graphType_ == gpBar, false, {}}}},
      {0, "Show", false, false,
       {{kShowAverage, "&Average Value", showAverage_, false, {}},
        {kShowCurrent, "&Current Value", showCurrent_, false, {}}}},
      {},
      {kProperties, "&Properties...", false, true, {}},
  };
  return menu;
}

void GraphPane::MouseDown(const GraphPaneMouse& mouse) {
  if (isPreviewPane_) return;
  if (mouse.Button == kRightButton) RunMenuCommand(Ui().PopupMenu(Menu(mouse.X, mouse.Y)));
  Raise(GraphPaneEvent::MouseDown, mouse);
}

void GraphPane::Click() const {
  if (!isPreviewPane_) Raise(GraphPaneEvent::Click);
}

void GraphPane::DblClick() {
  if (isPreviewPane_) return;
  Preferences();
  Raise(GraphPaneEvent::DblClick);
}

void GraphPane::RunMenuCommand(int id) {
  if (isPreviewPane_) return;
  switch (id) {
    case kPrintScreenshot: PrintSnapshot(); break;
    case kSnapshot: SaveSnapshot(); break;
    case kSaveGraph: SaveGraphData(); break;
    case kTypeLine:
    case kTypeHiLo:
    case kTypeBar:
      SetGraphType(id - kTypeLine);
      Refresh();
      break;
    case kShowAverage:
      // The menu's toggles leave the container's saved settings as they were.
      showAverage_ = !showAverage_;
      if (showAverage_) showCurrent_ = false;
      Refresh();
      break;
    case kShowCurrent:
      showCurrent_ = !showCurrent_;
      if (showCurrent_) showAverage_ = false;
      Refresh();
      break;
    case kProperties: Preferences(); break;
    default: break;
  }
}

void GraphPane::Preferences() {
  if (PreferencesDialog()) PreferencesDialog()(*this);
  if (preferencesClosed_) preferencesClosed_();
}

void GraphPane::SaveSnapshot() const {
  if (isPreviewPane_) return;
  const std::string path = BrowseForFile(true, "Bitmap files (*.bmp)|*.BMP|All files (*.*)|*.*", 1,
                                         "Save Snapshot As...", "");
  if (path.empty()) return;
  const CanvasImage image = Snapshot();
  const ReplaceFileResult saved = ReplaceFile(path, BitmapFileBytes(image));
  if (!saved) ShowSaveError(path, saved.Reason);
}

void GraphPane::PrintSnapshot() const {
  if (isPreviewPane_) return;
  // The picture is taken after the dialog's OK, with what was scanned while it was open.
  if (Ui().PrintPicture([this] { return Snapshot(); }, true) == UiServices::PrintOutcome::Failed) {
    ShowError("Unable to print the graph.");
  }
}

void GraphPane::SaveGraphData() const {
  if (isPreviewPane_) return;
  const GraphDataControl* data = DataControl();
  if (data == nullptr) {
    ShowError("No data is linked to this graph.");
    return;
  }
  FileDialogRequest request;
  request.Save = true;
  request.Filter = "Data files (*.dat)|*.dat|All files (*.*)|*.*";
  request.Flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;
  request.Title = "Save Data As...";
  const std::string path = Ui().FileDialog(request);
  if (path.empty()) return;
  try {
    data->SaveAll(path, decimalSeparator_ ? decimalSeparator_() : '.');
  } catch (const RuntimeError& error) {
    ShowSaveError(path, error.Description());
  }
}

}  // namespace quendrel
