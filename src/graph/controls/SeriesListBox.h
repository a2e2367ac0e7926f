// The owner-drawn list of a window's series: one row per series with its colour, name, live value,
// action and gain; menus and in-place editors change them and tell the host by events. Display-free:
// it draws on the canvas the host hands it and keeps the state of the scroll bar and the editors,
// which the host's widgets follow.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graph/data/FormControl.h"
#include "graph/data/SeriesCollection.h"
#include "platform/Canvas.h"
#include "platform/PropertyBag.h"
#include "platform/UiServices.h"

namespace quendrel {

class FormControls;
class GraphDataControl;
class ImageList;

// The scroll bar at the list's right edge; the value is a percentage of the scrollable height.
struct SeriesListScrollBar {
  bool Shown = false;
  int Min = 0;
  int Max = 100;
  int SmallChange = 5;
  int LargeChange = 20;
  int Value = 0;
  // Place in twips; the width is the host's own.
  float Left = 0.0f;
  float Height = 0.0f;
};

enum class SeriesListEditorKind { None, Number, ValueName };

// The one in-place editor that may be open, where it stands and what it holds.
struct SeriesListEditor {
  SeriesListEditorKind Open = SeriesListEditorKind::None;
  float Left = 0.0f;  // twips, on the canvas
  float Top = 0.0f;
  float Width = 0.0f;
  std::string Text;                  // the number editor's text
  std::vector<std::string> Entries;  // the value names offered
  std::vector<int> EntryIndexes;     // the value each entry stands for
  int Chosen = -1;                   // the entry chosen; -1 for none
  std::weak_ptr<gdSeries> Series;    // the series the editor was opened on
};

// What the list needs of its host's widgets.
struct SeriesListHost {
  std::function<void()> LayoutChanged;   // canvas width, scroll bar or editors to follow
  std::function<void()> Drawn;           // the canvas holds a new picture
  std::function<void()> FocusCanvas;
  std::function<void()> FocusEditor;     // the editor just opened takes the focus
  std::function<ScreenPoint(float x, float y)> ToScreen;
};

class SeriesListBox : public FormControl {
 public:
  static constexpr FormControlKind kKind = FormControlKind::SeriesListBox;
  static constexpr float kMinimumWidth = 5800.0f;

  // Popup menu item Ids.
  enum MenuId : int {
    mnuGraphAndLog = 1, mnuLogOnly, mnuGraphOnly, mnuEditOnly,
    mnuGainpoint1 = 11, mnuGainpoint25, mnuGainpoint5, mnuGain1, mnuGain2, mnuGain5, mnuGain10,
    mnuGain50, mnuGain100, mnuGain1000, mnuGainCustom
  };

  // Joins the window's registry under that name, when there is one, until it ends.
  SeriesListBox(FormControls* form, std::string name);
  ~SeriesListBox() override;
  SeriesListBox(const SeriesListBox&) = delete;
  SeriesListBox& operator=(const SeriesListBox&) = delete;

  FormControlKind Kind() const override { return kKind; }
  const std::string& Name() const override { return name_; }

  // The surface everything is drawn on and measured with; it must outlive its use here.
  void SetCanvas(Canvas* canvas) { canvas_ = canvas; }
  void SetHost(SeriesListHost host) { host_ = std::move(host); }
  // The RW column and its pictures ("readonly", "pram"); images may be null without icons.
  void SetIcons(bool useIcons, const ImageList* images);
  // Told whenever a stored setting changed.
  void OnSettingsChanged(std::function<void()> hook) { settingsChanged_ = std::move(hook); }

  void OnValueChanged(std::function<void(gdSeries&, double)> hook) { valueChanged_ = std::move(hook); }
  // A typed text that is no number: nothing is committed, and the owner says why.
  void OnValueRefused(std::function<void()> hook) { valueRefused_ = std::move(hook); }
  void OnColorChanged(std::function<void(gdSeries&)> hook) { colorChanged_ = std::move(hook); }
  void OnActionChanged(std::function<void(gdSeries&)> hook) { actionChanged_ = std::move(hook); }
  void OnGainChanged(std::function<void(gdSeries&)> hook) { gainChanged_ = std::move(hook); }

  // Properties.
  std::int32_t ListIndex() const { return listIndex_; }
  void SetListIndex(std::int32_t index);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool ShowHeader() const { return showHeader_; }
  void SetShowHeader(bool show);
  std::string DataControl() const;
  void SetDataControl(const std::string& name);
  void Refresh();
  // The narrowest the list may be with every column showing whole, its scroll bar included.
  std::int32_t MinWidth();

  // Geometry and state the host and tests read.
  float Width() const { return width_; }
  float Height() const { return height_; }
  float CanvasWidth() const { return canvasWidth_; }
  std::int32_t RowHeight() const { return rowHeight_; }
  std::int32_t ScrollTop() const { return scrollTop_; }
  std::int32_t NameLeft() const { return nameLeft_; }
  std::int32_t ValueLeft() const { return valueLeft_; }
  bool HasFocus() const { return hasFocus_; }
  bool IgnoreEnterKeyUp() const { return ignoreEnterKeyUp_; }
  const SeriesListScrollBar& ScrollBar() const { return scrollBar_; }
  const SeriesListEditor& Editor() const { return editor_; }
  GraphDataControl* HeldDataControl() const;

