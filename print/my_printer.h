#pragma once
#include "ui/printer.h"

// The editor's printer: a quiz job shows no progress window and cannot be aborted once
// started, so that a quiz is never printed in part.
class TMyPrinter : public TPrinter {
 protected:
  bool ShowsProgress() const override { return false; }
};
