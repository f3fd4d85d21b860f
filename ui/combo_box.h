#pragma once
#include <QComboBox>
#include <string>

// A combo box: a drop-down list to pick from, or with an edit field when editable.
class TComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TComboBox(QWidget* parent = nullptr);

  // The most characters the box holds; 0 for no limit. GetText never returns more.
  void SetTextLimit(int limit);
  int TextLimit() const { return textLimit_; }

  int AddString(const std::string& text);
  void ClearList() { clear(); }
  int GetCount() const { return count(); }
  int GetSelIndex() const { return currentIndex(); }
  void SetSelIndex(int index) { setCurrentIndex(index); }
  // Selects the item with exactly that text; an editable box takes any text. False when a
  // drop-down list has no such item.
  bool SetText(const std::string& text);
  std::string GetText() const;

 private:
  int textLimit_ = 0;
};
