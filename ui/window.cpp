#include "ui/window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include "ui/dc.h"
#include "ui/window_accessible.h"

TWindow::TWindow(QWidget* parent) : QWidget(parent) {
  TWindowAccessible::Install();
}

TWindow::~TWindow() = default;

void TWindow::Create() {
  if (setUp_) return;
  setUp_ = true;
  SetupWindow();
}

void TWindow::SetBorder(bool on) {
  border_ = on;
  LayoutScrollBars();
  update();
}

void TWindow::SetScrollBars(bool horizontal, bool vertical) {
  auto make = [this](QScrollBar*& bar, bool wanted, Qt::Orientation orientation) {
    if (wanted && !bar) {
      bar = new QScrollBar(orientation, this);
      connect(bar, &QScrollBar::valueChanged, this, [this] {
        if (!scroller_) return;
        scroller_->ScrollTo(hBar_ ? hBar_->value() : scroller_->XPos(),
                            vBar_ ? vBar_->value() : scroller_->YPos());
      });
    } else if (!wanted && bar) {
      delete bar;
      bar = nullptr;
    }
  };
  make(hBar_, horizontal, Qt::Horizontal);
  make(vBar_, vertical, Qt::Vertical);
  LayoutScrollBars();
  SyncScrollBars();
}

TScroller& TWindow::AttachScroller(int xUnit, int yUnit, int xRange, int yRange) {
  scroller_ = std::make_unique<TScroller>(xUnit, yUnit, xRange, yRange);
  scroller_->SetOnChange([this] {
    SyncScrollBars();
    update();
  });
  SyncScrollBars();
  return *scroller_;
}

QPoint TWindow::ClientOrigin() const {
  return {BorderWidth(), BorderWidth()};
}

QRect TWindow::ClientRect() const {
  int w = width() - 2 * BorderWidth() - (vBar_ ? vBar_->width() : 0);
  int h = height() - 2 * BorderWidth() - (hBar_ ? hBar_->height() : 0);
  return {0, 0, std::max(0, w), std::max(0, h)};
}

void TWindow::SetBackgroundColor(const QColor& color) {
  background_ = color;
  update();
}

QColor TWindow::BackgroundColor() const {
  return background_.isValid() ? background_ : palette().color(QPalette::Base);
}

void TWindow::CreateCaret(int width, int height) {
  caretSize_ = QSize(std::max(0, width), std::max(0, height));
  caretShown_ = false;
}

void TWindow::DestroyCaret() {
  if (IsCaretShown()) update();
  caretSize_ = QSize();
  caretShown_ = false;
}

void TWindow::SetCaretPos(int x, int y) {
  QPoint old = caretPos_;
  caretPos_ = {x, y};
  UpdateCaret(old);
}

void TWindow::ShowCaret() {
  if (!HasCaret()) return;
  caretShown_ = true;
  UpdateCaret(caretPos_);
}

void TWindow::HideCaret() {
  if (!IsCaretShown()) return;
  UpdateCaret(caretPos_);
  caretShown_ = false;
}

void TWindow::UpdateCaret(const QPoint& oldPos) {
  // A paint that moves the caret draws it at its new place itself; asking for another paint
  // from inside paintEvent would repaint forever.
  if (painting_ || !HasCaret()) return;
  update(QRect(ClientOrigin() + oldPos, caretSize_));
  update(QRect(ClientOrigin() + caretPos_, caretSize_));
}

void TWindow::Paint(TDC&) {}

void TWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  QRect client = ClientRect().translated(ClientOrigin());
  painter.fillRect(client, BackgroundColor());
  if (border_) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  painter.save();
  painter.setClipRect(client);
  painter.translate(ClientOrigin() - (scroller_ ? scroller_->Offset() : QPoint()));
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::Text));
  painting_ = true;
  {
    TDC dc(painter);
    // Text and lines in the palette's colours, so that a dark theme is followed.
    dc.SetTextColor(palette().color(QPalette::Text));
    dc.SelectPen(palette().color(QPalette::Text), 1);
    Paint(dc);
  }
  painting_ = false;
  painter.restore();
  if (IsCaretShown()) {
    painter.setClipRect(client);
    painter.fillRect(QRect(ClientOrigin() + caretPos_, caretSize_),
                     palette().color(QPalette::Text));
  }
  TellSpokenText();
}

void TWindow::TellSpokenText() {
  // Whatever changed what is drawn (a key, coaching, a new score) repaints; the paint is where
  // the words are sure to be the new ones.
  std::string now = SpokenText();
  if (now == spoken_) return;
  const QString before = QString::fromStdString(spoken_);
  spoken_ = std::move(now);
  if (!QAccessible::isActive()) return;
  QAccessibleTextUpdateEvent changed(this, 0, before, QString::fromStdString(spoken_));
  QAccessible::updateAccessibility(&changed);
  if (SpokenRole() == QAccessible::StaticText && accessibleName().isEmpty()) {
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
  }
}

void TWindow::showEvent(QShowEvent* event) {
  Create();
  QWidget::showEvent(event);
}

void TWindow::resizeEvent(QResizeEvent* event) {
  LayoutScrollBars();
  SyncScrollBars();
  QWidget::resizeEvent(event);
}

void TWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) EvLButtonDown(ToClient(event->position().toPoint()));
  QWidget::mousePressEvent(event);
}

void TWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) EvLButtonUp(ToClient(event->position().toPoint()));
  QWidget::mouseReleaseEvent(event);
}

void TWindow::mouseMoveEvent(QMouseEvent* event) {
  EvMouseMove(ToClient(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void TWindow::LayoutScrollBars() {
  int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  int b = BorderWidth();
  int innerW = width() - 2 * b;
  int innerH = height() - 2 * b;
  if (hBar_) hBar_->setGeometry(b, height() - b - extent, innerW - (vBar_ ? extent : 0), extent);
  if (vBar_) vBar_->setGeometry(width() - b - extent, b, extent, innerH - (hBar_ ? extent : 0));
}

void TWindow::SyncScrollBars() {
  QRect client = ClientRect();
  auto sync = [](QScrollBar* bar, int range, int pos, int page) {
    if (!bar) return;
    QSignalBlocker block(bar);
    bar->setRange(0, range);
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(1);
    bar->setValue(pos);
  };
  if (!scroller_) {
    sync(hBar_, 0, 0, 1);
    sync(vBar_, 0, 0, 1);
    return;
  }
  sync(hBar_, scroller_->XRange(), scroller_->XPos(), client.width() / scroller_->XUnit());
  sync(vBar_, scroller_->YRange(), scroller_->YPos(), client.height() / scroller_->YUnit());
}
