#pragma once
#include <functional>

class TDialog;

// The seam behind TDialog::Execute: the installed runner runs a dialog modally and returns its
// result code. The real runner is QDialog::exec(). An empty runner restores the real one.
// Returns the runner that was installed before.
using TModalRunner = std::function<int(TDialog&)>;
TModalRunner SetModalRunner(TModalRunner runner);

// Runs the dialog through the installed runner.
int RunModal(TDialog& dialog);
