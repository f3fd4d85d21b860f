#include "ui/window_accessible.h"

#include <algorithm>

#include "ui/window.h"

namespace {

QAccessibleInterface* DrawnWindowAccessible(const QString&, QObject* object) {
  if (auto* window = qobject_cast<TWindow*>(object)) return new TWindowAccessible(window);
  return nullptr;
}

}  // namespace

TWindowAccessible::TWindowAccessible(TWindow* window) : QAccessibleWidget(window) {}

void TWindowAccessible::Install() {
  static const bool installed = [] {
    QAccessible::installFactory(DrawnWindowAccessible);
    return true;
  }();
  (void)installed;
}

TWindow* TWindowAccessible::Window() const {
  return static_cast<TWindow*>(widget());
}

QString TWindowAccessible::Spoken() const {
  return QString::fromStdString(Window()->SpokenText());
}

QAccessible::Role TWindowAccessible::role() const {
  return Window()->SpokenRole();
}

QString TWindowAccessible::text(QAccessible::Text t) const {
  const QString own = QAccessibleWidget::text(t);
  // A drawn text with no name of its own is named by what it says, as a label is.
  if (t == QAccessible::Name && own.isEmpty() && role() == QAccessible::StaticText) return Spoken();
  if (t == QAccessible::Value && role() == QAccessible::EditableText) return Spoken();
  return own;
}

void* TWindowAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString TWindowAccessible::text(int startOffset, int endOffset) const {
  const QString spoken = Spoken();
  if (endOffset < 0 || endOffset > spoken.size()) endOffset = static_cast<int>(spoken.size());
  startOffset = std::clamp(startOffset, 0, endOffset);
  return spoken.mid(startOffset, endOffset - startOffset);
}

int TWindowAccessible::characterCount() const {
  return static_cast<int>(Spoken().size());
}

int TWindowAccessible::cursorPosition() const {
  // The keypad types at the end only.
  return Window()->HasCaret() ? characterCount() : 0;
}

QString TWindowAccessible::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

void TWindowAccessible::selection(int, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
}
