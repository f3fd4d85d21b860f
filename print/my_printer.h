#pragma once
#include "ui/printer.h"

// The editor's printer. A job shows no progress window and cannot be aborted once started, as
// the framework's printer does, so that a quiz is never printed in part.
class TMyPrinter : public TPrinter {};
