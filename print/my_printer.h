#pragma once
#include "ui/printer.h"

// The editor's printer: the framework's TPrinter as it is, named for the editor, which prints
// its quizzes with it. Like every TPrinter job, a quiz shows no progress window and offers no
// way to stop it once it has begun, so a click never leaves a quiz printed in part; an error
// is told when the job ends.
class TMyPrinter : public TPrinter {};
