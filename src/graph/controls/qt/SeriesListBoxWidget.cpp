#include "graph/controls/qt/SeriesListBoxWidget.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>

#include "platform/KeyCodes.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/PictureBox.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtInput.h"

namespace quendrel {
namespace {

int Px(float twips) { return Canvas::ToPixel(twips); }

float TwipsX(qreal pixels) { return Canvas::PixelsToTwipsX(static_cast<float>(pixels)); }
float TwipsY(qreal pixels) { return Canvas::PixelsToTwipsY(static_cast<float>(pixels)); }

}  // namespace

SeriesListBoxWidget::SeriesListBoxWidget(SeriesListBox& list, QWidget* parent) : QWidget(parent), list_(list) {
  canvas_ = new PictureBox(this);
  canvas_->setFocusPolicy(Qt::StrongFocus);
  canvas_->installEventFilter(this);
  vscrollbar_ = new QScrollBar(Qt::Vertical, this);
  vscrollbar_->setFocusPolicy(Qt::NoFocus);
  tbEditValue_ = new QLineEdit(this);
  tbEditValue_->hide();
  tbEditValue_->installEventFilter(this);
  cbEditString_ = new QComboBox(this);
  cbEditString_->hide();
  cbEditString_->installEventFilter(this);
  canvas_->SetPaintHandler([this](Canvas&) { list_.PaintSeriesList(false); });

  list_.SetCanvas(&canvas_->GetCanvas());
  list_.SetScrollBarWidth(Canvas::PixelsToTwipsX(static_cast<float>(vscrollbar_->sizeHint().width())));
  SeriesListHost host;
  host.LayoutChanged = [this] { FollowCore(); };
  host.FocusCanvas = [this] { canvas_->setFocus(Qt::OtherFocusReason); };
  host.FocusEditor = [this] {
    if (list_.Editor().Open == SeriesListEditorKind::Number) {
      tbEditValue_->setFocus(Qt::OtherFocusReason);
      tbEditValue_->selectAll();
    } else {
      cbEditString_->setFocus(Qt::OtherFocusReason);
    }
  };
  host.ToScreen = [this](float x, float y) {
    const QPoint at = canvas_->mapToGlobal(QPoint(Px(x), Px(y)));
    return ScreenPoint{at.x(), at.y()};
  };
  list_.SetHost(std::move(host));

  const auto guarded = [this](auto action) {
    return [this, action](auto value) {
      if (!syncing_) GuardSlot([&] { action(value); });
    };
  };
  connections_.push_back(connect(vscrollbar_, &QScrollBar::valueChanged, this,
                                 guarded([this](int value) { list_.ScrollBarChanged(value); })));
  connections_.push_back(connect(tbEditValue_, &QLineEdit::textChanged, this, guarded([this](const QString& text) {
                                   list_.EditorTextChanged(FromQString(text));
                                 })));
  connections_.push_back(connect(cbEditString_, &QComboBox::currentIndexChanged, this,
                                 guarded([this](int index) { list_.EditorChoiceChanged(index); })));
  connections_.push_back(connect(qApp, &QApplication::focusChanged, this,
                                 [this](QWidget* from, QWidget* to) { GuardSlot([&] { FocusMoved(from, to); }); }));
  // The core lays the list out at least this wide.
  setMinimumWidth(Px(SeriesListBox::kMinimumWidth));
  resize(minimumWidth(), 200);
}

SeriesListBoxWidget::~SeriesListBoxWidget() {
  for (const QMetaObject::Connection& connection : connections_) disconnect(connection);
  canvas_->removeEventFilter(this);
  tbEditValue_->removeEventFilter(this);
  cbEditString_->removeEventFilter(this);
  list_.SetHost({});
  list_.SetCanvas(nullptr);
}

QWidget* SeriesListBoxWidget::CanvasWidget() const { return canvas_; }

const QImage& SeriesListBoxWidget::Picture() const { return canvas_->Picture(); }

void SeriesListBoxWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  GuardSlot([this] { list_.Resize(TwipsX(width()), TwipsY(height())); });
}

void SeriesListBoxWidget::FollowCore() {
  syncing_ = true;
  // Qt then keeps the mouse and keys away and moves the focus out, as the core expects.
  setEnabled(list_.Enabled());
  const SeriesListScrollBar& bar = list_.ScrollBar();
  vscrollbar_->setRange(bar.Min, bar.Max);
  vscrollbar_->setSingleStep(bar.SmallChange);
  vscrollbar_->setPageStep(bar.LargeChange);
  vscrollbar_->setValue(bar.Value);
  vscrollbar_->setGeometry(Px(bar.Left), 0, vscrollbar_->sizeHint().width(), Px(bar.Height));
  vscrollbar_->setVisible(bar.Shown);
  canvas_->setGeometry(0, 0, Px(list_.CanvasWidth()), height());
  syncing_ = false;
  FollowEditors();
}

