#pragma once
#include <QRadioButton>

// An auto radio button: checking one unchecks the others of its dialog.
class TRadioButton : public QRadioButton {
  Q_OBJECT

 public:
  explicit TRadioButton(QWidget* parent = nullptr) : QRadioButton(parent) {}
  TRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

  bool GetCheck() const { return isChecked(); }
  // Unlike a bare QRadioButton, this can also uncheck the checked button of the group, so a
  // dialog can open with no choice made.
  void SetCheck(bool checked);

 protected:
  // The style's circle, outlined so that it shows on a dark scheme too.
  void paintEvent(QPaintEvent* event) override;
};
