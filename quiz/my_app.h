#pragma once
#include "ui/application.h"

// The application "Tarvolin": the splash picture, then the main window with its shortcuts.
class TMyApp : public TApplication {
 public:
  TMyApp();

 protected:
  void InitMainWindow() override;
};
