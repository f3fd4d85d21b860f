#include "coach/charge_box.h"

#include <QEvent>

#include "coach/rules/charge_choice.h"
#include "keypad/answer_window.h"
#include "keypad/blank_window.h"
#include "ui/combo_box.h"

TChargeBox::TChargeBox(TComboBox* box, TFormula* species, TBlankWindow* speciesPanel,
                       TAnswerWindow* equationWindow)
    : box_(box), species_(species), speciesPanel_(speciesPanel), equationWindow_(equationWindow) {
  box_->SetTextLimit(9);
  connect(box_, &QComboBox::currentIndexChanged, this, &TChargeBox::Apply);
  box_->installEventFilter(this);
}

void TChargeBox::Apply() {
  const std::string choice = box_->GetText();
  if (choice.empty() || choice == "0" || species_->symbols.empty()) return;
  // The species was copied from the target, so their trailing charges sit at the same places.
  ApplyChargeChoice(*species_, choice);
  if (target_) ApplyChargeChoice(*target_, choice);
  speciesPanel_->RefreshLines();
  speciesPanel_->Invalidate();
  equationWindow_->Invalidate();
}

bool TChargeBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == box_ && event->type() == QEvent::Paint) Apply();
  return QObject::eventFilter(watched, event);
}
