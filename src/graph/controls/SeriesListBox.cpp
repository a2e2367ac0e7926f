#include "graph/controls/SeriesListBox.h"

#include <algorithm>

#include "foundation/text/NumberText.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "platform/ImageList.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

constexpr PropertyKey<std::string> kDataControlKey{"DataControl", ""};
constexpr PropertyKey<std::int32_t> kListIndexKey{"ListIndex", -1};
constexpr PropertyKey<bool> kShowHeaderKey{"ShowHeader", false};

}  // namespace

SeriesListBox::SeriesListBox(FormControls* form, std::string name) : form_(form), name_(std::move(name)) {
  if (form_ != nullptr) form_->Add(*this);
}

SeriesListBox::~SeriesListBox() {
  if (form_ != nullptr) form_->Remove(*this);
}

void SeriesListBox::SetIcons(bool useIcons, const ImageList* images) {
  useIcons_ = useIcons && images != nullptr;
  images_ = images;
}

void SeriesListBox::SetListIndex(std::int32_t index) {
  listIndex_ = index;
  Changed();
}

void SeriesListBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}

void SeriesListBox::SetShowHeader(bool show) {
  showHeader_ = show;
  Changed();
}

GraphDataControl* SeriesListBox::HeldDataControl() const {
  if (form_ == nullptr || boundName_.empty()) return nullptr;
  // The name must match exactly, as the list's own setting is case-sensitive.
  for (FormControl* control : form_->Controls()) {
    if (control->Kind() == FormControlKind::GraphDataControl && control->Name() == boundName_) {
      return static_cast<GraphDataControl*>(control);
    }
  }
  return nullptr;
}

std::string SeriesListBox::DataControl() const {
  const GraphDataControl* control = HeldDataControl();
  return control == nullptr ? std::string() : control->Name();
}

void SeriesListBox::SetDataControl(const std::string& name) {
  boundName_ = name;
  if (HeldDataControl() == nullptr) boundName_.clear();
  Changed();
}

void SeriesListBox::Changed() {
  if (settingsChanged_) settingsChanged_();
  Refresh();
}

void SeriesListBox::Refresh() {
  UpdateListScrollBar();
  PaintSeriesList(false);
}

std::int32_t SeriesListBox::SeriesCount() const {
  const GraphDataControl* control = HeldDataControl();
  return control == nullptr ? 0 : static_cast<std::int32_t>(control->SeriesSet().size());
}

std::shared_ptr<gdSeries> SeriesListBox::SeriesAt(std::int32_t row) const {
  const GraphDataControl* control = HeldDataControl();
  if (control == nullptr) return nullptr;
  const SeriesCollection series = control->SeriesSet();
  if (row < 1 || row > static_cast<std::int32_t>(series.size())) return nullptr;
  return series[static_cast<std::size_t>(row - 1)];
}

bool SeriesListBox::StillHeld(const std::shared_ptr<gdSeries>& series) const {
  const GraphDataControl* control = HeldDataControl();
  if (control == nullptr || series == nullptr) return false;
  const SeriesCollection held = control->SeriesSet();
  return std::find(held.begin(), held.end(), series) != held.end();
}

float SeriesListBox::TextWidth(const std::string& text) const {
  return canvas_ == nullptr ? 0.0f : canvas_->TextWidth(text);
}

float SeriesListBox::TextHeight(const std::string& text) const {
  return canvas_ == nullptr ? 0.0f : canvas_->TextHeight(text);
}

void SeriesListBox::LayoutSeriesList() {
  swatchWidth_ = RoundHalfEven(Px(16));
  swatchHeight_ = RoundHalfEven(Py(12));
  padX_ = RoundHalfEven(Px(2));
  padY_ = RoundHalfEven(Py(2));
  rowHeight_ = swatchHeight_ + 2 * padX_;
  nameLeft_ = swatchWidth_ + 2 * padX_;
  if (useIcons_) {
    nameLeft_ = RoundHalfEven(nameLeft_ + 2 * padX_ + Px(static_cast<float>(images_->ImageWidth())));
  }
  valueLeft_ = RoundHalfEven(nameLeft_ + TextWidth("M88P88: MMMMMMMMMMMMMMMM") + Px(5));
  if (HeldDataControl() == nullptr) return;
  const double scrollable =
      static_cast<double>(rowHeight_) * SeriesCount() + rowHeight_ - static_cast<double>(height_);
  scrollTop_ = std::max(0, RoundHalfEven(scrollable * (scrollBar_.Value / 100.0)));
  const std::int32_t w = RoundHalfEven(width_ - valueLeft_ - TextWidth("Graph & Log--u--") -
                                       TextWidth("x0000--u--") - Px(10));
  editorWidth_ = w >= 1 ? w : RoundHalfEven(Px(100));
}