  // Host events. Mouse positions in twips on the canvas; button 1 is the left one.
  void Resize(float width, float height);
  void SetScrollBarWidth(float width) { scrollBarWidth_ = width; }
  void ScrollBarChanged(int value);
  void MouseDown(int button, int shift, float x, float y) { HandleListClick(button, shift, x, y, -1); }
  void MouseMove(int button, int shift, float x, float y) { HandleListClick(button, shift, x, y, 0); }
  void MouseUp(int button, int shift, float x, float y) { HandleListClick(button, shift, x, y, 1); }
  void DblClick();
  void KeyUp(int keyCode);
  void EnterFocus();
  void ExitFocus();
  void EditorKeyDown(int keyCode);
  void EditorTextChanged(std::string text) { editor_.Text = std::move(text); }
  void EditorChoiceChanged(int entry) { editor_.Chosen = entry; }
  void CommitListEdit();
  void CancelListEdit();
  void RunMenuCommand(int id);

  // Paints header and rows; with onlyDirty, rows whose series is not dirty are left as they are.
  void PaintSeriesList(bool onlyDirty);

  // Stored settings.
  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

 private:

  void LayoutSeriesList();
  void UpdateListScrollBar();
  void HandleListClick(int button, int shift, float x, float y, int phase);
  void OpenActionMenu(const std::shared_ptr<gdSeries>& series, float right, float bottom);
  void OpenGainMenu(const std::shared_ptr<gdSeries>& series, float bottom);
  void PickColor(gdSeries& series);
  void SetAction(gdSeries& series, bool logged, bool visible);
  void SetGain(gdSeries& series, double gain);
  void AskCustomGain(gdSeries& series);
  void OpenNumberEditor(const std::shared_ptr<gdSeries>& series);
  void OpenValueNameEditor(const std::shared_ptr<gdSeries>& series);
  void PlaceEditor(const std::shared_ptr<gdSeries>& series, SeriesListEditorKind kind);
  bool StillHeld(const std::shared_ptr<gdSeries>& series) const;
  std::shared_ptr<gdSeries> SeriesAt(std::int32_t row) const;
  std::int32_t SeriesCount() const;

  void PaintHeader(Canvas& canvas);
  void PaintRow(Canvas& canvas, const gdSeries& series, std::int32_t row, std::int32_t y, bool last);
  void PaintRowBackground(Canvas& canvas, const gdSeries& series, bool selected, std::int32_t y,
                          Color& text);
  void PrintWithArrow(Canvas& canvas, const std::string& text, float x, std::int32_t rowTop);
  void PrintCentred(Canvas& canvas, const std::string& text, float x, std::int32_t rowTop);
  std::int32_t HeaderHeight() const;
  std::int32_t ActionLeft() const;
  std::int32_t GainLeft() const;

  float Px(float pixels) const { return Canvas::PixelsToTwipsX(pixels); }
  float Py(float pixels) const { return Canvas::PixelsToTwipsY(pixels); }
  float TextWidth(const std::string& text) const;
  float TextHeight(const std::string& text) const;
  // A stored setting changed: the host saves again and the list repaints.
  void Changed();
  void TellLayout() const;
  void TellDrawn() const;
  void FocusCanvas() const;

  FormControls* form_;
  std::string name_;
  std::string boundName_;
  Canvas* canvas_ = nullptr;
  SeriesListHost host_;
  bool useIcons_ = false;
  const ImageList* images_ = nullptr;
  std::function<void()> settingsChanged_;
  std::function<void(gdSeries&, double)> valueChanged_;
  std::function<void()> valueRefused_;
  std::function<void(gdSeries&)> colorChanged_;
  std::function<void(gdSeries&)> actionChanged_;
  std::function<void(gdSeries&)> gainChanged_;

  // Row arithmetic is 32-bit: sixteen bits ran out at about 140 series.
  std::int32_t listIndex_ = 0;
  std::int32_t rowHeight_ = 0;
  std::int32_t scrollTop_ = 0;
  std::int32_t nameLeft_ = 0;
  std::int32_t valueLeft_ = 0;
  std::int32_t swatchWidth_ = 0;
  std::int32_t swatchHeight_ = 0;
  std::int32_t padX_ = 0;
  std::int32_t padY_ = 0;
  std::int32_t editorWidth_ = 0;
  bool ignoreEnterKeyUp_ = false;
  bool showHeader_ = false;
  bool hasFocus_ = false;
  bool enabled_ = true;
  float width_ = kMinimumWidth;
  float height_ = 3000.0f;
  float canvasWidth_ = kMinimumWidth;
  float scrollBarWidth_ = 17.0f * TwipsPerPixel;
  SeriesListScrollBar scrollBar_;
  SeriesListEditor editor_;
};

}  // namespace quendrel
