#pragma once
#include <QAccessibleWidget>

class TWindow;

// What screen readers are told of a window that draws itself: the role it gives, its name (its
// accessible name, or for a plain text what it says) and its words through the text interface,
// so that a reader can read them by character, word or line as in a label.
class TWindowAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TWindowAccessible(TWindow* window);

  // Makes every TWindow answer with this interface; once is enough, more are harmless.
  static void Install();

  QAccessible::Role role() const override;
  QString text(QAccessible::Text t) const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  int cursorPosition() const override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;
  // Nothing in a drawn window is selected, and the caret stays where the keypad puts it.
  void selection(int, int* startOffset, int* endOffset) const override;
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}

 private:
  QString Spoken() const;
  TWindow* Window() const;
};
