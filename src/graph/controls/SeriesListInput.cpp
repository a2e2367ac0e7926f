// What the series list does with the mouse, its menus and its in-place editors.
#include <array>
#include <cmath>

#include "foundation/text/NumberText.h"
#include "graph/controls/SeriesListBox.h"
#include "graph/controls/SeriesListTexts.h"
#include "graph/data/GraphDataControl.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

struct GainItem {
  int Id;
  const char* Caption;
  double Gain;
};

constexpr std::array<GainItem, 10> kGainItems = {{
    {SeriesListBox::mnuGainpoint1, "0.1", 0.1},
    {SeriesListBox::mnuGainpoint25, "0.25", 0.25},
    {SeriesListBox::mnuGainpoint5, "0.5", 0.5},
    {SeriesListBox::mnuGain1, "1", 1.0},
    {SeriesListBox::mnuGain2, "2", 2.0},
    {SeriesListBox::mnuGain5, "5", 5.0},
    {SeriesListBox::mnuGain10, "10", 10.0},
    {SeriesListBox::mnuGain50, "50", 50.0},
    {SeriesListBox::mnuGain100, "100", 100.0},
    {SeriesListBox::mnuGain1000, "1000", 1000.0},
}};

PopupMenuItem MenuItem(int id, std::string caption, bool checked) {
  PopupMenuItem item;
  item.Id = id;
  item.Caption = std::move(caption);
  item.Checked = checked;
  return item;
}

}  // namespace

void SeriesListBox::HandleListClick(int button, int /*shift*/, float x, float y, int phase) {
  if (button != 1 || !enabled_ || HeldDataControl() == nullptr) return;
  bool repaint = false;
  LayoutSeriesList();
  const std::int32_t h = HeaderHeight();
  std::int32_t row = static_cast<std::int32_t>(std::floor((y - h + scrollTop_) / rowHeight_)) + 1;
  if (row < 1 || row > SeriesCount()) row = -1;
  const bool moved = row != listIndex_;
  if (moved) {
    CancelListEdit();
    listIndex_ = row;
    repaint = phase == -1;
  }
  if (phase == 0 && !moved) return;
  if (row == -1) {
    if (repaint) Refresh();
    return;
  }
  const std::shared_ptr<gdSeries> s = SeriesAt(row);
  const std::string action = SeriesActionText(*s);
  const std::int32_t a = RoundHalfEven(canvasWidth_ - TextWidth(action + "--u--") - TextWidth("x0000--u--") - Px(5));
  const std::int32_t b = RoundHalfEven(canvasWidth_ - TextWidth("x0000--u--"));
  const auto menuBottom = static_cast<float>(row * rowHeight_ + h - scrollTop_);
  if (x > a && x < b - Px(5)) {
    if (phase == -1) OpenActionMenu(s, b - Px(5), menuBottom);
  } else if (x > b) {
    if (phase == -1) OpenGainMenu(s, menuBottom);
  } else if (phase == 1 && x < padX_ + swatchWidth_) {
    PickColor(*s);
  }
  PaintSeriesList(true);
}

void SeriesListBox::OpenActionMenu(const std::shared_ptr<gdSeries>& series, float right, float bottom) {
  const bool visible = series->Visible();
  const bool logged = series->Logged();
  PopupMenuRequest menu;
  menu.Items = {MenuItem(mnuGraphAndLog, "Graph && Log", visible && logged),
                MenuItem(mnuLogOnly, "Log Only", !visible && logged),
                MenuItem(mnuGraphOnly, "Graph Only", visible && !logged),
                MenuItem(mnuEditOnly, series->ReadOnly() ? "View Only" : "Edit Only", !visible && !logged)};
  menu.X = right;
  menu.Y = bottom;
  menu.RightAligned = true;
  menu.ToScreen = host_.ToScreen;
  Refresh();
  const int chosen = Ui().PopupMenu(menu);
  // Timers run while the menu is open and may have changed the rows meanwhile.
  if (chosen != 0 && StillHeld(series) && series == SeriesAt(listIndex_)) RunMenuCommand(chosen);
}

void SeriesListBox::OpenGainMenu(const std::shared_ptr<gdSeries>& series, float bottom) {
  PopupMenuRequest menu;
  bool onMenu = false;
  for (const GainItem& item : kGainItems) {
    const bool checked = series->Gain() == item.Gain;
    onMenu = onMenu || checked;
    menu.Items.push_back(MenuItem(item.Id, item.Caption, checked));
  }
  menu.Items.push_back(MenuItem(mnuGainCustom, "Custom...", !onMenu));
  menu.X = canvasWidth_;
  menu.Y = bottom;
  menu.RightAligned = true;
  menu.ToScreen = host_.ToScreen;
  Refresh();
  const int chosen = Ui().PopupMenu(menu);
  if (chosen != 0 && StillHeld(series) && series == SeriesAt(listIndex_)) RunMenuCommand(chosen);
}

void SeriesListBox::RunMenuCommand(int id) {
  const std::shared_ptr<gdSeries> series = SeriesAt(listIndex_);
  if (series == nullptr) return;
  switch (id) {
    case mnuGraphAndLog: SetAction(*series, true, true); return;
    case mnuLogOnly: SetAction(*series, true, false); return;
    case mnuGraphOnly: SetAction(*series, false, true); return;
    case mnuEditOnly: SetAction(*series, false, false); return;
    case mnuGainCustom: AskCustomGain(*series); return;
    default: break;
  }
  for (const GainItem& item : kGainItems) {
    if (item.Id == id) SetGain(*series, item.Gain);
  }
}

