#pragma once

class TEquationDialog;

// The answer dialog's Check: grades the student's equation, coaches while it is wrong, stores
// the score in the dialog's points and closes it, with 1 when the answer is right and with 7
// otherwise, after writing the student's final equation into the student table.
void CheckAnswer(TEquationDialog& dialog);
