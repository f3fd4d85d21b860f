#pragma once
#include <QAccessible>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <memory>
#include <string>

#include "ui/command_target.h"
#include "ui/scroller.h"

class QScrollBar;
class TDC;

// A window: a QWidget with a command table, painting through a TDC, an optional one-pixel
// border, optional scroll bars driven by a TScroller, and a caret it draws itself.
// Coordinates given to Paint, the mouse hooks and the caret are client coordinates: inside the
// border and the scroll bars, with Paint's origin moved by the scroller's offset.
class TWindow : public QWidget, public TCommandTarget {
  Q_OBJECT

 public:
  explicit TWindow(QWidget* parent = nullptr);
  ~TWindow() override;

  // Runs SetupWindow once. Called on first show, by a dialog's setup for its child windows and
  // by a frame for its client; callers may run it earlier.
  void Create();
  bool IsSetUp() const { return setUp_; }

  // The anchor of the help page for this window when it is the frame's client; empty for the
  // help index.
  virtual std::string HelpTopic() const { return {}; }

  void Invalidate() { update(); }
  // Places the window, border included, in its parent's coordinates (pixels).
  void MoveWindow(int x, int y, int w, int h) { setGeometry(x, y, w, h); }

  void SetBorder(bool on);
  bool HasBorder() const { return border_; }
  void SetScrollBars(bool horizontal, bool vertical);
  // Gives the window a scroller; scroll bars shown follow it.
  TScroller& AttachScroller(int xUnit, int yUnit, int xRange, int yRange);
  TScroller* Scroller() const { return scroller_.get(); }
  QScrollBar* HorizontalScrollBar() const { return hBar_; }
  QScrollBar* VerticalScrollBar() const { return vBar_; }

  // The client area: origin (0, 0), size without border and scroll bars.
  QRect ClientRect() const;
  // Where the client area's origin lies in widget coordinates.
  QPoint ClientOrigin() const;
  QPoint ToClient(const QPoint& widgetPoint) const { return widgetPoint - ClientOrigin(); }

  // The client area's colour; until one is set, the palette's base (white in a light theme,
  // dark in a dark one).
  void SetBackgroundColor(const QColor& color);
  QColor BackgroundColor() const;

  // The caret: a filled rectangle at a client position. Created hidden.
  void CreateCaret(int width, int height);
  void DestroyCaret();
  void SetCaretPos(int x, int y);
  void ShowCaret();
  void HideCaret();
  bool HasCaret() const { return caretSize_.isValid(); }
  bool IsCaretShown() const { return HasCaret() && caretShown_; }
  QPoint CaretPos() const { return caretPos_; }
  QSize CaretSize() const { return caretSize_; }

  // What the window draws, in words, for screen readers, and the role they are told it has.
  // A paint that shows other words than the last one tells them again.
  virtual std::string SpokenText() const { return {}; }
  virtual QAccessible::Role SpokenRole() const { return QAccessible::Client; }

 protected:
  virtual void SetupWindow() {}
  virtual void Paint(TDC& dc);
  virtual void EvLButtonDown(const QPoint& /*client*/) {}
  virtual void EvLButtonUp(const QPoint& /*client*/) {}
  virtual void EvMouseMove(const QPoint& /*client*/) {}

  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int BorderWidth() const { return border_ ? 1 : 0; }
  void LayoutScrollBars();
  void SyncScrollBars();
  void UpdateCaret(const QPoint& oldPos);
  void TellSpokenText();

  bool setUp_ = false;
  bool border_ = false;
  bool painting_ = false;
  QColor background_;  // invalid: the palette's base
  QScrollBar* hBar_ = nullptr;
  QScrollBar* vBar_ = nullptr;
  std::unique_ptr<TScroller> scroller_;
  QPoint caretPos_;
  QSize caretSize_;
  bool caretShown_ = false;
  std::string spoken_;  // the words screen readers were last told
};