void SeriesListBox::SetAction(gdSeries& series, bool logged, bool visible) {
  series.SetLogged(logged);
  series.SetVisible(visible);
  PaintSeriesList(true);
  if (actionChanged_) actionChanged_(series);
}

void SeriesListBox::SetGain(gdSeries& series, double gain) {
  series.SetGain(gain);
  PaintSeriesList(true);
  if (gainChanged_) gainChanged_(series);
}

void SeriesListBox::AskCustomGain(gdSeries& series) {
  ignoreEnterKeyUp_ = true;
  // The box is read with ".", so it is filled with "." too, whatever the locale.
  const std::string typed = Ui().InputBox("Input a gain value:", "Custom Gain Selection", DoubleToText(series.Gain()));
  FocusCanvas();
  if (typed.empty()) return;
  double gain = LeadingNumber(typed);
  // A gain that is not finite would blank the series' drawing and not survive the scan list.
  if (!std::isfinite(gain)) return;
  if (gain == 0.0) gain = 1.0;
  SetGain(series, gain);
}

void SeriesListBox::PickColor(gdSeries& series) {
  std::uint32_t color = series.Color();
  if (!Ui().ColorDialog(color, cdlCCRGBInit | cdlCCFullOpen)) return;
  series.SetColor(color);
  series.SetDirty(true);
  if (colorChanged_) colorChanged_(series);
}

void SeriesListBox::DblClick() {
  if (!enabled_ || HeldDataControl() == nullptr) return;
  LayoutSeriesList();
  const std::shared_ptr<gdSeries> s = SeriesAt(listIndex_);
  if (s == nullptr || s->ReadOnly()) return;
  if (s->NumDVDs() >= 1) {
    OpenValueNameEditor(s);
  } else if (!s->BitPram()) {
    OpenNumberEditor(s);
  } else {
    // The series keeps its value here: the host shows what the drive holds once it has written it.
    const double toggled = s->MostRecentValue() == 0.0 ? 1.0 : 0.0;
    if (valueChanged_) valueChanged_(*s, toggled);
    s->SetDirty(true);
    Refresh();
  }
}

void SeriesListBox::OpenNumberEditor(const std::shared_ptr<gdSeries>& series) {
  editor_ = {};
  editor_.Text = FormatNumber(series->MostRecentValue(), series->FormatString());
  PlaceEditor(series, SeriesListEditorKind::Number);
}

void SeriesListBox::OpenValueNameEditor(const std::shared_ptr<gdSeries>& series) {
  editor_ = {};
  const double current = RoundHalfEvenValue(series->MostRecentValue());
  for (int i = 0; i <= series->NumDVDs(); ++i) {
    const std::string name = series->DVD(static_cast<std::int16_t>(i));
    if (name.empty()) continue;
    if (i == current) editor_.Chosen = static_cast<int>(editor_.Entries.size());
    editor_.Entries.push_back(name);
    editor_.EntryIndexes.push_back(i);
  }
  PlaceEditor(series, SeriesListEditorKind::ValueName);
}

void SeriesListBox::PlaceEditor(const std::shared_ptr<gdSeries>& series, SeriesListEditorKind kind) {
  editor_.Open = kind;
  editor_.Series = series;
  editor_.Left = static_cast<float>(valueLeft_);
  editor_.Top = static_cast<float>((listIndex_ - 1) * rowHeight_ - scrollTop_ + HeaderHeight());
  editor_.Width = static_cast<float>(editorWidth_);
  TellLayout();
  if (host_.FocusEditor) host_.FocusEditor();
}

void SeriesListBox::EditorKeyDown(int keyCode) {
  if (keyCode == vbKeyReturn) {
    if (editor_.Open == SeriesListEditorKind::None) {
      DblClick();
      return;
    }
    ignoreEnterKeyUp_ = true;
    CommitListEdit();
  } else if (keyCode == vbKeyEscape) {
    CancelListEdit();
  }
}

void SeriesListBox::CommitListEdit() {
  if (editor_.Open == SeriesListEditorKind::None) return;
  const SeriesListEditor edit = std::move(editor_);
  editor_ = {};
  TellLayout();
  // Back to the list, so that the release of the Enter that committed reaches it and is swallowed.
  FocusCanvas();
  // The rows may have changed while the editor stayed open: a value meant for one parameter
  // never goes to another.
  const std::shared_ptr<gdSeries> series = edit.Series.lock();
  if (!StillHeld(series)) return;
  double value = 0.0;
  if (edit.Open == SeriesListEditorKind::ValueName) {
    if (edit.Chosen < 0 || edit.Chosen >= static_cast<int>(edit.EntryIndexes.size())) return;
    value = edit.EntryIndexes[static_cast<std::size_t>(edit.Chosen)];
  } else {
    // Never send a running drive a number the user did not type.
    if (!TypedNumberValue(edit.Text)) {
      if (valueRefused_) valueRefused_();
      return;
    }
    value = LeadingNumber(edit.Text);
  }
  if (valueChanged_) valueChanged_(*series, value);
}

void SeriesListBox::CancelListEdit() {
  if (editor_.Open == SeriesListEditorKind::None) return;
  editor_ = {};
  TellLayout();
}

}  // namespace quendrel
