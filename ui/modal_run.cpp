#include "ui/modal_run.h"

#include <utility>

#include "ui/dialog.h"

namespace {

TModalRunner& InstalledRunner() {
  static TModalRunner runner;
  return runner;
}

}  // namespace

TModalRunner SetModalRunner(TModalRunner runner) {
  return std::exchange(InstalledRunner(), std::move(runner));
}

int RunModal(TDialog& dialog) {
  TModalRunner runner = InstalledRunner();
  return runner ? runner(dialog) : dialog.exec();
}