void SeriesListBoxWidget::FollowEditors() {
  const SeriesListEditor& editor = list_.Editor();
  syncing_ = true;
  if (FromQString(tbEditValue_->text()) != editor.Text) tbEditValue_->setText(ToQString(editor.Text));
  const QRect place(Px(editor.Left), Px(editor.Top), Px(editor.Width), tbEditValue_->sizeHint().height());
  tbEditValue_->setGeometry(place);
  // Refreshes come with every scan; an open drop-down is rebuilt only when its entries change.
  bool same = cbEditString_->count() == static_cast<int>(editor.Entries.size());
  for (int i = 0; same && i < cbEditString_->count(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    same = FromQString(cbEditString_->itemText(i)) == editor.Entries[at] &&
           cbEditString_->itemData(i).toInt() == editor.EntryIndexes[at];
  }
  if (!same) {
    cbEditString_->clear();
    for (std::size_t i = 0; i < editor.Entries.size(); ++i) {
      // Each entry keeps the value it stands for, as empty names leave gaps.
      cbEditString_->addItem(ToQString(editor.Entries[i]), editor.EntryIndexes[i]);
    }
  }
  if (cbEditString_->currentIndex() != editor.Chosen) cbEditString_->setCurrentIndex(editor.Chosen);
  cbEditString_->setGeometry(place.x(), place.y(), place.width(), cbEditString_->sizeHint().height());
  syncing_ = false;
  const bool number = editor.Open == SeriesListEditorKind::Number;
  const bool names = editor.Open == SeriesListEditorKind::ValueName;
  // A focused editor that goes hands the focus to the canvas rather than out of the list.
  if ((!number && tbEditValue_->hasFocus()) || (!names && cbEditString_->hasFocus())) {
    canvas_->setFocus(Qt::OtherFocusReason);
  }
  const QPointer<SeriesListBoxWidget> alive(this);
  tbEditValue_->setVisible(number);
  if (!alive) return;
  cbEditString_->setVisible(names);
}

bool SeriesListBoxWidget::Contains(const QWidget* widget) const {
  return widget != nullptr && (widget == this || isAncestorOf(widget) || cbEditString_->view()->isAncestorOf(widget));
}

void SeriesListBoxWidget::FocusMoved(QWidget* from, QWidget* to) {
  const bool wasInside = Contains(from);
  const bool isInside = Contains(to);
  if (!wasInside && isInside) list_.EnterFocus();
  if (wasInside && !isInside && to != nullptr) list_.ExitFocus();
}

bool SeriesListBoxWidget::eventFilter(QObject* watched, QEvent* event) {
  bool consumed = false;
  if (watched == canvas_) {
    GuardSlot([&] { consumed = CanvasEvent(event); });
    return consumed;
  }
  if (watched == tbEditValue_ || watched == cbEditString_) {
    GuardSlot([&] { consumed = EditorEvent(event); });
    return consumed;
  }
  return QWidget::eventFilter(watched, event);
}

bool SeriesListBoxWidget::CanvasEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const int button = ButtonsFromQt(event->type() == QEvent::MouseMove ? mouse->buttons()
                                                                          : Qt::MouseButtons(mouse->button()));
      const int shift = ShiftStateFromQt(mouse->modifiers());
      const float x = TwipsX(mouse->position().x());
      const float y = TwipsY(mouse->position().y());
      if (event->type() == QEvent::MouseButtonPress) list_.MouseDown(button, shift, x, y);
      if (event->type() == QEvent::MouseMove) list_.MouseMove(button, shift, x, y);
      if (event->type() == QEvent::MouseButtonRelease) list_.MouseUp(button, shift, x, y);
      return false;
    }
    case QEvent::MouseButtonDblClick:
      list_.DblClick();
      return true;
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->isAutoRepeat()) return false;
      list_.KeyUp(KeyCodeFromQt(key->key()));
      return true;
    }
    default:
      return false;
  }
}

bool SeriesListBoxWidget::EditorEvent(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int keyCode = KeyCodeFromQt(static_cast<QKeyEvent*>(event)->key());
  if (keyCode != vbKeyReturn && keyCode != vbKeyEscape) return false;
  list_.EditorKeyDown(keyCode);
  return true;
}

}  // namespace quendrel
