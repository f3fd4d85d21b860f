#pragma once
#include <optional>

#include "model/question_outcome.h"

class TEquationDialog;

// The answer dialog's Check: grades the student's equation once, and coaches while it is
// wrong (each coaching step grading again), with the success message when it ends right.
// Nothing when the dialog holds no equation.
std::optional<TCheckResult> CheckAnswer(TEquationDialog& dialog);
