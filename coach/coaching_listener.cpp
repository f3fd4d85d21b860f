#include "coach/coaching_listener.h"

#include "model/charge_text.h"

TCoachingListener* TCoachingListener::current_ = nullptr;

void TCoachingListener::Tell(TStep step, const std::string& formula, const std::string& charge) {
  if (current_) current_->CoachingOpened(step, formula, charge);
}

void TCoachingListener::Tell(TStep step, const TFormula& substance) {
  if (!current_) return;
  const SplitText split = SplitFormulaText(substance);
  current_->CoachingOpened(step, split.formula, split.charge);
}

TCoachingListener::TScope::TScope(TCoachingListener& listener) : previous_(current_) {
  current_ = &listener;
}

TCoachingListener::TScope::~TScope() {
  current_ = previous_;
}
