#pragma once
#include <QFont>
#include <QPoint>
#include <string>

#include "ui/window.h"

class QEvent;

// A bordered window of text and formulas: drawn in the palette's text colour on its base
// colour, a few pixels in from the border, in the window's font without bold. Subclasses draw
// in PaintText from the text origin; every click and caret goes through TextOrigin too, so that
// what is hit is what is drawn.
class TStripWindow : public TWindow {
  Q_OBJECT

 public:
  explicit TStripWindow(QWidget* parent);

  static constexpr int kPadding = 4;

  // The font the strip draws and measures with.
  QFont TextFont() const;
  // Where the text's top-left corner lies in client coordinates (before scrolling): kPadding
  // across, and down as much of kPadding as the text's height leaves room for.
  QPoint TextOrigin() const;

  // A strip with a caret is where the student types; the others are read as text.
  QAccessible::Role SpokenRole() const override {
    return HasCaret() ? QAccessible::EditableText : QAccessible::StaticText;
  }

 protected:
  // Height of what PaintText draws, for h the height of "X".
  virtual int ContentHeight(int h) const { return h; }
  virtual void PaintText(TDC& dc) = 0;
  // Draws typed characters that wait for their key at x in the placeholder colour and moves x
  // past them.
  void PaintPending(TDC& dc, int& x, const std::string& pending) const;
  // Puts the caret at a point of the text (before scrolling is taken off).
  void SetTextCaretPos(int x, int y);

  void Paint(TDC& dc) final;
  // A strip that has the keyboard focus (typing goes there) shows it with a frame.
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FollowPalette();
};
