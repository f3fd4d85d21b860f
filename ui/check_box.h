#pragma once
#include <QCheckBox>

// An auto check box of a dialog.
class TCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  explicit TCheckBox(QWidget* parent = nullptr) : QCheckBox(parent) {}
  TCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

  bool GetCheck() const { return isChecked(); }
  void SetCheck(bool checked);
  void Toggle() { toggle(); }

 protected:
  // The style's box, outlined so that it shows on a dark scheme too.
  void paintEvent(QPaintEvent* event) override;
};
