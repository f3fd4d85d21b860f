#pragma once
#include <QObject>

class TAnswerWindow;
class TBlankWindow;
class TComboBox;
class TFormula;

// Puts the charge picked in a list on one species of a dissociated compound, and on the same
// substance inside the scratch equation. It attaches to a list the dialog already made.
// Applying is idempotent, so it runs whenever the pick changes and whenever the list repaints.
class TChargeBox : public QObject {
  Q_OBJECT

 public:
  TChargeBox(TComboBox* box, TFormula* species, TBlankWindow* speciesPanel,
             TAnswerWindow* equationWindow);

  TComboBox* Box() const { return box_; }
  // The species' substance inside the scratch equation; none until the compound is split.
  void SetTarget(TFormula* target) { target_ = target; }
  TFormula* Target() const { return target_; }

  // "0" or a species not split off yet changes nothing.
  void Apply();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TComboBox* box_;
  TFormula* species_;
  TBlankWindow* speciesPanel_;
  TAnswerWindow* equationWindow_;
  TFormula* target_ = nullptr;
};
