#pragma once
#include <QObject>

class QWidget;

// Draws a ring inside the control that has the keyboard focus, after the control has drawn
// itself, in the palette's highlight kept in sight on dark schemes. Styles show the focus
// faintly or only after Tab was pressed, and some draw it exactly as they draw the default
// button; this ring looks like neither, so that a student always sees where a key will go.
// One ring serves every control it watches.
class TFocusRing : public QObject {
  Q_OBJECT

 public:
  explicit TFocusRing(QObject* parent) : QObject(parent) {}

  // Draws the ring on control whenever it has the focus.
  void Watch(QWidget* control);

  // Pixels in from the control's edge where the ring is drawn, and its width.
  static constexpr int kInset = 3;
  static constexpr int kWidth = 2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static void PaintRing(QWidget& control);

  bool painting_ = false;
};