void SeriesListBox::UpdateListScrollBar() {
  if (HeldDataControl() == nullptr) {
    scrollBar_.Shown = false;
  } else {
    LayoutSeriesList();
    scrollBar_.Shown = height_ < static_cast<double>(rowHeight_) * SeriesCount();
  }
  canvasWidth_ = scrollBar_.Shown ? width_ - scrollBarWidth_ : width_;
  LayoutSeriesList();
  TellLayout();
}

// The action and gain columns are placed from the canvas's right edge, which moves left by the scroll
// bar's width when it shows; the value column between them and the name keeps room for "8888.8".
std::int32_t SeriesListBox::MinWidth() {
  LayoutSeriesList();
  return RoundHalfEven(valueLeft_ + TextWidth("8888.8") + TextWidth("Graph & Log--u--") + TextWidth("x0000--u--") +
                       Px(15) + scrollBarWidth_);
}

void SeriesListBox::Resize(float width, float height) {
  width_ = std::max(width, kMinimumWidth);
  height_ = height;
  scrollBar_.Left = width_ - scrollBarWidth_ - Px(4);
  scrollBar_.Height = height_ - Py(4);
  UpdateListScrollBar();
}

void SeriesListBox::ScrollBarChanged(int value) {
  scrollBar_.Value = std::clamp(value, scrollBar_.Min, scrollBar_.Max);
  Refresh();
}

void SeriesListBox::KeyUp(int keyCode) {
  if (!enabled_) return;
  const std::int32_t count = SeriesCount();
  const bool swallow = ignoreEnterKeyUp_;
  ignoreEnterKeyUp_ = false;
  if (count < 1) return;
  const std::int32_t before = listIndex_;
  const std::int32_t page = rowHeight_ > 0 ? RoundHalfEven(height_ / rowHeight_) : 0;
  switch (keyCode) {
    case vbKeyUp:
      if (listIndex_ >= 2) --listIndex_;
      break;
    case vbKeyDown:
      if (listIndex_ < count) ++listIndex_;
      break;
    case vbKeyHome: listIndex_ = 1; break;
    case vbKeyEnd: listIndex_ = count; break;
    case vbKeyPageUp: listIndex_ = std::max(1, listIndex_ - page); break;
    case vbKeyPageDown: listIndex_ = std::min(count, listIndex_ + page); break;
    case vbKeyReturn:
      if (!swallow) DblClick();
      break;
    default: break;
  }
  if (listIndex_ != before) Refresh();
}

void SeriesListBox::EnterFocus() {
  hasFocus_ = true;
  Refresh();
}

void SeriesListBox::ExitFocus() {
  hasFocus_ = false;
  // The value-name editor stays, as a list's drop-down may be looked at from elsewhere.
  if (editor_.Open == SeriesListEditorKind::Number) CancelListEdit();
  Refresh();
}

void SeriesListBox::InitProperties() {
  boundName_.clear();
  showHeader_ = false;
}

void SeriesListBox::ReadProperties(const PropertyBag& bag) {
  SetDataControl(bag.Read(kDataControlKey));
  listIndex_ = bag.Read(kListIndexKey);
  showHeader_ = bag.Read(kShowHeaderKey);
}

void SeriesListBox::WriteProperties(PropertyBag& bag) const {
  bag.Write(kDataControlKey, DataControl());
  bag.Write(kListIndexKey, listIndex_);
  bag.Write(kShowHeaderKey, showHeader_);
}

void SeriesListBox::TellLayout() const {
  if (host_.LayoutChanged) host_.LayoutChanged();
}

void SeriesListBox::TellDrawn() const {
  if (host_.Drawn) host_.Drawn();
}

void SeriesListBox::FocusCanvas() const {
  if (host_.FocusCanvas) host_.FocusCanvas();
}

}  // namespace quendrel
